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

// ---- The tool panels ---------------------------------------------------------

// The panels of the background, effects, adjust and resize tools over the
// sample photo's cutout; the shots are tests of Screens, whose window they use.
class PanelShots : public Screens {
public:
    // Opens the sample photo and waits for its cutout, unless one is there;
    // false without the sample.
    static bool ensureCutout()
    {
        const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
        if (!QFile::exists(sample))
            return false;
        if (!s_editor->cutout()) {
            s_editor->importImage(QUrl::fromLocalFile(sample));
            QTest::qWaitFor([] { return s_editor->cutout().has_value() && !s_editor->isProcessing(); }, 120000);
        }
        return s_editor->cutout().has_value();
    }

    // Back to the plain cutout with the cutout tool.
    static void reset()
    {
        s_editor->setComp(EditorState::defaultCompositeSettings());
        s_editor->setActivePreset(std::nullopt);
        s_editor->setCanvasTool(CanvasTool::view);
        s_editor->setTool(EditorTool::cutout);
        QTest::qWaitFor([] { return !s_editor->isProcessing(); }, 60000);
    }

    // Shows the tool's panel, waits for the composite, and scrolls the
    // inspector to `scroll` (0 top, 1 bottom).
    static QImage shootPanel(EditorTool tool, const QString& state, double scroll = 0)
    {
        s_editor->setTool(tool);
        QTest::qWait(50);
        EXPECT_TRUE(QTest::qWaitFor([] { return !s_editor->isProcessing(); }, 60000));
        QTest::qWait(150);
        if (QQuickItem* scroller = item("inspectorScroll")) {
            // The scroll view's content item is the flickable that scrolls.
            auto* flickable = scroller->property("contentItem").value<QQuickItem*>();
            if (flickable) {
                const double range = flickable->property("contentHeight").toDouble() - flickable->height();
                flickable->setProperty("contentY", std::max(0.0, range * scroll));
            }
        }
        return shoot(state);
    }

    // The colour of the item's centre in the shot.
    static QColor centreColour(const QImage& image, const char* name)
    {
        QQuickItem* found = item(name);
        EXPECT_TRUE(found && found->isVisible()) << name;
        return found ? at(image, centreOf(found)) : QColor();
    }
};

TEST_F(Screens, BackgroundPanel)
{
    if (!PanelShots::ensureCutout())
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    s_editor->setComp(QStringLiteral("backgroundColor"), QColor(0xF5, 0xF0, 0xE6));
    const QImage image = PanelShots::shootPanel(EditorTool::background, QStringLiteral("panel-background"));
    EXPECT_TRUE(item("fillColorRow")->isVisible());
    // The dark slate swatch is drawn in its own colour.
    const QColor slate = PanelShots::centreColour(image, "swatch4");
    EXPECT_NEAR(slate.red(), 31, 2);
    EXPECT_NEAR(slate.blue(), 61, 2);
    PanelShots::reset();
}

TEST_F(Screens, EffectsPanel)
{
    if (!PanelShots::ensureCutout())
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setComp(QStringLiteral("shadowEnabled"), true);
    s_editor->setComp(QStringLiteral("outlineEnabled"), true);
    const QImage image = PanelShots::shootPanel(EditorTool::effects, QStringLiteral("panel-effects"));
    // The panel keeps to the inspector's column.
    EXPECT_LE(item("subjectPanelBody")->width(), item("inspectorPanel")->width());
    EXPECT_EQ(item("outlineGroup")->opacity(), 1);
    EXPECT_TRUE(item("shadowGroup")->isEnabled());
    // The switched-on shadow switch shows the accent.
    QQuickItem* toggle = item("shadowToggle");
    ASSERT_TRUE(toggle);
    QQuickItem* knobTrack = findItem(toggle, QStringLiteral("switch"));
    ASSERT_TRUE(knobTrack);
    EXPECT_EQ(at(image, knobTrack->mapToScene(QPointF(5, knobTrack->height() / 2))), themeColor(0x8B5CF6));
    PanelShots::reset();
}

TEST_F(Screens, AdjustPanelWithItsColourPanel)
{
    if (!PanelShots::ensureCutout())
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setAdjust(QStringLiteral("subject"), QStringLiteral("exposure"), 0.5);
    PanelShots::shootPanel(EditorTool::adjust, QStringLiteral("panel-adjust"));
    EXPECT_FALSE(item("adjustLockNote")->isVisible());
    s_editor->setCanvasTool(CanvasTool::gradient);
    const QImage image = PanelShots::shootPanel(EditorTool::adjust, QStringLiteral("panel-adjust-colour"), 1);
    // The lit angle preset (0°) sits on the selected chip fill.
    QQuickItem* preset = item("anglePreset:0");
    ASSERT_TRUE(preset && preset->isVisible());
    EXPECT_EQ(at(image, preset->mapToScene(QPointF(5, 5))), themeColor(0x221633));
    PanelShots::reset();
}

TEST_F(Screens, ResizePanelWithAPresetThatNeedsAttention)
{
    if (!PanelShots::ensureCutout())
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    // Printed on a shirt at 16 inches: the photo is too small for 300 DPI.
    s_editor->applyListingPreset(ListingPreset::dtfShirt);
    const QImage image = PanelShots::shootPanel(EditorTool::resize, QStringLiteral("panel-resize-preset"), 1);
    QQuickItem* list = item("complianceList");
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(at(image, list->mapToScene(QPointF(4, list->height() / 2))), themeColor(0x221633));
    bool unmet = false;
    for (const ComplianceItem& row : s_editor->complianceItems())
        unmet = unmet || !row.ok;
    EXPECT_TRUE(unmet);
    PanelShots::reset();
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
