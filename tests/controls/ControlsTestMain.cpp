// Runs the Qt Quick tests of the shared controls (tst_*.qml in the folder
// given with -input) offscreen, with the Basic style the application uses.

#include <QQmlEngine>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)

class ControlsTestSetup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable() { QQuickStyle::setStyle(QStringLiteral("Basic")); }
    // The modules are linked in; their qmldir files sit in the resources.
    void qmlEngineAvailable(QQmlEngine* engine) { engine->addImportPath(QStringLiteral("qrc:/")); }
};

QUICK_TEST_MAIN_WITH_SETUP(controls, ControlsTestSetup)

#include "ControlsTestMain.moc"
