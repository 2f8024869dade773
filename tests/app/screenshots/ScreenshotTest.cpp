// Renders the main window offscreen at 1280 × 820 in its named states, writes
// each as build/screenshots/<state>.png, and checks a few pixels of each: the
// theme's colours where the window puts them, and a canvas that shows the
// image once there is one. Look at the pictures after every change to a view.

#include "app/shell/DesktopFileChooser.h"
#include "app/shell/DialogStyle.h"
#include "app/shell/FileDialogPlan.h"
#include "app/shell/ShellObjects.h"
#include "model/editor/EditorState.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "pickers/support/BackdropTestStores.h"
#include "app/support/SceneGraphTextures.h"
#include "support/Patience.h"
#include "support/Scenes.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QFileInfo>
#include <QPainter>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_PickersPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_InspectorPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_CanvasPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_AppPlugin)

namespace zephrin {
namespace {

using testing::kPatienceMs;

QColor themeColor(QRgb rgb) { return QColor::fromRgb(rgb); }

void fillBackdropStores();

// The window, built once for all states (QML singletons register once per process).
class Screens : public ::testing::Test {
protected:
    static inline QTemporaryDir* s_folder = nullptr;
    static inline EditorState* s_editor = nullptr;
    static inline ShellObjects* s_shell = nullptr;
    static inline QQmlApplicationEngine* s_engine = nullptr;
    static inline QQuickWindow* s_window = nullptr;
    static inline testing::BackdropTestStores* s_backdrops = nullptr;

    static void SetUpTestSuite()
    {
        s_folder = new QTemporaryDir;
        // My Backgrounds and the Trash in the test's own folder.
        qputenv("XDG_DATA_HOME", s_folder->filePath(QStringLiteral("data")).toUtf8());
        EditorServices services;
        services.settingsFile = s_folder->filePath(QStringLiteral("settings.ini"));
        {
            // Damaged export defaults: the settings window shows what is used
            // (PNG, 2400 px), which the other shots start from too.
            QSettings stored(services.settingsFile, QSettings::IniFormat);
            stored.setValue(QStringLiteral("defaultExportFormat"), QStringLiteral("../../evil"));
            stored.setValue(QStringLiteral("defaultLongEdge"), QStringLiteral("-2147483648"));
        }
        services.shareFolder = s_folder->filePath(QStringLiteral("share"));
        s_editor = new EditorState(services);
        s_shell = new ShellObjects(*s_editor, services.settingsFile, true);
        s_shell->registerForQml();
        s_backdrops = new testing::BackdropTestStores;
        s_backdrops->registerForQml();
        fillBackdropStores();
        s_engine = new QQmlApplicationEngine;
        s_engine->addImportPath(QStringLiteral("qrc:/"));
        s_backdrops->stores().addImageProviders(*s_engine);
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
        testing::freeTexturesOfClosedWindows();
        delete s_backdrops;
        delete s_shell;
        delete s_editor;
        delete s_folder;
    }

    // Lets the scene settle, grabs it and writes it out.
    static QImage shoot(const QString& state)
    {
        QTest::qWait(150);
        const QImage image = s_window->grabWindow();
        writeShot(image, state);
        return image;
    }
    static void writeShot(const QImage& image, const QString& state)
    {
        const QString folder = QStringLiteral(ZEPHRIN_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(state + QStringLiteral(".png")));
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
    // How many of the item's pixels in the shot are of a kind.
    static int pixelsIn(const QImage& image, QQuickItem* item, const std::function<bool(QColor)>& kind)
    {
        int count = 0;
        for (int y = 0; y < int(item->height()); ++y)
            for (int x = 0; x < int(item->width()); ++x)
                count += kind(at(image, item->mapToScene(QPointF(x, y)))) ? 1 : 0;
        return count;
    }

public:
    static testing::BackdropTestStores& backdrops() { return *s_backdrops; }

protected:

    static QPointF centreOf(QQuickItem* item) { return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)); }

    // A text file under an image's name, in the test's folder: one the batch
    // cannot read.
    static QString writeNotAPicture(const QString& name)
    {
        QFile file(s_folder->filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        return file.fileName();
    }
    // The sample photo scaled to fit `size`, in the test's folder.
    static QString writeSmallSample(const QString& name, QSize size)
    {
        const QString path = s_folder->filePath(name);
        EXPECT_TRUE(QImage(QStringLiteral(ZEPHRIN_SAMPLE_PHOTO)).scaled(size, Qt::KeepAspectRatio).save(path));
        return path;
    }
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return s_editor->cutout().has_value() && !s_editor->isProcessing(); }, 120000));
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

