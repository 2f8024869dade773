#include "content/files/AtomicWrite.h"

#include "engine/files/TemporaryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <unistd.h>

namespace zephrin {

bool writeAtomically(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // QSaveFile's temporary is its file's name and seven bytes more: a name of
    // 249 bytes or more could not be replaced.
    const std::filesystem::path target = QFile::encodeName(path).toStdString();
    const TemporaryFile temporary = createTemporaryBeside(target);
    if (temporary.descriptor < 0)
        return false;
    const bool written = writeAllAndSync(temporary.descriptor, data.constData(), size_t(data.size()));
    const bool closed = ::close(temporary.descriptor) == 0;
    if (written && closed && std::rename(temporary.path.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.path.c_str());
    return false;
}

} // namespace zephrin
