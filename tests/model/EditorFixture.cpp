#include "EditorFixture.h"

#include "support/GuiApplication.h"

#include <QImage>
#include <QPainter>

namespace zephrin::testing {

EditorTest::EditorTest()
{
    ensureGuiApplication();
    m_settings = std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    makeEditor();
}

void EditorTest::makeEditor()
{
    m_settings->sync();
    editor.reset();
    EditorServices services;
    services.engines = engines;
    services.runner = runner;
    services.clipboard = clipboard;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.shareFolder = dir.filePath(QStringLiteral("share"));
    editor = std::make_unique<EditorState>(services);
}

QUrl EditorTest::writePicture(const QString& name, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(width / 4, height / 4, width / 2, height / 2, Qt::red);
    const QString path = dir.filePath(name);
    picture.save(path, "PNG");
    return QUrl::fromLocalFile(path);
}

void EditorTest::openDocument(const QString& name, int width, int height)
{
    editor->importImage(writePicture(name, width, height));
    runner->settle();
}

} // namespace zephrin::testing