// With no window manager (offscreen, as under a bare X server) the window
// has no title bar: it shows its title and a close button of its own, and a
// line around it. The damaged stored defaults read as what is used.
TEST_F(Screens, SettingsWindow)
{
    QMetaObject::invokeMethod(s_window, "openSettings");
    auto* settings = qobject_cast<QQuickWindow*>(s_window->property("settingsWindow").value<QObject*>());
    ASSERT_TRUE(settings);
    settings->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    QTest::qWait(150);
    const QImage image = settings->grabWindow();
    writeShot(image, QStringLiteral("settings"));
    EXPECT_EQ(at(image, {4, 24}), themeColor(0x171024));
    // The edge line, in the border colour.
    EXPECT_EQ(at(image, {0, settings->height() / 2.0}), themeColor(0x342847));
    QQuickItem* view = settings->contentItem();
    QQuickItem* close = findItem(view, QStringLiteral("settingsClose"));
    ASSERT_TRUE(close && close->isVisible());
    EXPECT_GT(close->mapToScene(QPointF()).x(), settings->width() - 60);
    // The close mark is drawn in a light colour over the panel.
    EXPECT_GT(pixelsIn(image, close, [](QColor c) { return c.lightness() > 150; }), 5);
    EXPECT_EQ(findItem(view, QStringLiteral("formatRow"))->property("selection").toString(), QStringLiteral("PNG"));
    EXPECT_EQ(findItem(view, QStringLiteral("longEdgeRow"))->property("selection").toString(), QStringLiteral("2400 px"));
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !s_editor->isLoadingPalette(); }, kPatienceMs));
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

// A coloured drawing whose white walls the subject finder leaves out: the
// fill suggestion shows in the panel's view, even when the panel was scrolled
// to its foot before the cutout landed, and goes once Fill is on.
TEST_F(Screens, CutoutPanelWithTheFillSuggestion)
{
    s_editor->setTool(EditorTool::cutout);
    const MatteModel model = s_editor->matteModel();
    s_editor->setMatteModel(MatteModel::apple);
    const QString drawing = s_folder->filePath(QStringLiteral("drawing.png"));
    ASSERT_TRUE(toQImage(testing::colouredDrawingOnPaper({900, 700}, 3).image).save(drawing));
    QQuickItem* scroll = item("inspectorScroll");
    ASSERT_TRUE(scroll);
    scrollInspector(scroll, true);

    s_editor->importImage(QUrl::fromLocalFile(drawing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return s_editor->suggestFillHoles() && !s_editor->isProcessing(); }, kPatienceMs));
    shoot(QStringLiteral("cutout-panel-fill-suggestion"));
    QQuickItem* strip = item("fillSuggestion");
    ASSERT_TRUE(strip && strip->isVisible());
    const QRectF shown = strip->mapRectToItem(scroll, QRectF(0, 0, strip->width(), strip->height()));
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), scroll->height());

    s_editor->setFillHoles(true);
    EXPECT_FALSE(strip->isVisible());
    s_editor->setFillHoles(false);
    s_editor->setMatteModel(model);
    s_editor->clearDocument();
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

    for (const ExportFormat format : {ExportFormat::jpg, ExportFormat::webp, ExportFormat::heic, ExportFormat::svg}) {
        s_editor->setExportFormat(format);
        image = shoot(QStringLiteral("export-sheet-") + rawValue(format).toLower());
    }
    EXPECT_FALSE(quality->isVisible());
    EXPECT_TRUE(item("traceBlock")->isVisible());
    s_editor->setExportFormat(ExportFormat::png);
    s_editor->setShowExportSheet(false);
}

// The backdrop picker at the inspector's width, in a window of its own (the
// background panel hosts it in the main window), on each tab: a photo
// catalogue on a loopback server and a few saved backgrounds.
void fillBackdropStores()
{
    QVariantList photos;
    const QStringList places{"misty_lake", "old_brick_WALL", "pine_forest", "sand_dunes", "city_lights",
                             "autumn_leaves", "marble_table", "sea_cliffs", "linen_drape"};
    for (int i = 0; i < places.size(); ++i)
        photos << QVariantMap{{"id", QStringLiteral("p%1").arg(i)},
                              {"category", i % 2 ? QStringLiteral("Urban") : QStringLiteral("Nature")},
                              {"location", places[i]}};
    Screens::backdrops().newPhotoLibrary(photos, {"Nature", "Urban", "Studio"});
    for (const char* name : {"Beach at Dawn", "Studio Grey", "Kraft Paper Texture Long Name", "Desk", "Meadow"})
        Screens::backdrops().addMyBackground(QString::fromUtf8(name), QStringLiteral("saved"), name[0] == 'D');
}

