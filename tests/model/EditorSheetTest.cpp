// The sticker sheet in the editor: the debounced layout and its busy state,
// what a failed or pending layout withholds from export, adding and removing
// designs, and pinning copies by hand.

#include "EditorFixture.h"

#include "model/editor/SheetPinRules.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

namespace zephrin::testing {

namespace {

class EditorSheet : public EditorTest {
protected:
    EditorSheet()
    {
        // A small page at a low resolution keeps the real sheet engine quick.
        SheetSettings settings;
        settings.paper = PaperSize::fourBySix;
        settings.region = PrintRegion::margins;
        settings.dpi = 60;
        editor->setSheetSettings(settings);
    }

    // Opens a picture, adds its cutout and lays the sheet out.
    void addDesign(const QString& name = QStringLiteral("beach.png"), double width = 1.0, std::int64_t count = 1)
    {
        openDocument(name);
        editor->setDefaultStickerWidth(width);
        editor->addToStickerSheet();
        if (count != 1)
            editor->setSheetItemField(uuidString(editor->sheetItems().back().id), QStringLiteral("count"),
                                      double(count));
        runner->settle();
    }

    const SheetPlacement& placement(std::size_t index) const
    {
        return editor->sheetRender()->layout.placements.at(index);
    }

    // Two 1 in copies of one design, laid out.
    std::pair<SheetPlacement, SheetPlacement> twoCopies()
    {
        addDesign(QStringLiteral("one.png"), 1.0, 2);
        EXPECT_EQ(editor->sheetRender()->layout.placements.size(), 2u);
        return {placement(0), placement(1)};
    }

