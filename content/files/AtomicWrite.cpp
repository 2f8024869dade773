#include "content/files/AtomicWrite.h"

#include "engine/files/TemporaryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zephrin {

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Not QSaveFile: its temporary is its file's name and seven bytes more, so
    // a name of 249 bytes or more could not be replaced.
    const std::optional<ReplacedFile> replaced = replacedFile(QFile::encodeName(path).toStdString());
    return replaced && writeReplacing(*replaced, data.constData(), std::size_t(data.size())) == 0;
}

} // namespace zephrin