// Helpers of the picker shots, which run in the Screens suite (one engine per process).
struct PickerShots : Screens {
    // The window, made on first use; the engine owns it.
    static QQuickWindow* pickerWindow()
    {
        static QQuickWindow* window = [] {
            QQmlComponent component(s_engine);
            component.setData(R"(
                import QtQuick
                import Zephrin.Controls
                import Zephrin.Pickers
                Window {
                    width: 310; height: 820; visible: true; color: Theme.panel
                    property alias picker: picker
                    Flickable {
                        anchors.fill: parent
                        contentHeight: picker.implicitHeight + 32
                        BackdropPickerView { id: picker; x: 16; y: 16; width: 278 }
                    }
                })",
                              QUrl(QStringLiteral("qrc:/screenshots/BackdropPicker.qml")));
            auto* made = qobject_cast<QQuickWindow*>(component.create());
            if (!made)
                qWarning() << component.errorString();
            else
                static_cast<QObject*>(made)->setParent(s_engine);
            return made;
        }();
        return window;
    }
    static QObject* picker() { return pickerWindow()->property("picker").value<QObject*>(); }

    static QQuickItem* pickerItem(const char* name)
    {
        return findItem(pickerWindow()->contentItem(), QLatin1String(name));
    }

    static QImage shootPicker(const QString& state)
    {
        QTest::qWait(400);
        const QImage image = pickerWindow()->grabWindow();
        const QString folder = QStringLiteral(ZEPHRIN_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(state + QStringLiteral(".png")));
        return image;
    }

    // The tile's picture arrived: its centre is not the empty tile's fill.
    static bool showsPicture(const QImage& image, QQuickItem* tile)
    {
        return tile && at(image, tile->mapToScene(QPointF(tile->width() / 2, 10))) != themeColor(0x1E1630);
    }

    static void show()
    {
        ASSERT_TRUE(pickerWindow());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pickerWindow()));
    }
};

TEST_F(Screens, BackdropPickerPhotosTab)
{
    PickerShots::show();
    PickerShots::picker()->setProperty("mode", 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PickerShots::pickerItem("photo:p0") && PickerShots::pickerItem("photo:p0")->property("hasPicture").toBool(); }, kPatienceMs));
    const QImage image = PickerShots::shootPicker(QStringLiteral("backdrops-photos"));
    EXPECT_EQ(at(image, {2, 2}), themeColor(0x171024));
    EXPECT_TRUE(PickerShots::showsPicture(image, PickerShots::pickerItem("photo:p0")));
}

TEST_F(Screens, BackdropPickerStudioAndColorTabs)
{
    PickerShots::show();
    PickerShots::picker()->setProperty("mode", 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PickerShots::pickerItem("backdrop:studio-white") && PickerShots::pickerItem("backdrop:studio-white")->property("hasPicture").toBool(); }, kPatienceMs));
    QImage image = PickerShots::shootPicker(QStringLiteral("backdrops-studio"));
    EXPECT_TRUE(PickerShots::showsPicture(image, PickerShots::pickerItem("backdrop:studio-charcoal")));
    QQuickItem* gradient = PickerShots::pickerItem("chip:Gradient");
    ASSERT_TRUE(gradient);
    QTest::mouseClick(PickerShots::pickerWindow(), Qt::LeftButton, {}, gradient->mapToScene(QPointF(5, 5)).toPoint());
    ASSERT_TRUE(QTest::qWaitFor([&] { return PickerShots::pickerItem("customGradient"); }, kPatienceMs));
    image = PickerShots::shootPicker(QStringLiteral("backdrops-gradient"));
    EXPECT_TRUE(PickerShots::pickerItem("applyCustomGradient")->isVisible());
}

TEST_F(Screens, BackdropPickerMyBackgroundsAndSelectionMode)
{
    PickerShots::show();
    PickerShots::picker()->setProperty("mode", 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PickerShots::pickerItem("myTiles"); }, kPatienceMs));
    QImage image = PickerShots::shootPicker(QStringLiteral("backdrops-my"));
    EXPECT_FALSE(PickerShots::pickerItem("myEmptyHint")->isVisible());

    QObject* grid = PickerShots::picker()->property("grid").value<QObject*>();
    ASSERT_TRUE(grid);
    auto* state = grid->property("gridState").value<QObject*>();
    state->setProperty("selecting", true);
    const QStringList ids = [] {
        QStringList list;
        for (const MyBackground& item : MyBackgroundsStore::shared().items())
            list << item.id;
        return list;
    }();
    ASSERT_GE(ids.size(), 2);
    QMetaObject::invokeMethod(state, "tap", Q_ARG(QString, ids[0]));
    QMetaObject::invokeMethod(state, "tap", Q_ARG(QString, ids[1]));
    image = PickerShots::shootPicker(QStringLiteral("backdrops-my-selecting"));
    QQuickItem* checked = PickerShots::pickerItem(qPrintable(QStringLiteral("my:") + ids[0]));
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked->property("badge").toString(), QStringLiteral("checked"));
    // The checked tile's ring is the accent.
    EXPECT_EQ(at(image, checked->mapToScene(QPointF(checked->width() / 2, -0.5))), themeColor(0x8B5CF6));
    state->setProperty("selecting", false);
}