    void changeSpacing(double inches)
    {
        SheetSettings settings = editor->sheetSettings();
        settings.spacingInches = inches;
        editor->setSheetSettings(settings);
    }
};

} // namespace

TEST_F(EditorSheet, ABurstOfChangesCostsOneLayoutAfterTheWait)
{
    addDesign();
    ASSERT_TRUE(editor->sheetRender());
    EXPECT_EQ(engines->calls("renderSheet"), 1);
    EXPECT_EQ(editor->sheetRenderStamp(), 1);
    EXPECT_EQ(editor->tool(), EditorTool::sheet);

    changeSpacing(0.2);
    EXPECT_TRUE(editor->isProcessing());
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Laying out sheet…"));
    runner->advance(std::chrono::milliseconds(100));
    changeSpacing(0.3);
    runner->advance(std::chrono::milliseconds(100));
    editor->setSheetPins({});
    runner->advance(std::chrono::milliseconds(119));
    EXPECT_EQ(runner->pendingJobs(), 0u);  // still waiting
    runner->settle();
    EXPECT_EQ(engines->calls("renderSheet"), 2);
    EXPECT_EQ(editor->sheetRenderStamp(), 2);
    EXPECT_FALSE(editor->isProcessing());

    // An equal settings value lays nothing out; an equal list of designs does.
    editor->setSheetSettings(SheetSettings(editor->sheetSettings()));
    runner->settle();
    EXPECT_EQ(engines->calls("renderSheet"), 2);
    editor->setSheetItems(std::vector<StickerItem>(editor->sheetItems()));
    runner->settle();
    EXPECT_EQ(engines->calls("renderSheet"), 3);
}

TEST_F(EditorSheet, EmptyingTheSheetEndsAPendingLayoutsBusyState)
{
    addDesign();
    changeSpacing(0.2);
    ASSERT_TRUE(editor->isProcessing());
    ASSERT_TRUE(editor->sheetLayoutPending());

    editor->removeSheetItem(editor->sheetItems().front().id);
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_FALSE(editor->sheetLayoutPending());
    EXPECT_FALSE(editor->sheetRender());
    runner->settle();
    EXPECT_EQ(engines->calls("renderSheet"), 1);
    EXPECT_FALSE(editor->sheetRender());
}

// A layout that places nothing is no sheet to print: both exports refuse it,
// and say why.
TEST_F(EditorSheet, ASheetThatPlacesNothingIsNotExported)
{
    addDesign(QStringLiteral("beach.png"), 9.0, 7);   // wider than the 4 × 6 in paper
    ASSERT_TRUE(editor->sheetRender());
    EXPECT_EQ(editor->sheetRender()->layout.placedCount, 0);
    EXPECT_EQ(editor->sheetRender()->layout.requestedCount, 7);
    EXPECT_FALSE(editor->sheetExportable());
    EXPECT_EQ(editor->sheetExportRefusal(),
              QStringLiteral("No sticker fits on the sheet, so there is nothing to export — reduce size or count."));
    editor->exportStickerSheetPNG();
    editor->exportStickerSheetCutSVG();
    EXPECT_FALSE(editor->exportFile());
    EXPECT_FALSE(editor->showFileExporter());
}

TEST_F(EditorSheet, OnlyTheLayoutOfTheSheetAsItStandsIsExported)
{
    addDesign();
    ASSERT_TRUE(editor->sheetExportable());

    editor->exportStickerSheetPNG();
    ASSERT_TRUE(editor->exportFile());
    EXPECT_EQ(editor->exportFile()->format, ExportFormat::png);
    EXPECT_TRUE(editor->exportFile()->data.startsWith("\x89PNG"));
    EXPECT_EQ(editor->exportFile()->name, QStringLiteral("sticker-sheet"));
    EXPECT_TRUE(editor->showFileExporter());

    editor->setShowFileExporter(false);
    editor->exportStickerSheetCutSVG();
    EXPECT_EQ(editor->exportFile()->format, ExportFormat::svg);
    EXPECT_TRUE(editor->exportFile()->data.contains("<svg"));
    EXPECT_EQ(editor->exportFile()->name, QStringLiteral("sticker-sheet-cut"));
    EXPECT_TRUE(editor->showFileExporter());

    // Pending: the old render shows, but neither file may come from it.
    editor->setShowFileExporter(false);
    changeSpacing(0.2);
    EXPECT_TRUE(editor->sheetRender());
    EXPECT_FALSE(editor->sheetExportable());
    editor->exportStickerSheetPNG();
    editor->exportStickerSheetCutSVG();
    EXPECT_FALSE(editor->showFileExporter());

    // Failed: the error shows, the last good render stays, still no export.
    engines->failing.insert("renderSheet");
    runner->settle();
    EXPECT_EQ(editor->sheetError(), QStringLiteral("The image couldn't be rendered."));
    EXPECT_TRUE(editor->sheetRender());
    EXPECT_EQ(editor->sheetRenderStamp(), 1);
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_FALSE(editor->sheetExportable());
    editor->exportStickerSheetCutSVG();
    EXPECT_FALSE(editor->showFileExporter());

    // The next good layout clears the error and may be exported again.
    engines->failing.clear();
    changeSpacing(0.25);
    runner->settle();
    EXPECT_TRUE(editor->sheetError().isEmpty());
    EXPECT_TRUE(editor->sheetExportable());
}

TEST_F(EditorSheet, AddsTheResultTrimmedAndNamedAfterTheDocument)
{
    editor->addToStickerSheet();
    EXPECT_TRUE(editor->sheetItems().empty());  // nothing to add
    EXPECT_NE(editor->tool(), EditorTool::sheet);

    // A subject off the centre on both axes, in the top left of a 120 × 80
    // picture: white, with the red block's top left corner in its bottom right.
    engines->subject = QRect(8, 6, 40, 30);
    addDesign(QStringLiteral("beach.png"), 1.5);
    ASSERT_EQ(editor->sheetItems().size(), 1u);
    const StickerItem& item = editor->sheetItems().front();
    EXPECT_EQ(item.name, QStringLiteral("beach"));
    EXPECT_EQ(item.widthInches, 1.5);
    EXPECT_EQ(item.count, 1);
    // The subject's box (with its soft edge), taken from where it lies: a
    // crop flipped on either axis would find red in the top or the left.
    const QImage image = toQImage(item.image.image());
    EXPECT_GE(image.width(), 40);
    EXPECT_LE(image.width(), 46);
    EXPECT_GE(image.height(), 30);
    EXPECT_LE(image.height(), 36);
    const auto at = [&](double x, double y) { return image.pixelColor(int(x * image.width()), int(y * image.height())); };
    EXPECT_EQ(at(0.2, 0.2), QColor(Qt::white));
    EXPECT_EQ(at(0.85, 0.85), QColor(Qt::red));
    EXPECT_EQ(at(0.2, 0.85), QColor(Qt::white));
    EXPECT_EQ(at(0.85, 0.2), QColor(Qt::white));
    engines->subject = {};

    // Importing another picture leaves the sheet alone.
    openDocument(QStringLiteral("second.png"));
    EXPECT_EQ(editor->sheetItems().size(), 1u);
    EXPECT_TRUE(editor->sheetRender());
}

TEST_F(EditorSheet, RemovingADesignDropsItsUpperCasePinsOnly)
{
    addDesign(QStringLiteral("one.png"));
    addDesign(QStringLiteral("two.png"));
    const QUuid first = editor->sheetItems().front().id;
    const QUuid second = editor->sheetItems().back().id;
    ASSERT_EQ(editor->sheetRender()->layout.placements.size(), 2u);

    const SheetPlacement moved = placement(0);
    ASSERT_TRUE(editor->moveStickerPin(moved.pinKey(), QPointF(3.9, 5.9)));  // the free lower right corner
    runner->settle();
    // Every copy is pinned now, under keys in upper case.
    ASSERT_EQ(editor->sheetPins().size(), 2);
    for (auto it = editor->sheetPins().begin(); it != editor->sheetPins().end(); ++it)
        EXPECT_EQ(it.key(), it.key().toUpper());
    EXPECT_TRUE(editor->sheetPins().contains(uuidString(first) + QStringLiteral("#0")));

    editor->removeSheetItem(first.toString(QUuid::WithoutBraces));  // the lower-case form names it too
    runner->settle();
    ASSERT_EQ(editor->sheetItems().size(), 1u);
    EXPECT_EQ(editor->sheetItems().front().id, second);
    EXPECT_EQ(editor->sheetPins().keys(), QList<QString>{uuidString(second) + QStringLiteral("#0")});

    editor->clearStickerSheet();
    EXPECT_TRUE(editor->sheetItems().empty());
    EXPECT_TRUE(editor->sheetPins().isEmpty());
    EXPECT_FALSE(editor->sheetRender());
}

TEST_F(EditorSheet, PinsAreClampedIntoThePrintableArea)
{
    addDesign(QStringLiteral("one.png"), 1.0);
    const SheetPlacement copy = placement(0);
    const QRectF area = editor->sheetSettings().printableArea();  // 4 × 6 less 0.25 a side

    ASSERT_TRUE(editor->moveStickerPin(copy.pinKey(), QPointF(3.9, -0.1)));
    const QPointF pinned = editor->sheetPins().value(copy.pinKey());
    EXPECT_DOUBLE_EQ(pinned.x(), area.right() - copy.rect.width());
    EXPECT_DOUBLE_EQ(pinned.y(), area.top());
    runner->settle();
    EXPECT_TRUE(editor->sheetNotice().isEmpty());

    // Without a render, for an unknown key, or dropped wholly off the paper:
    // refused, nothing changes.
    const SheetPins before = editor->sheetPins();
    const QString key = placement(0).pinKey();
    EXPECT_FALSE(editor->moveStickerPin(key.toLower() + QStringLiteral("x"), QPointF(1, 1)));
    EXPECT_FALSE(editor->moveStickerPin(key, QPointF(4.5, 1)));
    EXPECT_FALSE(editor->moveStickerPin(key, QPointF(1, -3)));
    EXPECT_FALSE(editor->moveStickerPin(key, QPointF(qQNaN(), 1)));
    EXPECT_EQ(editor->sheetPins(), before);
    EXPECT_FALSE(editor->sheetLayoutPending());

    editor->clearStickerSheet();
    EXPECT_FALSE(editor->moveStickerPin(key, QPointF(1, 1)));
}

// Every drop the editor refuses says why, in the notice the panel shows,
// and signals it even when the notice already says so.
TEST_F(EditorSheet, EveryRefusedDropSaysWhy)
{
    const auto [a, b] = twoCopies();
    QSignalSpy refused(editor.get(), &EditorState::stickerPinRefused);

    const struct {
        const char* what;
        QString key;
        QPointF corner;
        std::function<void()> before;
        const char* notice;
    } cases[] = {
        // Touching is too close, not on it; the second time says it again.
        {"touching", b.pinKey(), {a.rect.right(), a.rect.top()}, {},
         "That spot is too close to another sticker — try a little further away."},
        {"again", b.pinKey(), {a.rect.right(), a.rect.top()}, {},
         "That spot is too close to another sticker — try a little further away."},
        {"on the other copy", b.pinKey(), a.rect.topLeft() + QPointF(0.3, 0.2), {},
         "That spot is on another sticker — drop it where the sheet is free."},
        {"off the paper", b.pinKey(), {4.5, 1}, {}, "That spot is off the paper — drop the sticker on the sheet."},
        {"a copy the layout lacks", b.pinKey() + QStringLiteral("9"), {2, 4}, {},
         "That sticker is no longer on the sheet."},
        {"a layout under way", b.pinKey(), {2, 4}, [&] { changeSpacing(0.2); },
         "The sheet is still being laid out — try again in a moment."},
        {"a failed layout", b.pinKey(), {2, 4},
         [&] {
             engines->failing.insert("renderSheet");
             runner->settle();
         },
         "Stickers can't be moved while the sheet can't be laid out."},
    };
    for (const auto& c : cases) {
        if (c.before)
            c.before();
        const int count = refused.count();
        EXPECT_FALSE(editor->moveStickerPin(c.key, c.corner)) << c.what;
        EXPECT_EQ(editor->sheetNotice(), QString::fromUtf8(c.notice)) << c.what;
        EXPECT_EQ(refused.count(), count + 1) << c.what;
        EXPECT_TRUE(editor->sheetPins().isEmpty()) << c.what;
    }
}

TEST_F(EditorSheet, ACopyFarEnoughAwayIsPinnedAndTheNoticeGoes)
{
    const auto [a, b] = twoCopies();
    const double spacing = editor->sheetSettings().spacingInches;
    QPointF wanted(a.rect.right() + spacing, a.rect.top());
    EXPECT_FALSE(editor->moveStickerPin(b.pinKey(), wanted));
    ASSERT_FALSE(editor->sheetNotice().isEmpty());

    // A little more is far enough; the notice goes.
    wanted.rx() += 0.001;
    ASSERT_LE(wanted.x() + b.rect.width(), editor->sheetSettings().printableArea().right()) << "room on the paper";
    EXPECT_TRUE(editor->moveStickerPin(b.pinKey(), wanted));
    EXPECT_TRUE(editor->sheetNotice().isEmpty());
    EXPECT_EQ(editor->sheetPins().size(), 2);
    EXPECT_EQ(editor->sheetPins().value(a.pinKey()), a.rect.topLeft());

    // A refused drop's notice goes with the arrangement it was about.
    runner->settle();
    EXPECT_FALSE(editor->moveStickerPin(b.pinKey(), QPointF(a.rect.right() + spacing, a.rect.top())));
    ASSERT_FALSE(editor->sheetNotice().isEmpty());
    SheetSettings other = editor->sheetSettings();
    other.spacingInches += 0.05;
    editor->setSheetSettings(other);
    EXPECT_TRUE(editor->sheetNotice().isEmpty());
}

TEST_F(EditorSheet, NoPinLandsOnALayoutStillToComeOrFailedAndClearForgetsTheLastError)
{
    addDesign(QStringLiteral("one.png"));
    addDesign(QStringLiteral("two.png"));
    const QUuid first = editor->sheetItems().front().id;
    const QString secondKey = uuidString(editor->sheetItems().back().id) + QStringLiteral("#0");

    // The render on screen still holds the removed design's copy: freezing
    // it would pin a design that is gone; so it would when its layout failed.
    editor->removeSheetItem(first);
    ASSERT_TRUE(editor->sheetLayoutPending());
    EXPECT_FALSE(editor->moveStickerPin(secondKey, QPointF(2.5, 4.5)));
    engines->failing.insert("renderSheet");
    runner->settle();
    ASSERT_FALSE(editor->sheetError().isEmpty());
    ASSERT_FALSE(editor->sheetLayoutPending());
    EXPECT_FALSE(editor->moveStickerPin(secondKey, QPointF(2.5, 4.5)));
    EXPECT_TRUE(editor->sheetPins().isEmpty());

    engines->failing.clear();
    editor->layoutSheet();
    runner->settle();
    EXPECT_TRUE(editor->moveStickerPin(secondKey, QPointF(2.5, 4.5)));
    EXPECT_EQ(editor->sheetPins().keys(), QList<QString>{secondKey});

    engines->failing.insert("renderSheet");
    runner->settle();
    ASSERT_FALSE(editor->sheetError().isEmpty());
    editor->clearStickerSheet();
    EXPECT_TRUE(editor->sheetError().isEmpty());
}

TEST_F(EditorSheet, PinsKeepTheirPlaceInThePrintableAreaWhenThePaperChanges)
{
    SheetSettings settings;
    settings.paper = PaperSize::letter;
    settings.dpi = 30;
    editor->setSheetSettings(settings);
    addDesign(QStringLiteral("one.png"), 1.0, 8);
    ASSERT_EQ(editor->sheetRender()->layout.placements.size(), 8u);

    // Every copy pinned, the group pushed against the area's lower right corner.
    const auto relativePlaces = [&] {
        const QPointF origin = editor->sheetSettings().printableArea().topLeft();
        std::map<QString, QPointF> places;
        for (const SheetPlacement& p : editor->sheetRender()->layout.placements)
            places[p.pinKey()] = p.rect.topLeft() - origin;
        return places;
    };
    const SheetLayout& layout = editor->sheetRender()->layout;
    QRectF group;
    for (const SheetPlacement& p : layout.placements)
        group |= p.rect;
    const QRectF area = editor->sheetSettings().printableArea();
    const QPointF push = area.bottomRight() - group.bottomRight();
    editor->setSheetPins(sheetpins::shiftedPins(
        sheetpins::frozenPins(layout, {}, placement(0).pinKey(), placement(0).rect.topLeft()), push));
    runner->settle();
    const auto pinned = relativePlaces();
    ASSERT_EQ(pinned.size(), 8u);

    // A4 in the same cutter region has the same usable size at another place.
    settings.paper = PaperSize::a4;
    editor->setSheetSettings(settings);
    runner->settle();
    const auto moved = relativePlaces();
    ASSERT_EQ(moved.size(), 8u);
    for (const auto& [key, place] : pinned) {
        EXPECT_NEAR(moved.at(key).x(), place.x(), 1e-9) << key.toStdString();
        EXPECT_NEAR(moved.at(key).y(), place.y(), 1e-9) << key.toStdString();
    }
}

TEST(SheetPinRules, ClampKeepsAnOversizedCopyAtTheNearEdges)
{
    const QRectF area(0.25, 0.25, 3.5, 5.5);
    EXPECT_EQ(sheetpins::clampedCorner({-1, -1}, {1, 1}, area), QPointF(0.25, 0.25));
    EXPECT_EQ(sheetpins::clampedCorner({9, 9}, {1, 1}, area), QPointF(2.75, 4.75));
    EXPECT_EQ(sheetpins::clampedCorner({2, 3}, {1, 1}, area), QPointF(2, 3));
    // Wider and taller than the area: its left and top edges, never beyond.
    EXPECT_EQ(sheetpins::clampedCorner({2, 3}, {5, 7}, area), QPointF(0.25, 0.25));
}

TEST(SheetPinRules, CricutAreaIsCentredAndCapped)
{
    SheetSettings settings;
    settings.paper = PaperSize::a4;
    const QRectF a4 = settings.printableArea();
    EXPECT_NEAR(a4.width(), 6.75, 1e-9);
    EXPECT_NEAR(a4.height(), 9.25, 1e-9);
    EXPECT_NEAR(a4.left(), (8.27 - 6.75) / 2, 1e-9);
    EXPECT_NEAR(a4.top(), (11.69 - 9.25) / 2, 1e-9);
    settings.paper = PaperSize::fourBySix;
    EXPECT_EQ(settings.printableArea(), QRectF(0.25, 0.25, 3.5, 5.5));
}

TEST(SheetPinRules, GapMustExceedTheSpacing)
{
    const QRectF a(0, 0, 1, 1);
    EXPECT_FALSE(sheetpins::farEnoughApart(a, QRectF(1.125, 0, 1, 1), 0.125));
    EXPECT_TRUE(sheetpins::farEnoughApart(a, QRectF(1.126, 0.5, 1, 1), 0.125));
    EXPECT_TRUE(sheetpins::farEnoughApart(a, QRectF(0.5, -1.2, 1, 1), 0.125));  // above, along y
    EXPECT_FALSE(sheetpins::farEnoughApart(a, QRectF(0.5, 0.5, 1, 1), 0.125));  // overlapping
    EXPECT_TRUE(sheetpins::overlapping(a, QRectF(0.5, 0.5, 1, 1)));
    EXPECT_FALSE(sheetpins::overlapping(a, QRectF(1, 0, 1, 1)));  // touching only: too close, not on it
}

TEST_F(EditorSheet, ItemListFollowsTheDesignsAndWritesFields)
{
    StickerItemList& list = *editor->sheetItemList();
    addDesign(QStringLiteral("one.png"));
    addDesign(QStringLiteral("two.png"));
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.data(list.index(1), StickerItemList::NameRole).toString(), QStringLiteral("two"));

