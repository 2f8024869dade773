#include "engine/edits/BrushTip.h"
#include "engine/edits/MaskEditOp.h"
#include "engine/matte/MatteEngine.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace zephrin;

namespace {

struct NamedRange {
    std::string name;
    SettingRange range;
};

const std::vector<NamedRange>& everyRange()
{
    using C = CompositeSettings;
    using A = AdjustSettings;
    using T = TextLayer;
    static const std::vector<NamedRange> ranges = {
        {"feather", MatteSettings::featherRange}, {"decontaminate", MatteSettings::decontaminateRange},
        {"exposure", A::exposureRange}, {"contrast", A::contrastRange}, {"saturation", A::saturationRange},
        {"warmth", A::warmthRange}, {"tintStrength", C::tintStrengthRange}, {"edgeBlend", C::edgeBlendRange},
        {"backgroundBlur", C::backgroundBlurRange}, {"shadowOpacity", C::shadowOpacityRange},
        {"shadowBlur", C::shadowBlurRange}, {"shadowOffsetX", C::shadowOffsetXRange},
        {"shadowOffsetY", C::shadowOffsetYRange}, {"outlineWidth", C::outlineWidthRange},
        {"padding", C::paddingRange}, {"cornerRadius", C::cornerRadiusRange}, {"text size", T::sizeRange},
        {"text outline", T::outlineRange}, {"effectSize", T::effectSizeRange}, {"curve", T::curveRange},
        {"shapeW", T::shapeWRange}, {"shapeH", T::shapeHRange}, {"label border", T::borderRange},
        {"labelFill", T::labelFillRange}, {"flat tolerance", MatteEngine::flatToleranceRange},
        {"close gaps", MatteEngine::flatCloseGapsRange}, {"colour tolerance", MaskColorKey::toleranceRange},
        {"brush size", kBrushSizeRange}, {"brush hardness", kBrushHardnessRange},
        {"export quality", kExportQualityRange},
    };
    return ranges;
}

// How far `value` lies from the nearest multiple of `step`, in steps.
double offGrid(double value, double step)
{
    const double steps = value / step;
    return std::abs(steps - std::round(steps));
}

constexpr double kHuge = std::numeric_limits<double>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST(SettingRanges, EveryDefaultIsAValueItsControlCanShow)
{
    for (const auto& [name, r] : everyRange()) {
        SCOPED_TRACE(name);
        EXPECT_LT(r.lower, r.upper);
        EXPECT_GT(r.step, 0);
        EXPECT_LE(r.step, r.upper - r.lower);
        EXPECT_GE(r.defaultValue, r.lower);
        EXPECT_LE(r.defaultValue, r.upper);
        // Sliders snap to multiples of the step: a default off that grid would
        // move as soon as the slider is touched.
        EXPECT_LT(offGrid(r.defaultValue, r.step), 1e-9);
    }
}

TEST(SettingRanges, ClampingKeepsInsideValuesAndPinsEverythingElse)
{
    const SettingRange r{-80, 80, 1, 14};
    EXPECT_EQ(r.clamped(-3.25), -3.25) << "no snapping";
    EXPECT_EQ(r.clamped(1e300), 80);
    EXPECT_EQ(r.clamped(-kInfinity), -80);
    EXPECT_EQ(r.clamped(std::nan("")), 14);
}

TEST(SettingRanges, ClampedSettingsHoldNoNumberOutsideItsRange)
{
    for (const double wild : {kHuge, -kHuge, kInfinity, -kInfinity, std::nan("")}) {
        SCOPED_TRACE(wild);
        CompositeSettings c;
        for (double* field : {&c.tintStrength, &c.edgeBlend, &c.backgroundBlur, &c.shadowOpacity, &c.shadowBlur,
                              &c.shadowOffsetX, &c.shadowOffsetY, &c.padding, &c.cornerRadius,
                              &c.subjectAdjust.exposure, &c.subjectAdjust.contrast, &c.backgroundAdjust.saturation,
                              &c.backgroundAdjust.warmth})
            *field = wild;
        c.outlineWidth = wild == -kHuge || wild == -kInfinity ? 12 : wild;
        const CompositeSettings k = c.clamped();
        EXPECT_TRUE(k.tintStrength >= 0 && k.tintStrength <= 100);
        EXPECT_TRUE(k.edgeBlend >= 0 && k.edgeBlend <= 100);
        EXPECT_TRUE(k.backgroundBlur >= 0 && k.backgroundBlur <= 60);
        EXPECT_TRUE(k.shadowOpacity >= 0 && k.shadowOpacity <= 100);
        EXPECT_TRUE(k.shadowBlur >= 0 && k.shadowBlur <= 60);
        EXPECT_TRUE(std::abs(k.shadowOffsetX) <= 80 && std::abs(k.shadowOffsetY) <= 80);
        EXPECT_TRUE(k.outlineWidth >= 1 && k.outlineWidth <= 60);
        EXPECT_TRUE(k.padding >= 0 && k.padding <= 40);
        EXPECT_TRUE(k.cornerRadius >= 0 && k.cornerRadius <= 100);
        EXPECT_TRUE(std::abs(k.subjectAdjust.exposure) <= 2 && std::abs(k.subjectAdjust.contrast) <= 50);
        EXPECT_TRUE(std::abs(k.backgroundAdjust.saturation) <= 100 && std::abs(k.backgroundAdjust.warmth) <= 100);

        MatteSettings m;
        m.feather = wild;
        m.decontaminate = wild;
        const MatteSettings km = m.clamped();
        EXPECT_TRUE(km.feather >= 0 && km.feather <= 20);
        EXPECT_TRUE(km.decontaminate >= 0 && km.decontaminate <= 100);
    }

    CompositeSettings thin;
    thin.outlineWidth = 0.5;
    EXPECT_EQ(thin.clamped().outlineWidth, 0.5) << "still too thin to draw, not widened to a drawn pixel";
    EXPECT_EQ(CompositeSettings().clamped(), CompositeSettings());
    EXPECT_EQ(MatteSettings().clamped(), MatteSettings());
}