// The sticker sheet with two designs, one copy pinned by hand, cut lines shown.
TEST_F(Screens, StickerSheet)
{
    if (!openSampleWithCutout(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->clearStickerSheet();
    s_editor->setDefaultStickerWidth(2.0);
    s_editor->addToStickerSheet();
    s_editor->setDefaultStickerWidth(1.25);
    s_editor->addToStickerSheet();
    const QString second = uuidString(s_editor->sheetItems().back().id);
    s_editor->setSheetItemField(uuidString(s_editor->sheetItems().front().id), QStringLiteral("count"), 3);
    s_editor->setSheetItemField(second, QStringLiteral("count"), 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s_editor->sheetExportable(); }, kPatienceMs));
    // Drag one small copy down to the foot of the printable area by hand.
    const QString key = pinKey(second, 0);
    const QRectF area = s_editor->sheetSettings().printableArea();
    ASSERT_TRUE(s_editor->moveStickerPin(key, QPointF(area.right(), area.bottom())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return s_editor->sheetExportable(); }, kPatienceMs));
    ASSERT_EQ(s_editor->tool(), EditorTool::sheet);

    const QImage image = shoot(QStringLiteral("sticker-sheet"));
    QQuickItem* paper = item("sheetPaper");
    ASSERT_TRUE(paper && paper->isVisible());
    // The paper's margin is white; the panel lists both designs.
    EXPECT_EQ(at(image, paper->mapToScene(QPointF(4, 4))), QColor(Qt::white));
    EXPECT_TRUE(item("sheetStatus")->isVisible());
    EXPECT_TRUE(item(qPrintable(QStringLiteral("sheetHandle:") + key)));

    s_editor->clearStickerSheet();
    s_editor->setTool(EditorTool::cutout);
}

// The canvas: the sample photo with its cutout, compared before and after,
// and with a selection and its handles under the select tool. Each opens the
// photo unless it is open, and leaves the canvas as it found it.
bool openSamplePhoto(EditorState& editor)
{
    const QUrl sample = QUrl::fromLocalFile(QStringLiteral(ZEPHRIN_SAMPLE_PHOTO));
    if (!QFile::exists(sample.toLocalFile()))
        return false;
    if (!editor.cutout() || editor.document()->url != sample) {
        editor.importImage(sample);
        if (!QTest::qWaitFor([&] { return editor.cutout().has_value() && !editor.isProcessing(); }, 120000))
            return false;
    }
    return true;
}

