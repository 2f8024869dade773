// Renders the main window offscreen at 1280 × 820 in its named states, writes
// each as build/screenshots/<state>.png, and checks a few pixels of each: the
// theme's colours where the window puts them, and a canvas that shows the
// image once there is one. Look at the pictures after every change to a view.

#include "app/shell/ShellObjects.h"
#include "model/editor/EditorState.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_PickersPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_InspectorPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_CanvasPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_AppPlugin)

namespace zephrin {
namespace {

QColor themeColor(QRgb rgb) { return QColor::fromRgb(rgb); }

// The window, built once for all states (QML singletons register once per process).
class Screens : public ::testing::Test {
protected:
    static inline QTemporaryDir* s_folder = nullptr;
    static inline EditorState* s_editor = nullptr;
    static inline ShellObjects* s_shell = nullptr;
    static inline QQmlApplicationEngine* s_engine = nullptr;
    static inline QQuickWindow* s_window = nullptr;

    static void SetUpTestSuite()
    {
        s_folder = new QTemporaryDir;
        EditorServices services;
        services.settingsFile = s_folder->filePath(QStringLiteral("settings.ini"));
        services.shareFolder = s_folder->filePath(QStringLiteral("share"));
        s_editor = new EditorState(services);
        s_shell = new ShellObjects(*s_editor, services.settingsFile, true);
        s_shell->registerForQml();
        s_engine = new QQmlApplicationEngine;
        s_engine->addImportPath(QStringLiteral("qrc:/"));
        s_engine->load(QUrl(QStringLiteral("qrc:/Zephrin/App/Main.qml")));
        ASSERT_FALSE(s_engine->rootObjects().isEmpty());
        s_window = qobject_cast<QQuickWindow*>(s_engine->rootObjects().constFirst());
        ASSERT_TRUE(s_window);
        s_window->resize(1280, 820);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(s_window));
    }

    static void TearDownTestSuite()
    {
        delete s_engine;
        delete s_shell;
        delete s_editor;
        delete s_folder;
    }

    // Lets the scene settle, grabs it and writes it out.
    static QImage shoot(const QString& state)
    {
        QTest::qWait(150);
        const QImage image = s_window->grabWindow();
        const QString folder = QStringLiteral(ZEPHRIN_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(state + QStringLiteral(".png")));
        return image;
    }

    // Items by objectName, through the visual tree (delegates have no QObject parent).
    static QQuickItem* findItem(QQuickItem* root, const QString& name)
    {
        if (root->objectName() == name)
            return root;
        for (QQuickItem* child : root->childItems())
            if (QQuickItem* found = findItem(child, name))
                return found;
        return nullptr;
    }
    static QQuickItem* item(const char* name) { return findItem(s_window->contentItem(), QLatin1String(name)); }

    // A pixel in window coordinates (the grab may be at a device pixel ratio).
    static QColor at(const QImage& image, QPointF point)
    {
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(int(point.x() * ratio), int(point.y() * ratio));
    }

    static QPointF centreOf(QQuickItem* item) { return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)); }
};

TEST_F(Screens, Empty)
{
    const QImage image = shoot(QStringLiteral("empty"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size() / image.devicePixelRatio(), QSize(1280, 820));
    const qreal menu = item("workspace")->mapToScene(QPointF()).y() - 64 - 16;
    // The sidebar's own colour near its foot, the toolbar's panel colour.
    EXPECT_EQ(at(image, {8, 780}), themeColor(0x121020));
    EXPECT_EQ(at(image, {600, menu + 40}), themeColor(0x171024));
    // The selected Cutout row carries its accent bar.
    QQuickItem* cutoutRow = item("sidebar:cutout");
    ASSERT_TRUE(cutoutRow);
    EXPECT_EQ(at(image, cutoutRow->mapToScene(QPointF(0.5, cutoutRow->height() / 2))), themeColor(0x8B5CF6));
    // The empty canvas offers the import button.
    EXPECT_TRUE(item("canvasImport")->isVisible());
}

TEST_F(Screens, PhotoWithItsCutout)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    if (!QFile::exists(sample))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->importImage(QUrl::fromLocalFile(sample));
    QTRY_VERIFY_WITH_TIMEOUT(s_editor->cutout().has_value() && !s_editor->isProcessing(), 120000);
    const QImage image = shoot(QStringLiteral("photo"));
    QQuickItem* picture = item("canvasImage");
    ASSERT_TRUE(picture && picture->isVisible());
    // The corner of the picture is background, cut away: the checkerboard shows.
    const QPointF corner = picture->mapToScene(QPointF(3, 3));
    const QColor seen = at(image, corner);
    EXPECT_TRUE(seen == themeColor(0x46454D) || seen == themeColor(0x36353C)) << qPrintable(seen.name());
    // The subject in the middle is drawn.
    const QColor middle = at(image, centreOf(picture));
    EXPECT_NE(middle, themeColor(0x46454D));
    EXPECT_NE(middle, themeColor(0x36353C));
    EXPECT_FALSE(item("emptyState")->isVisible());
}

TEST_F(Screens, SettingsWindow)
{
    QMetaObject::invokeMethod(s_window, "openSettings");
    auto* settings = qobject_cast<QQuickWindow*>(s_window->property("settingsWindow").value<QObject*>());
    ASSERT_TRUE(settings);
    settings->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    QTest::qWait(150);
    const QImage image = settings->grabWindow();
    image.save(QDir(QStringLiteral(ZEPHRIN_SCREENSHOT_DIR)).filePath(QStringLiteral("settings.png")));
    EXPECT_EQ(at(image, {4, 4}), themeColor(0x171024));
    settings->close();
}

