#include "engine/edits/ApplyMaskEdits.h"
#include "engine/edits/ColorKeyMatch.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

MaskStroke dab(bool erase, QPointF at, double size, double hardness, BrushTip tip = BrushTip::round)
{
    return MaskStroke{erase, tip, size, hardness, {at}};
}

MaskEditLayers replay(const std::vector<MaskEditOp>& ops, int width = 100, int height = 100,
                      const std::optional<RGBABitmap>& source = std::nullopt)
{
    auto layers = applyMaskEdits(ops, width, height, source);
    EXPECT_TRUE(layers);
    return layers ? *layers : MaskEditLayers{};
}

int erased(const MaskEditLayers& layers, int x, int y) { return layers.erase.pixels.at<uchar>(y, x); }
int restored(const MaskEditLayers& layers, int x, int y) { return layers.restore.pixels.at<uchar>(y, x); }

bool untouched(const MaskEditLayers& layers)
{
    return cv::countNonZero(layers.erase.pixels) == 0 && cv::countNonZero(layers.restore.pixels) == 0;
}

// A bitmap of one colour whose pixel (x, 0) has red raised by x.
RGBABitmap redRamp(int width, int height)
{
    RGBABitmap bitmap{width, height, std::vector<std::uint8_t>(size_t(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = bitmap.bytes.data() + (size_t(y) * width + x) * 4;
            p[0] = uchar(std::min(128 + x, 255));
            p[1] = p[2] = 128;
            p[3] = 255;
        }
    return bitmap;
}

const RGBAColor kGrey128{128 / 255.0, 128 / 255.0, 128 / 255.0, 1};

} // namespace

TEST(ApplyMaskEdits, GivesNothingForNoOpsOrNoPixels)
{
    EXPECT_FALSE(applyMaskEdits({}, 10, 10));
    EXPECT_FALSE(applyMaskEdits({dab(true, {1, 1}, 4, 1)}, 0, 10));
    EXPECT_FALSE(applyMaskEdits({dab(true, {1, 1}, 4, 1)}, 10, -1));
    EXPECT_FALSE(applyMaskEdits({dab(true, {1, 1}, 4, 1)}, 100000, 100000));
    const auto layers = applyMaskEdits({MaskStroke{}}, 7, 5);
    ASSERT_TRUE(layers);
    EXPECT_EQ(layers->erase.size(), cv::Size(7, 5));
    EXPECT_EQ(layers->restore.size(), cv::Size(7, 5));
    EXPECT_TRUE(untouched(*layers));
}

TEST(ApplyMaskEdits, RoundBrushIsSolidToHardnessAndFadesToTheRim)
{
    // Size 20, hardness 0.5: solid within 5 px of the centre, nothing at 10.
    const auto soft = replay({dab(true, {50.5, 50.5}, 20, 0.5)});
    EXPECT_EQ(erased(soft, 50, 50), 255);
    EXPECT_EQ(erased(soft, 55, 50), 255);
    EXPECT_EQ(erased(soft, 50, 45), 255);
    EXPECT_EQ(erased(soft, 57, 50), 153); // (10 − 7) / 5
    EXPECT_EQ(erased(soft, 60, 50), 0);
    EXPECT_EQ(cv::countNonZero(soft.restore.pixels), 0);

    const auto hard = replay({dab(true, {50.5, 50.5}, 20, 1)});
    EXPECT_EQ(erased(hard, 59, 50), 255);
    EXPECT_EQ(erased(hard, 60, 50), 255);
    EXPECT_EQ(erased(hard, 61, 50), 0);

    // A tiny brush still draws a dab of radius 0.5.
    const auto tiny = replay({dab(true, {10.5, 10.5}, 0.4, 1)});
    EXPECT_EQ(erased(tiny, 10, 10), 255);
    EXPECT_EQ(cv::countNonZero(tiny.erase.pixels), 1);
}

TEST(ApplyMaskEdits, SquareBrushCoversAnAxisAlignedSquare)
{
    const auto aligned = replay({dab(false, {50, 50}, 10, 0, BrushTip::square)});
    EXPECT_EQ(restored(aligned, 45, 45), 255);
    EXPECT_EQ(restored(aligned, 54, 54), 255);
    EXPECT_EQ(restored(aligned, 55, 50), 0);
    EXPECT_EQ(restored(aligned, 44, 50), 0);
    EXPECT_EQ(cv::countNonZero(aligned.restore.pixels), 100);
    // Half a pixel off the grid, the edge pixels are half covered.
    const auto offset = replay({dab(false, {50.5, 50}, 10, 0, BrushTip::square)});
    EXPECT_EQ(restored(offset, 45, 50), 128);
    EXPECT_EQ(restored(offset, 55, 50), 128);
}

TEST(ApplyMaskEdits, LaterEditWins)
{
    const MaskStroke erase{true, BrushTip::round, 30, 1, {{20, 50}, {80, 50}}};
    MaskStroke restore = erase;
    restore.erase = false;

    const auto restoredLast = replay({erase, restore});
    EXPECT_EQ(erased(restoredLast, 50, 50), 0);
    EXPECT_EQ(restored(restoredLast, 50, 50), 255);

    const auto erasedLast = replay({restore, erase});
    EXPECT_EQ(erased(erasedLast, 50, 50), 255);
    EXPECT_EQ(restored(erasedLast, 50, 50), 0);

    // A shape erases over an earlier restore too.
    const auto shaped = replay({restore, MaskShape{SelectionKind::rectangle, {{40, 40}, {60, 60}}, true}});
    EXPECT_EQ(erased(shaped, 50, 50), 255);
    EXPECT_EQ(restored(shaped, 50, 50), 0);
    EXPECT_EQ(restored(shaped, 30, 50), 255);
}

TEST(ApplyMaskEdits, RectangleSpansTheFirstAndLastPoint)
{
    const auto layers = replay({MaskShape{SelectionKind::rectangle, {{100, 50}, {30, 80}, {20, 10}}, true}}, 120, 100);
    EXPECT_EQ(erased(layers, 20, 10), 255);
    EXPECT_EQ(erased(layers, 99, 49), 255);
    EXPECT_EQ(erased(layers, 100, 30), 0);
    EXPECT_EQ(erased(layers, 50, 50), 0);
    EXPECT_EQ(erased(layers, 30, 79), 0); // the middle point is ignored
    EXPECT_EQ(cv::countNonZero(layers.erase.pixels), 80 * 40);
}

TEST(ApplyMaskEdits, ShapeEdgesAreAntialiased)
{
    const auto layers = replay({MaskShape{SelectionKind::rectangle, {{10.5, 0}, {20, 10}}, true}}, 30, 10);
    EXPECT_NEAR(erased(layers, 10, 5), 128, 2);
    EXPECT_EQ(erased(layers, 11, 5), 255);
    EXPECT_EQ(erased(layers, 9, 5), 0);
}

TEST(ApplyMaskEdits, ShapeWithoutAPathChangesNothing)
{
    for (SelectionKind kind : {SelectionKind::lasso, SelectionKind::polygon})
        for (bool inside : {true, false})
            EXPECT_TRUE(untouched(replay({MaskShape{kind, {{10, 10}, {90, 90}}, inside}})));
}

TEST(ApplyMaskEdits, OutsideOfASelfIntersectingLassoIsTheComplementOfInside)
{
    // A pentagram: its centre is wound around twice and lies inside.
    std::vector<QPointF> star;
    for (int i = 0; i < 5; ++i) {
        const double angle = -M_PI / 2 + i * 4 * M_PI / 5;
        star.push_back({50 + 40 * std::cos(angle), 50 + 40 * std::sin(angle)});
    }
    const auto in = replay({MaskShape{SelectionKind::lasso, star, true}});
    const auto out = replay({MaskShape{SelectionKind::lasso, star, false}});
    EXPECT_EQ(erased(in, 50, 50), 255);
    EXPECT_EQ(erased(out, 50, 50), 0);
    EXPECT_EQ(erased(out, 2, 2), 255);
    cv::Mat sum;
    cv::add(in.erase.pixels, out.erase.pixels, sum, cv::noArray(), CV_32S);
    EXPECT_EQ(cv::countNonZero(sum != 255), 0);
}

TEST(ColorKeyMatch, FullWithinToleranceAndNoneBeyondItsSoftEdge)
{
    const auto at20 = ColorKeyMatch::forTolerance(20);
    EXPECT_NEAR(at20.full, 0.0884, 1e-4);
    EXPECT_NEAR(at20.none, 0.1836, 1e-4);
    EXPECT_EQ(at20.at(0.08), 1);
    EXPECT_NEAR(at20.at(0.136), 0.5, 1e-9);
    EXPECT_EQ(at20.at(0.1836 + 1e-6), 0);
}

TEST(ApplyMaskEdits, ColourKeyErasesNearColoursOrKeepsThem)
{
    const RGBABitmap bitmap = redRamp(60, 4);
    const MaskColorKey remove{{kGrey128}, 20, false, std::nullopt, {}};
    const auto removed = replay({remove}, 60, 4, bitmap);
    EXPECT_EQ(erased(removed, 0, 1), 255);  // the key colour itself
    EXPECT_EQ(erased(removed, 20, 1), 255); // 20/255 ≈ 0.078, within 0.0884
    EXPECT_EQ(erased(removed, 46, 1), 8);   // 46/255 ≈ 0.180: ⌊(1 − 0.966) × 255⌋
    EXPECT_EQ(restored(removed, 46, 1), 0);
    EXPECT_EQ(erased(removed, 47, 1), 0);   // 47/255 ≈ 0.184, beyond 0.1836

    MaskColorKey keep = remove;
    keep.keep = true;
    const auto kept = replay({keep}, 60, 4, bitmap);
    EXPECT_EQ(erased(kept, 20, 1), 0);
    EXPECT_EQ(erased(kept, 47, 1), 255);
}

TEST(ApplyMaskEdits, ColourKeyStaysWithinItsSelectionAndNeedsAMatchingBitmap)
{
    const RGBABitmap bitmap = redRamp(60, 4);
    const MaskColorKey within{{kGrey128}, 20, false, SelectionKind::rectangle, {{0, 0}, {10, 4}}};
    const auto layers = replay({within}, 60, 4, bitmap);
    EXPECT_EQ(erased(layers, 5, 1), 255);
    EXPECT_EQ(erased(layers, 15, 1), 0);

    const MaskColorKey everywhere{{kGrey128}, 20, false, std::nullopt, {}};
    EXPECT_TRUE(untouched(replay({everywhere}, 60, 4, redRamp(59, 4))));
    EXPECT_TRUE(untouched(replay({everywhere}, 60, 4)));
    EXPECT_TRUE(untouched(replay({MaskColorKey{{}, 20, false, std::nullopt, {}}}, 60, 4, bitmap)));
}