TEST_F(Screens, CanvasCompare)
{
    if (!openSamplePhoto(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setComparePosition(0.5);
    s_editor->setCompareEnabled(true);
    const QImage image = shoot(QStringLiteral("canvas-compare"));
    QQuickItem* view = item("compareView");
    ASSERT_TRUE(view && view->isVisible());
    EXPECT_FALSE(item("mainCanvas")->isVisible());
    // The divider in the middle, above and below the knob; the knob's dark face.
    EXPECT_EQ(at(image, view->mapToScene(QPointF(view->width() / 2, 40))), themeColor(0xF6F2FF));
    EXPECT_EQ(at(image, view->mapToScene(QPointF(view->width() / 2 - 12, view->height() / 2 + 12))),
              themeColor(0x0B0713));
    s_editor->setCompareEnabled(false);
}

TEST_F(Screens, CanvasSelectionWithHandles)
{
    if (!openSamplePhoto(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setCanvasTool(CanvasTool::select);
    const QSize size = s_editor->sourceSize();
    s_editor->finishSelection(EditorState::Points{{size.width() * 0.3, size.height() * 0.3},
                                                  {size.width() * 0.7, size.height() * 0.7}});
    const QImage image = shoot(QStringLiteral("canvas-selection"));
    QQuickItem* picture = item("canvasImage");
    ASSERT_TRUE(picture && picture->isVisible());
    // The top-middle handle is a white square; the selection's inside is tinted.
    EXPECT_EQ(at(image, picture->mapToScene(QPointF(picture->width() * 0.5, picture->height() * 0.3))),
              QColor(Qt::white));
    EXPECT_TRUE(item("canvasOverlay")->isVisible());
    s_editor->setPendingSelection(std::nullopt);
    s_editor->setCanvasTool(CanvasTool::view);
}

TEST_F(Screens, CanvasDropHighlight)
{
    QQuickItem* canvas = item("canvasSlot");
    ASSERT_TRUE(canvas);
    canvas->setProperty("dropTargeted", true);
    const QImage image = shoot(QStringLiteral("canvas-drop"));
    // The dashed violet frame runs along the left edge, 1 point in.
    int violet = 0;
    for (int y = 40; y < 240; ++y)
        violet += at(image, canvas->mapToScene(QPointF(1.5, y))).blue() > 200 ? 1 : 0;
    EXPECT_GT(violet, 60);   // dashes…
    EXPECT_LT(violet, 180);  // …and gaps
    canvas->setProperty("dropTargeted", false);
}

// ---- The tool panels ---------------------------------------------------------

// The panels of the background, effects, adjust and resize tools over the
// sample photo's cutout; the shots are tests of Screens, whose window they use.
class PanelShots : public Screens {
public:
    // Opens the sample photo and waits for its cutout, unless one is there;
    // false without the sample.
    static bool ensureCutout() { return openSampleWithCutout(*s_editor); }

    // Back to the plain cutout with the cutout tool.
    static void reset()
    {
        s_editor->setComp(EditorState::defaultCompositeSettings());
        s_editor->setActivePreset(std::nullopt);
        s_editor->setCanvasTool(CanvasTool::view);
        s_editor->setTool(EditorTool::cutout);
        (void)QTest::qWaitFor([] { return !s_editor->isProcessing(); }, kPatienceMs);
    }

    // Shows the tool's panel, waits for the composite, and scrolls the
    // inspector to `scroll` (0 top, 1 bottom).
    static QImage shootPanel(EditorTool tool, const QString& state, double scroll = 0)
    {
        s_editor->setTool(tool);
        QTest::qWait(50);
        EXPECT_TRUE(QTest::qWaitFor([] { return !s_editor->isProcessing(); }, kPatienceMs));
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

// Text and label shapes on the photo: a curved line of text, a "SALE" banner
// (selected, with its handles and controls) and a label whose text is cut out;
// then the font picker over a catalogue kept in the fonts folder, and the
// shape gallery.
class TextScreens : public Screens {
protected:
    // The fonts folder lives in the test's own data folder, with a catalogue
    // and previews made from fonts Debian ships (the server is unreachable).
    static void writeFontCatalogue()
    {
        const QString folder = s_folder->filePath(QStringLiteral("data/Zephrin/Fonts"));
        QDir().mkpath(folder + QStringLiteral("/previews"));
        struct Font {
            const char* id;
            const char* name;
            const char* category;
            const char* family;
        };
        const Font fonts[] = {{"inter", "Inter", "Sans Serif", "Inter"},
                              {"nimbus-sans", "Nimbus Sans", "Sans Serif", "Nimbus Sans"},
                              {"nimbus-roman", "Nimbus Roman", "Serif", "Nimbus Roman"},
                              {"c059", "C059", "Serif", "C059"},
                              {"p052", "P052", "Serif", "P052"},
                              {"z003", "Z003", "Handwriting", "Z003"},
                              {"nimbus-mono", "Nimbus Mono PS", "Monospace", "Nimbus Mono PS"},
                              {"urw-bookman", "URW Bookman", "Serif", "URW Bookman"}};
        QByteArray items;
        for (const Font& font : fonts) {
            if (!items.isEmpty())
                items += ',';
            items += QStringLiteral(R"({"id":"%1","name":"%2","category":"%3","files":{"regular":"%1/regular.otf"}})")
                         .arg(QLatin1String(font.id), QLatin1String(font.name), QLatin1String(font.category))
                         .toUtf8();
            // A preview at twice its size: the name set in the font itself, in
            // the content catalogue's dark ink on transparency.
            QImage preview(560, 60, QImage::Format_ARGB32_Premultiplied);
            preview.fill(Qt::transparent);
            QPainter painter(&preview);
            painter.setRenderHint(QPainter::Antialiasing);
            QFont face(QLatin1String(font.family));
            face.setPixelSize(40);
            painter.setFont(face);
            painter.setPen(QColor(26, 26, 31));
            painter.drawText(preview.rect().adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             QLatin1String(font.name));
            painter.end();
            preview.save(folder + QStringLiteral("/previews/") + QLatin1String(font.id) + QStringLiteral(".png"));
        }
        QFile catalogue(folder + QStringLiteral("/fonts.json"));
        ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
        catalogue.write(R"({"categories":["Sans Serif","Serif","Handwriting","Monospace"],"items":[)" + items + "]}");
    }

    static void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s_editor->isProcessing(); }, 120000));
        QTest::qWait(300);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s_editor->isProcessing(); }, 120000));
    }
};

TEST_F(TextScreens, TextAndLabelsOnThePhoto)
{
    if (!openSampleWithCutout(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    qputenv("XDG_DATA_HOME", s_folder->filePath(QStringLiteral("data")).toUtf8());
    qputenv("ZEPHRIN_CONTENT_URL", "http://127.0.0.1:9");
    writeFontCatalogue();

    s_editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    s_editor->setComp(QStringLiteral("backgroundColor"), QColor(0xF3E6D8));
    s_editor->setTool(EditorTool::text);
    s_editor->addTextLayer();
    const QUuid curved = s_editor->selectedTextID();
    s_editor->updateTextLayer(curved, [](TextLayer& l) {
        l.text = QStringLiteral("Fresh Roast");
        l.size = 0.11;
        l.curve = 45;
        l.y = 0.2;
        l.color = {0.24, 0.14, 0.1, 1};
        l.outline = 0.04;
    });
    s_editor->addShapeLayer(QStringLiteral("badge"));
    s_editor->updateTextLayer(s_editor->selectedTextID(), [](TextLayer& l) {
        l.knockout = true;
        l.fill = {0.93, 0.26, 0.36, 1};
        l.x = 0.8;
        l.y = 0.72;
        l.shapeW = 0.3;
        l.shapeH = 0.3;
        l.text = QStringLiteral("NEW");
    });
    s_editor->addShapeLayer(QStringLiteral("banner"));
    s_editor->updateTextLayer(s_editor->selectedTextID(), [](TextLayer& l) {
        l.y = 0.86;
        l.effect = QStringLiteral("shadow");
    });
    settle();
    const QImage image = shoot(QStringLiteral("text-shapes"));

    QQuickItem* panel = item("textPanel");
    ASSERT_TRUE(panel && panel->isVisible());
    EXPECT_TRUE(item("shapeControls")->isVisible());
    // The handles lie over the image.
    QQuickItem* handles = item("textHandles");
    ASSERT_TRUE(handles && handles->isVisible());
    // The text layers changed the composite: the knocked-out label shows its fill red.
    QQuickItem* picture = item("canvasImage");
    const QPointF badge = picture->mapToScene(QPointF(picture->width() * 0.8 - picture->width() * 0.1,
                                                      picture->height() * 0.72));
    const QColor fill = at(image, badge);
    EXPECT_GT(fill.red(), 180) << qPrintable(fill.name());
    EXPECT_LT(fill.green(), 120) << qPrintable(fill.name());
}

TEST_F(TextScreens, FontPicker)
{
    QQuickItem* panel = item("textPanel");
    if (!panel)
        GTEST_SKIP() << "no text panel (no sample photo)";
    panel->setProperty("showFonts", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return item("fontList") && item("fontList")->isVisible(); }, kPatienceMs));
    QTest::qWait(500);
    const QImage image = shoot(QStringLiteral("font-picker"));
    EXPECT_TRUE(item("fontFooter")->isVisible());
    // The previews read on the dark picker: their strokes are light.
    QQuickItem* preview = item("fontPreview");
    ASSERT_TRUE(preview && preview->isVisible());
    float lightest = 0;
    for (int y = 0; y < int(preview->height()); ++y)
        for (int x = 0; x < std::min(int(preview->width()), 100); ++x)
            lightest = std::max(lightest, at(image, preview->mapToScene(QPointF(x, y))).lightnessF());
    EXPECT_GT(lightest, 0.85);
    panel->setProperty("showFonts", false);
}

