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
#include <QPainter>
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
            // A preview at twice its size: the name set in the font itself.
            QImage preview(560, 60, QImage::Format_ARGB32_Premultiplied);
            preview.fill(Qt::transparent);
            QPainter painter(&preview);
            painter.setRenderHint(QPainter::Antialiasing);
            QFont face(QLatin1String(font.family));
            face.setPixelSize(40);
            painter.setFont(face);
            painter.setPen(QColor(0xF6F2FF));
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
        QTRY_VERIFY_WITH_TIMEOUT(!s_editor->isProcessing(), 120000);
        QTest::qWait(300);
        QTRY_VERIFY_WITH_TIMEOUT(!s_editor->isProcessing(), 120000);
    }
};

TEST_F(TextScreens, TextAndLabelsOnThePhoto)
{
    const QString sample = QStringLiteral(ZEPHRIN_SAMPLE_PHOTO);
    if (!QFile::exists(sample))
        GTEST_SKIP() << "no sample photo (scripts/setup fetches it)";
    if (!s_editor->cutout()) {
        s_editor->importImage(QUrl::fromLocalFile(sample));
        QTRY_VERIFY_WITH_TIMEOUT(s_editor->cutout().has_value() && !s_editor->isProcessing(), 120000);
    }
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
    QTRY_VERIFY_WITH_TIMEOUT(item("fontList") && item("fontList")->isVisible(), 10000);
    QTest::qWait(500);
    shoot(QStringLiteral("font-picker"));
    EXPECT_TRUE(item("fontFooter")->isVisible());
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
