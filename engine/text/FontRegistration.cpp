#include "engine/text/FontRegistration.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

namespace zephrin {

namespace {

bool isFontFile(const QFileInfo& file)
{
    const QString extension = file.suffix();
    return extension.compare(QLatin1String("ttf"), Qt::CaseInsensitive) == 0
        || extension.compare(QLatin1String("otf"), Qt::CaseInsensitive) == 0;
}

} // namespace

void FontRegistration::registerOnce()
{
    const std::lock_guard lock(m_mutex);
    if (m_done)
        return;
    // Without the GUI application Qt has no font database to add to.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    m_done = true;

    QDirIterator entries(m_folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo file(entries.next());
        if (isFontFile(file))
            QFontDatabase::addApplicationFont(file.filePath());
    }
}

} // namespace zephrin
