// zephrin: the editor.
//
//   zephrin [IMAGE | zephrin://open?file=NAME]...
//
// One instance runs per user: a later launch hands its arguments to the
// running one (which comes forward) and exits before it builds anything.

#include "app/shell/DesktopFileChooser.h"
#include "app/shell/DialogStyle.h"
#include "app/shell/FileDialogs.h"
#include "app/shell/IncomingRoad.h"
#include "app/shell/ShellObjects.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/WindowFit.h"
#include "engine/codec/ImageRead.h"
#include "engine/isnet/RuntimeEnvironment.h"
#include "engine/threads/ProcessMemory.h"
#include "model/editor/EditorState.h"
#include "model/engines/EditorEngines.h"
#include "pickers/backdrops/BackdropStores.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QScreen>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_PickersPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_InspectorPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_CanvasPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_AppPlugin)

namespace {

// "zephrin.startup.info=true" in QT_LOGGING_RULES prints when the window
// first appeared.
Q_LOGGING_CATEGORY(lcStartup, "zephrin.startup", QtWarningMsg)

// The launch's own arguments: Qt's options (and the values some of them take)
// are left to QGuiApplication.
QStringList launchArguments(int argc, char** argv)
{
    static const QStringList optionsWithValue{"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                              "-qmljsdebugger", "-style", "-stylesheet", "-display", "-geometry",
                                              "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-title", "-name",
                                              "-session", "-reverse"};
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QString argument = zephrin::IncomingRoad::launchArgument(argv[i]);
        if (argument.startsWith(u'-')) {
            if (optionsWithValue.contains(argument) && argument != QLatin1String("-reverse"))
                ++i;
            continue;
        }
        arguments << argument;
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    zephrin::keepRuntimeTelemetryOff();
    zephrin::tuneAllocator();
    QElapsedTimer clock;
    clock.start();

    const QStringList arguments = zephrin::IncomingRoad::absoluteArguments(launchArguments(argc, argv),
                                                                           QDir::currentPath());
    const QString socket = zephrin::SingleInstance::defaultSocketPath();
    if (zephrin::SingleInstance::forward(socket, arguments, 500))
        return 0;

    // A QApplication, for the file dialogs: Qt Widgets' QFileDialog shows the
    // desktop's own chooser where the platform theme has one, and its own
    // complete dialog elsewhere.
    QApplication app(argc, argv);
    zephrin::quietImageReaderWarnings();
    QApplication::setOrganizationName(QStringLiteral("Zephrin"));
    QApplication::setApplicationName(QStringLiteral("Zephrin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zephrin"));
    QApplication::setDesktopFileName(QStringLiteral("zephrin"));
    zephrin::applyDialogStyle(app);
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    qCInfo(lcStartup).noquote() << "application ready after" << clock.elapsed() << "ms";

    zephrin::SingleInstance instance(socket);
    if (!instance.listen())
        return zephrin::SingleInstance::forward(socket, arguments, 1000) ? 0 : 1;
    zephrin::EditorState editor;
    zephrin::ShellObjects shell(editor, QString(), editor.engines().isnetAvailable());
    shell.registerForQml();
    // The one editor: what an earlier one left outside the inbox (it ended
    // before opening or queueing a hand-off for good) goes back in, for the
    // first scan to offer again.
    shell.incoming.restoreLeftBehindFiles();
    zephrin::DesktopFileChooser chooser;
    zephrin::FileDialogs dialogs(editor, shell.commands, shell.settings, chooser);
    zephrin::BackdropStores backdrops;
    backdrops.registerForQml();
    qCInfo(lcStartup).noquote() << "editor ready after" << clock.elapsed() << "ms";

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    backdrops.addImageProviders(engine);
    engine.load(QUrl(QStringLiteral("qrc:/Zephrin/App/Main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst());
    if (!window)
        return 1;
    // On a small screen (1366 × 768 with a panel) the window opens as large
    // as the work area allows; the inspector scrolls what does not fit.
    if (const QScreen* screen = window->screen())
        window->resize(zephrin::fittedWindowSize(window->size(), window->minimumSize(), screen->availableSize()));
    qCInfo(lcStartup).noquote() << "window built after" << clock.elapsed() << "ms";
    chooser.setWindow(window);

    // When the window first shows: what waits in the inbox, then what this
    // launch was given (a hand-off URL names a file the scan may have taken
    // already; it is then simply gone).
    QObject::connect(
        window, &QQuickWindow::frameSwapped, &app,
        [&] {
            qCInfo(lcStartup).noquote() << "window shown after" << clock.elapsed() << "ms";
            shell.incoming.openWaitingInboxFiles();
            shell.incoming.openArguments(arguments);
        },
        Qt::SingleShotConnection);

    QObject::connect(&instance, &zephrin::SingleInstance::argumentsReceived, window,
                     [&](const QStringList& received) {
                         shell.incoming.openForwardedLaunch(received);
                         window->show();
                         window->raise();
                         window->requestActivate();
                     });

    return app.exec();
}