    EXPECT_TRUE(list.setData(list.index(0), 2.5, StickerItemList::WidthRole));
    EXPECT_EQ(editor->sheetItems().front().widthInches, 2.5);
    EXPECT_TRUE(list.setData(list.index(0), 3, StickerItemList::CountRole));
    EXPECT_EQ(editor->sheetItems().front().count, 3);
    EXPECT_TRUE(editor->sheetLayoutPending());
    // Unreadable widths change nothing.
    EXPECT_FALSE(list.setData(list.index(0), qQNaN(), StickerItemList::WidthRole));
    EXPECT_FALSE(list.setData(list.index(0), QStringLiteral("wide"), StickerItemList::WidthRole));
    EXPECT_EQ(editor->sheetItems().front().widthInches, 2.5);

    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    editor->removeSheetItem(editor->sheetItems().front().id);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(list.rowCount(), 1);
    runner->settle();
}

TEST_F(EditorSheet, SettingsFromQmlAreCheckedAndClamped)
{
    EXPECT_TRUE(editor->setSheetSetting(QStringLiteral("paper"), QStringLiteral("A4")));
    EXPECT_EQ(editor->sheetSettings().paper, PaperSize::a4);
    EXPECT_FALSE(editor->setSheetSetting(QStringLiteral("paper"), QStringLiteral("Tabloid")));
    EXPECT_TRUE(editor->setSheetSetting(QStringLiteral("borderInches"), 2.0));
    EXPECT_EQ(editor->sheetSettings().borderInches, SheetSettings::borderRange.upper);
    EXPECT_FALSE(editor->setSheetSetting(QStringLiteral("spacingInches"), qInf()));
    EXPECT_FALSE(editor->setSheetSetting(QStringLiteral("dpi"), 1200));
    EXPECT_EQ(editor->sheetSettings().dpi, 60);

    // What QML reads it writes back unchanged.
    const QVariantMap shown = editor->property("sheetSettings").toMap();
    const int changes = emissions(*editor, &EditorState::sheetSettingsChanged, [&] {
        for (const QString& field : {QStringLiteral("paper"), QStringLiteral("region"), QStringLiteral("borderColor"),
                                    QStringLiteral("bleedInches"), QStringLiteral("showCutLines")})
            editor->setSheetSetting(field, shown.value(field));
    });
    EXPECT_EQ(changes, 0);
}

} // namespace zephrin::testing