TEST_F(Screens, ExportSheet)
{
    s_editor->setShowExportSheet(true);
    const QImage image = shoot(QStringLiteral("export-sheet"));
    QQuickItem* chips = item("formatChips");
    ASSERT_TRUE(chips);
    EXPECT_TRUE(chips->isVisible());
    s_editor->setShowExportSheet(false);
}

// ---- The cutout panel in its states, and the export sheet per format ----------

// Opens the sample photo with its cutout unless one is open already; false
// without the sample.
bool openSampleWithCutout(EditorState& editor)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    if (!QFile::exists(sample))
        return false;
    if (!editor.cutout()) {
        editor.importImage(QUrl::fromLocalFile(sample));
        if (!QTest::qWaitFor([&] { return editor.document() && !editor.isProcessing(); }, 120000))
            return false;
        if (!editor.cutout()) {
            editor.runAutoSubject();
            if (!QTest::qWaitFor([&] { return editor.cutout() && !editor.isProcessing(); }, 120000))
                return false;
        }
    }
    return editor.cutout().has_value();
}

// Scrolls the inspector's panel to its foot (or back to its top).
void scrollInspector(QQuickItem* scroll, bool toFoot)
{
    QTest::qWait(100);  // the panel's layout settles first
    auto* flickable = scroll->property("contentItem").value<QQuickItem*>();
    ASSERT_TRUE(flickable);
    const qreal foot = std::max(0.0, flickable->property("contentHeight").toReal() - flickable->height());
    flickable->setProperty("contentY", toFoot ? foot : 0.0);
}

TEST_F(Screens, CutoutPanelStates)
{
    s_editor->setTool(EditorTool::cutout);
    s_editor->clearDocument();
    QImage image = shoot(QStringLiteral("cutout-panel-no-image"));
    QQuickItem* run = item("runCutout");
    ASSERT_TRUE(run);
    EXPECT_FALSE(run->isEnabled());

    s_editor->setCutoutMethod(CutoutMethod::flat);
    image = shoot(QStringLiteral("cutout-panel-flat"));
    EXPECT_TRUE(item("flatTolerance")->isVisible());
    EXPECT_FALSE(item("guidedCut")->isVisible());
    s_editor->setCutoutMethod(CutoutMethod::autoSubject);

    if (!openSampleWithCutout(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    image = shoot(QStringLiteral("cutout-panel"));
    EXPECT_TRUE(run->isEnabled());
    // The run button's accent fill.
    const QColor fill = at(image, run->mapToScene(QPointF(8, run->height() / 2)));
    EXPECT_GT(fill.blue(), fill.green() + 60) << qPrintable(fill.name());

    QQuickItem* scroll = item("inspectorScroll");
    s_editor->setCanvasTool(CanvasTool::erase);
    scrollInspector(scroll, true);
    image = shoot(QStringLiteral("cutout-panel-erase"));
    EXPECT_TRUE(item("brushSize")->isVisible());

    // A selection with its colours read and two of them picked.
    s_editor->setCanvasTool(CanvasTool::select);
    const QSize size = s_editor->sourceSize();
    s_editor->finishSelection(EditorState::Points{{size.width() * 0.2, size.height() * 0.2},
                                                  {size.width() * 0.8, size.height() * 0.8}});
    s_editor->loadSelectionPalette();
    QTRY_VERIFY_WITH_TIMEOUT(!s_editor->isLoadingPalette(), 30000);
    ASSERT_GE(s_editor->selectionPalette().size(), 2);
    s_editor->togglePickedColor(s_editor->selectionPalette()[0].color);
    s_editor->togglePickedColor(s_editor->selectionPalette()[1].color);
    scrollInspector(scroll, true);
    image = shoot(QStringLiteral("cutout-panel-colors"));
    EXPECT_TRUE(item("paletteGrid")->isVisible());
    EXPECT_TRUE(item("deleteRow")->isVisible());

    s_editor->setPickedColors({});
    s_editor->setPendingSelection(std::nullopt);
    s_editor->setSelectionPalette({});
    s_editor->setCanvasTool(CanvasTool::view);
    scrollInspector(scroll, false);
}

TEST_F(Screens, ExportSheetPerFormat)
{
    const bool hasCutout = openSampleWithCutout(*s_editor);
    s_editor->setExportFormat(ExportFormat::png);
    s_editor->setShowExportSheet(true);
    QImage image = shoot(QStringLiteral("export-sheet-png"));
    QQuickItem* quality = item("qualityRow");
    ASSERT_TRUE(quality);
    EXPECT_TRUE(quality->isVisible());
    EXPECT_EQ(item("confirmExport")->isEnabled(), hasCutout);
    // The sheet's own background beside its title.
    QQuickItem* close = item("closeExportSheet");
    EXPECT_EQ(at(image, close->mapToScene(QPointF(-40, 4))), themeColor(0x171024));

    s_editor->setExportFormat(ExportFormat::svg);
    image = shoot(QStringLiteral("export-sheet-svg"));
    EXPECT_FALSE(quality->isVisible());
    EXPECT_TRUE(item("traceBlock")->isVisible());
    s_editor->setExportFormat(ExportFormat::png);
    s_editor->setShowExportSheet(false);
}

TEST_F(Screens, Batch)
{
    s_editor->setBatchMode(true);
    const QImage image = shoot(QStringLiteral("batch"));
    QQuickItem* batchRow = item("sidebar:batch");
    EXPECT_EQ(at(image, batchRow->mapToScene(QPointF(0.5, batchRow->height() / 2))), themeColor(0x8B5CF6));
    EXPECT_TRUE(item("batchGridSlot")->isVisible());
    EXPECT_FALSE(item("canvasSlot")->isVisible());
    s_editor->setBatchMode(false);
}

} // namespace
} // namespace zephrin

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
