// The file dialogs' tests run in a QApplication of their own (QFileDialog is
// a widget) on the offscreen platform, with a home folder of their own, so
// the dialogs start where the test says.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral(".local/share")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own dialog: the desktop's chooser would not be drivable here.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
