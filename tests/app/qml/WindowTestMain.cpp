// Runs the Qt Quick tests of the main window (tst_*.qml in the folder given
// with -input) offscreen, against a real EditorState with its own settings
// file and share folder, registered as the application registers it.

#include "app/shell/ShellObjects.h"
#include "model/editor/EditorState.h"

#include <QQmlEngine>
#include <QQuickStyle>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_PlaceholdersPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_AppPlugin)

class WindowTestSetup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        m_folder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", m_folder->filePath(QStringLiteral("data")).toUtf8());
        zephrin::EditorServices services;
        services.settingsFile = m_folder->filePath(QStringLiteral("settings.ini"));
        services.shareFolder = m_folder->filePath(QStringLiteral("share"));
        m_editor = std::make_unique<zephrin::EditorState>(services);
        m_shell = std::make_unique<zephrin::ShellObjects>(*m_editor, services.settingsFile, true);
        m_shell->registerForQml();
    }

    void qmlEngineAvailable(QQmlEngine* engine) { engine->addImportPath(QStringLiteral("qrc:/")); }

    void cleanupTestCase()
    {
        m_shell.reset();
        m_editor.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<zephrin::EditorState> m_editor;
    std::unique_ptr<zephrin::ShellObjects> m_shell;
};

QUICK_TEST_MAIN_WITH_SETUP(window, WindowTestSetup)

#include "WindowTestMain.moc"
