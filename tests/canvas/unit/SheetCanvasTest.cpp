// The sticker-sheet canvas: where the preview and the handles go, and a
// handle's drag from press to pin, including the waits that must end.

#include "EditorFixture.h"

#include "canvas/SheetCanvasGeometry.h"
#include "canvas/SheetHandleDrag.h"

namespace zephrin::testing {

TEST(SheetCanvasGeometry, FitsLikeTheDocumentAndScalesInchesToPoints)
{
    // A4 at 300 dpi is 2481 × 3507 pixels; in a canvas whose height binds the
    // fit to 413.5 points wide, an inch is 50 points.
    const double height = 413.5 * 3507 / 2481;
    const SheetCanvasFit fit = fitSheetPreview(QSizeF(1000, height + 48), QSizeF(2481, 3507), 8.27, 1.0);
    EXPECT_NEAR(fit.preview.width(), 413.5, 1e-6);
    EXPECT_NEAR(fit.pointsPerInch, 50, 1e-6);
    EXPECT_NEAR(fit.preview.x(), (1000 - 413.5) / 2, 1e-6);
    const QRectF handle = handleRect(fit, QRectF(2, 3, 1, 1));
    EXPECT_NEAR(handle.x(), fit.preview.x() + 100, 1e-6);
    EXPECT_NEAR(handle.y(), fit.preview.y() + 150, 1e-6);
    EXPECT_NEAR(handle.width(), 50, 1e-6);

    // The zoom grows preview and handles together, and the preview stays centred.
    const SheetCanvasFit zoomed = fitSheetPreview(QSizeF(1000, height + 48), QSizeF(2481, 3507), 8.27, 2.0);
    EXPECT_NEAR(zoomed.pointsPerInch, 100, 1e-6);
    EXPECT_NEAR(zoomed.preview.center().x(), 500, 1e-6);
    EXPECT_NEAR(handleRect(zoomed, QRectF(2, 3, 1, 1)).width(), 100, 1e-6);

    EXPECT_EQ(fitSheetPreview(QSizeF(100, 100), QSizeF(), 8.5, 1).pointsPerInch, 0);
    EXPECT_EQ(droppedCorner(QRectF(1, 2, 1, 1), QPointF(50, -25), 50), QPointF(2, 1.5));
}

namespace {

class SheetHandle : public EditorTest {
protected:
    SheetHandle()
    {
        SheetSettings settings;
        settings.paper = PaperSize::fourBySix;
        settings.region = PrintRegion::margins;
        settings.dpi = 50;
        editor->setSheetSettings(settings);
        openDocument();
        editor->setDefaultStickerWidth(1.0);
        editor->addToStickerSheet();
        runner->settle();
        const SheetPlacement& p = editor->sheetRender()->layout.placements.at(0);
        handle.setEditor(editor.get());
        handle.setPointsPerInch(50);
        handle.setPlacement({{QStringLiteral("key"), p.pinKey()},
                             {QStringLiteral("x"), p.rect.x()},
                             {QStringLiteral("y"), p.rect.y()},
                             {QStringLiteral("width"), p.rect.width()},
                             {QStringLiteral("height"), p.rect.height()}});
        corner = p.rect.topLeft();
        key = p.pinKey();
    }

    SheetHandleDrag handle;
    QPointF corner;
    QString key;
};

} // namespace

TEST_F(SheetHandle, AShortDragDoesNothing)
{
    handle.press({100, 100});
    handle.move({101, 101});
    EXPECT_FALSE(handle.moving());
    EXPECT_FALSE(handle.release({101.2, 101}));
    EXPECT_TRUE(editor->sheetPins().isEmpty());
    EXPECT_FALSE(editor->sheetLayoutPending());
}

TEST_F(SheetHandle, AnAcceptedDropWaitsForTheNextRender)
{
    handle.press({100, 100});
    handle.move({125, 150});
    EXPECT_TRUE(handle.moving());
    EXPECT_EQ(handle.offset(), QPointF(25, 50));
    EXPECT_TRUE(handle.release({125, 150}));
    EXPECT_EQ(editor->sheetPins().value(key), corner + QPointF(0.5, 1.0));
    EXPECT_EQ(handle.offset(), QPointF(25, 50));  // stays where it was dropped
    runner->settle();
    EXPECT_FALSE(handle.moving());
    EXPECT_EQ(handle.offset(), QPointF());
}

TEST_F(SheetHandle, AWaitEndsWhenTheLayoutFailsOrIsCancelled)
{
    engines->failing.insert("renderSheet");
    handle.press({100, 100});
    ASSERT_TRUE(handle.release({125, 150}));
    ASSERT_TRUE(handle.moving());
    runner->settle();
    EXPECT_FALSE(editor->sheetError().isEmpty());
    EXPECT_FALSE(handle.moving());
    // The render a failed layout left takes no pin: the drop springs back.
    handle.press({100, 100});
    EXPECT_FALSE(handle.release({110, 160}));
    EXPECT_FALSE(handle.moving());

    engines->failing.clear();
    editor->layoutSheet();
    runner->settle();
    handle.press({100, 100});
    ASSERT_TRUE(handle.release({110, 160}));
    ASSERT_TRUE(handle.moving());
    editor->setSheetItems({});  // the layout is cancelled with nothing to lay out
    EXPECT_FALSE(handle.moving());
}

TEST_F(SheetHandle, ARefusedDropSpringsBack)
{
    handle.press({100, 100});
    handle.move({100, 100 - 50 * 20});  // far off the paper
    EXPECT_FALSE(handle.release({100, 100 - 50 * 20}));
    EXPECT_FALSE(handle.moving());
    EXPECT_TRUE(editor->sheetPins().isEmpty());
}

} // namespace zephrin::testing