TEST_F(TextScreens, ShapeGallery)
{
    QQuickItem* panel = item("textPanel");
    if (!panel)
        GTEST_SKIP() << "no text panel (no sample photo)";
    panel->setProperty("showShapes", true);
    QTest::qWait(200);
    const QImage image = shoot(QStringLiteral("shape-gallery"));
    QQuickItem* tile = item("shapeTile:heart");
    ASSERT_TRUE(tile && tile->isVisible());
    // The heart is filled in the accent at its middle.
    EXPECT_EQ(at(image, centreOf(tile)), themeColor(0x8B5CF6));
    panel->setProperty("showShapes", false);
    s_editor->setTool(EditorTool::cutout);
}

// A label of six lines: the text box keeps its height, clips the text and
// shows the caret's line; the controls below stay where they were.
TEST_F(TextScreens, TextBoxWithSixLines)
{
    if (!s_editor->composite())
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    s_editor->setTool(EditorTool::text);
    ASSERT_FALSE(s_editor->comp().texts.isEmpty());
    const QUuid id = s_editor->comp().texts.front().id;
    s_editor->setSelectedTextID(id);
    s_editor->updateTextLayer(id, [](TextLayer& l) {
        l.text = QStringLiteral("Fresh Roast\nSingle origin\nWashed\nLight body\nCitrus notes\nSince 1998");
    });
    settle();
    QQuickItem* box = item("textBox");
    QQuickItem* scroller = item("textBoxScroller");
    ASSERT_TRUE(box && scroller && scroller->isVisible());
    // The caret at the end: the box scrolls to the last line.
    box->forceActiveFocus();
    box->setProperty("cursorPosition", box->property("length"));
    const QImage image = shoot(QStringLiteral("text-box-six-lines"));
    EXPECT_EQ(scroller->height(), 64);
    EXPECT_TRUE(scroller->clip());
    EXPECT_GT(box->height(), scroller->height());
    // Just below the box: the panel's background, not a line of text.
    const QPointF below = scroller->mapToScene(QPointF(scroller->width() / 2, scroller->height() + 4));
    EXPECT_EQ(at(image, below), themeColor(0x171024)) << qPrintable(at(image, below).name());
    s_editor->setTool(EditorTool::cutout);
}

// A batch in progress: one image done, one failed (a text file under an
// image's name), the third being cut (a large photo, so the shot finds it
// under way) and one queued.
TEST_F(Screens, BatchInProgress)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    const QString large = QFileInfo(sample).dir().filePath(QStringLiteral("elephants.jpg"));
    if (!QFile::exists(sample) || !QFile::exists(large))
        GTEST_SKIP() << "no sample photos (scripts/setup fetches them)";
    const QString broken = writeNotAPicture(QStringLiteral("scan.png"));
    const QString small = writeSmallSample(QStringLiteral("cup.png"), {640, 480});

    BatchState& batch = *s_editor->batch();
    s_editor->setMatteModel(MatteModel::apple);
    s_editor->setBatchMode(true);
    batch.add({QUrl::fromLocalFile(small), QUrl::fromLocalFile(broken), QUrl::fromLocalFile(large),
               QUrl::fromLocalFile(sample)});
    batch.start(*s_editor);
    ASSERT_TRUE(QTest::qWaitFor([&] { return batch.doneCount() == 1 && batch.failedCount() == 1 && batch.processingIndex() == 3; }, 120000));
    const QImage image = shoot(QStringLiteral("batch-in-progress"));
    ASSERT_TRUE(batch.isRunning()) << "the third image was done before the shot";

    QQuickItem* progress = item("batchProgressText");
    ASSERT_TRUE(progress && progress->isVisible());
    EXPECT_EQ(progress->property("text").toString(), QStringLiteral("Cutting image 3 of 4…"));
    QQuickItem* tile = item("batchTile:scan");
    ASSERT_TRUE(tile);
    QQuickItem* failed = findItem(tile, QStringLiteral("failedBadge"));
    ASSERT_TRUE(failed && failed->isVisible());
    // The failed tile's badge is drawn in the failure red (226, 75, 74).
    EXPECT_GT(pixelsIn(image, failed, [](QColor c) { return c == QColor(226, 75, 74); }), 20);

    batch.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return batch.didFinish(); }, 120000));
    s_editor->setBatchMode(false);
}

