#pragma once
// Every compositing choice the compositor applies. A default-constructed value is
// the plain cutout: the editor starts from it and returns to it on reset, and
// compares against it to tell whether the user changed anything.

#include "engine/text/TextLayer.h"
#include "engine/types/AdjustSettings.h"
#include "engine/types/AspectPreset.h"
#include "engine/types/BackgroundMode.h"
#include "engine/types/ColorMode.h"
#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"
#include "engine/types/ShapeCrop.h"

#include <QList>
#include <QRectF>

#include <optional>

namespace zephrin {

// Percent fields are 0 to 100. Lengths are the compositor's units (source
// pixels). Each numeric field's range, step and default sit just above it.
struct CompositeSettings {
    std::optional<QRectF> crop;                   // source pixels, image space (origin top left, y down)
    bool mirror = false;                          // mirror the result horizontally
    ColorMode colorMode = ColorMode::none;
    RGBAColor fillColor{0, 0, 0, 1};              // colour of fill mode
    RGBAColor tintColor = kStartViolet;           // colour of tint mode
    static constexpr SettingRange tintStrengthRange{0, 100, 1, 100};
    double tintStrength = tintStrengthRange.defaultValue;  // percent
    AdjustSettings subjectAdjust;
    AdjustSettings backgroundAdjust;
    BackgroundMode backgroundMode = BackgroundMode::transparent;
    RGBAColor backgroundColor{1, 1, 1, 1};        // colour of color mode
    static constexpr SettingRange edgeBlendRange{0, 100, 1, 60};
    double edgeBlend = edgeBlendRange.defaultValue;  // blends the subject's edge into the background
    static constexpr SettingRange backgroundBlurRange{0, 60, 1, 0};
    double backgroundBlur = backgroundBlurRange.defaultValue;
    bool shadowEnabled = false;
    static constexpr SettingRange shadowOpacityRange{0, 100, 1, 45};
    double shadowOpacity = shadowOpacityRange.defaultValue;  // percent
    static constexpr SettingRange shadowBlurRange{0, 60, 1, 18};
    double shadowBlur = shadowBlurRange.defaultValue;
    static constexpr SettingRange shadowOffsetXRange{-80, 80, 1, 0};
    double shadowOffsetX = shadowOffsetXRange.defaultValue;
    static constexpr SettingRange shadowOffsetYRange{-80, 80, 1, 14};
    double shadowOffsetY = shadowOffsetYRange.defaultValue;  // positive = downwards
    bool outlineEnabled = false;
    static constexpr SettingRange outlineWidthRange{1, 60, 1, 12};
    double outlineWidth = outlineWidthRange.defaultValue;
    RGBAColor outlineColor{1, 1, 1, 1};
    bool trimToContent = false;                   // trim the result to the subject's bounds
    static constexpr SettingRange paddingRange{0, 40, 1, 6};
    double padding = paddingRange.defaultValue;  // round the trimmed content, percent of the larger side
    AspectPreset aspect = AspectPreset::original;
    ShapeCrop shapeCrop = ShapeCrop::none;
    static constexpr SettingRange cornerRadiusRange{0, 100, 1, 20};
    double cornerRadius = cornerRadiusRange.defaultValue;  // of the rounded crop, percent
    QList<TextLayer> texts;                       // drawn in list order

    // Every number within its range (a NaN at its default), the adjustments
    // too. An outline width of half a pixel or less is kept: the compositor
    // reads it as an outline too thin to draw. Text layers are left as they are.
    CompositeSettings clamped() const;

    // Field by field in declaration order. Note that Qt compares the crop
    // rectangles with a relative tolerance of 1e-12, far below a pixel.
    friend bool operator==(const CompositeSettings&, const CompositeSettings&) = default;
};

} // namespace zephrin