// "Tap a red tile to open it in the editor": a click on the failed tile leaves
// batch mode; the editor says why the file would not open.
TEST_F(Screens, RedTileClickLandsInTheEditor)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    if (!QFile::exists(sample))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    const QString broken = writeNotAPicture(QStringLiteral("receipt.png"));
    const QString small = writeSmallSample(QStringLiteral("saucer.png"), {480, 360});

    BatchState& batch = *s_editor->batch();
    s_editor->setMatteModel(MatteModel::apple);
    s_editor->setBatchMode(true);
    batch.add({QUrl::fromLocalFile(small), QUrl::fromLocalFile(broken)});
    batch.start(*s_editor);
    // QTest's QTRY macros return silently under GoogleTest: wait, then assert.
    ASSERT_TRUE(QTest::qWaitFor([&] { return batch.didFinish() && batch.failedCount() == 1; }, 120000));
    const QImage image = shoot(QStringLiteral("batch-red-tile"));
    QQuickItem* tile = item("batchTile:receipt");
    ASSERT_TRUE(tile && tile->isVisible());
    // The failed tile alone, with its red badge.
    const qreal ratio = image.devicePixelRatio();
    const QRectF area = tile->mapRectToScene(QRectF(0, 0, tile->width(), tile->height()));
    writeShot(image.copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toRect()), QStringLiteral("batch-failed-tile"));

    QTest::mouseClick(s_window, Qt::LeftButton, {}, centreOf(tile).toPoint());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !s_editor->batchMode(); }, kPatienceMs));
    // With work in the document (the states before), it asks first.
    if (s_editor->showIncomingReplaceConfirm()) {
        QQuickItem* replace = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (replace = item("replace")) && replace->isVisible(); }, kPatienceMs));
        QTest::mouseClick(s_window, Qt::LeftButton, {}, centreOf(replace).toPoint());
    }
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return s_editor->lastError()
                   == QStringLiteral("Couldn't open receipt.png: it isn't a picture Zephrin reads.");
        },
        kPatienceMs));
    shoot(QStringLiteral("batch-red-tile-opened"));
    EXPECT_TRUE(item("canvasSlot")->isVisible());
    EXPECT_FALSE(item("batchGridSlot")->isVisible());
    batch.clear();
    s_editor->setLastError({});   // the shots after this one start clean
}

// ---- The file dialogs and the notice of a save -------------------------------

// Each dialog of the window over a folder with pictures in it, as Qt's own
// dialog shows it on a desktop without a chooser of its own.
TEST_F(Screens, FileDialogs)
{
    const QString home = s_folder->filePath(QStringLiteral("home"));
    const QString pictures = QDir(home).filePath(QStringLiteral("Pictures"));
    QDir().mkpath(QDir(pictures).filePath(QStringLiteral("Holiday")));
    QDir().mkpath(QDir(pictures).filePath(QStringLiteral("Products")));
    for (const char* name : {"beach.png", "duck.jpg", "mug.png"}) {
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        picture.save(QDir(pictures).filePath(QString::fromLatin1(name)));
    }
    DialogFolders folders;
    folders.home = home;
    folders.pictures = pictures;
    folders.isFolder = [](const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); };

    DesktopFileChooser chooser(s_window);
    const auto shootDialog = [&](const FileDialogRequest& request, const QString& state,
                                 const std::function<void(QFileDialog&)>& prepare) {
        chooser.open(request, [](const QList<QUrl>&) {});
        QFileDialog* dialog = chooser.currentDialog();
        EXPECT_TRUE(dialog && QTest::qWaitForWindowExposed(dialog));
        if (!dialog)
            return;
        dialog->resize(760, 480);
        QTest::qWait(300);   // the folder is listed in the background
        prepare(*dialog);
        QTest::qWait(100);
        const QImage image = dialog->grab().toImage();
        image.save(QDir(QStringLiteral(ZEPHRIN_SCREENSHOT_DIR)).filePath(state + QStringLiteral(".png")));
        // The dialog is drawn in the window's dark panel colour.
        EXPECT_EQ(image.pixelColor(2, image.height() / 2), themeColor(0x171024)) << qPrintable(state);
        dialog->reject();
    };

    shootDialog(dialogplan::saveExport(ExportFile{{}, ExportFormat::png, QStringLiteral("photo #2-cutout"), std::nullopt}, folders),
                QStringLiteral("dialog-save"), [](QFileDialog& dialog) {
                    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
                    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text().remove(u'&'), QStringLiteral("Save"));
                    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                              QStringLiteral("photo #2-cutout.png"));
                });
    shootDialog(dialogplan::importImage(folders), QStringLiteral("dialog-import"), [](QFileDialog&) {});
    shootDialog(dialogplan::addImages(folders), QStringLiteral("dialog-add-images"), [](QFileDialog& dialog) {
        // Three pictures chosen at once.
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("\"beach.png\" \"duck.jpg\" \"mug.png\""));
        EXPECT_EQ(dialog.selectedFiles().size(), 3);
    });
    shootDialog(dialogplan::exportFolder(3, folders), QStringLiteral("dialog-export-folder"), [&](QFileDialog& dialog) {
        dialog.setDirectory(QDir(pictures).filePath(QStringLiteral("Products")));
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("Export Here"));
    });
}

TEST_F(Screens, NoticeAfterASave)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    if (QFile::exists(sample) && !s_editor->cutout()) {
        s_editor->importImage(QUrl::fromLocalFile(sample));
        ASSERT_TRUE(QTest::qWaitFor([&] { return s_editor->cutout().has_value() && !s_editor->isProcessing(); }, 120000));
    }
    s_editor->showNotice(QStringLiteral("Saved coffee-cutout.png to ~/Pictures"),
                         s_folder->filePath(QStringLiteral("coffee-cutout.png")));
    QTest::qWait(250);   // the notice fades in
    const QImage image = shoot(QStringLiteral("notice"));
    QQuickItem* toast = item("noticeToast");
    ASSERT_TRUE(toast && toast->isVisible());
    EXPECT_TRUE(item("noticeShowInFolder")->isVisible());
    // The pill is drawn in the surface colour, clear of the status bar.
    EXPECT_EQ(at(image, toast->mapToScene(QPointF(toast->width() - 14, 6))), themeColor(0x1E1630));
    s_editor->dismissNotice();
}

// Shared where no file manager can show the file: the notice names it in
// full, offers to copy its path, and stays.
TEST_F(Screens, ShareNoticeWithoutAFileManager)
{
    if (!openSampleWithCutout(*s_editor))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    FileReveal nothing;
    nothing.showItems = [](const QStringList&, FileReveal::Done done) { done(false); };
    nothing.openUrl = [](const QUrl&, FileReveal::Done done) { done(false); };
    s_shell->commands.setFileReveal(nothing);
    s_shell->commands.share();
    // The first notice offers the path too; this one follows the failed reveal.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !s_editor->noticeCopyPath().isEmpty() && s_editor->noticeRevealPath().isEmpty(); }, kPatienceMs));
    QTest::qWait(250);   // the notice fades in
    QQuickItem* toast = item("noticeToast");
    ASSERT_TRUE(toast && toast->isVisible());
    EXPECT_TRUE(item("noticeCopyPath")->isVisible());
    EXPECT_FALSE(item("noticeShowInFolder")->isVisible());
    // As bright over the dimming of a sheet as over the picture, "Copy Path"
    // in the light accent.
    for (const bool overSheet : {false, true}) {
        s_editor->setShowExportSheet(overSheet);
        QTest::qWait(250);   // the sheet opens
        const QImage image = shoot(overSheet ? QStringLiteral("notice-over-sheet") : QStringLiteral("notice-share"));
        EXPECT_EQ(at(image, toast->mapToScene(QPointF(toast->width() - 14, 6))), themeColor(0x1E1630)) << overSheet;
        EXPECT_GT(pixelsIn(image, item("noticeCopyPath"), [](QColor c) { return c == themeColor(0xB794F6); }), 5)
            << overSheet;
    }
    s_editor->setShowExportSheet(false);
    s_editor->dismissNotice();
    s_shell->commands.setFileReveal(FileReveal{});
}

// A long error keeps its beginning, which says what failed; the end gives way.
TEST_F(Screens, ALongErrorIsCutAtItsEnd)
{
    s_editor->setLastError(QStringLiteral("Couldn't save holiday-photos-from-the-long-weekend-at-the-lake-with-everyone.png: "
                                          "the folder /media/usb-stick/pictures/2026/summer is read-only."));
    shoot(QStringLiteral("status-long-error"));
    QQuickItem* error = item("statusError");
    ASSERT_TRUE(error && error->isVisible());
    EXPECT_TRUE(error->property("truncated").toBool());
    EXPECT_LE(error->width(), 420);
    EXPECT_EQ(error->property("elide").toInt(), int(Qt::ElideRight));
    s_editor->setLastError({});
}

} // namespace
} // namespace zephrin

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    // A QApplication, as the program's: its file dialogs are widgets.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    zephrin::applyDialogStyle(app);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
