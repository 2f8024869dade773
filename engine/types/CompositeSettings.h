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
#include "engine/types/ShapeCrop.h"

#include <QList>
#include <QRectF>

#include <optional>

namespace zephrin {

// Percent fields are 0 to 100. Lengths are the compositor's units.
struct CompositeSettings {
    std::optional<QRectF> crop;                   // source pixels, image space (origin top left, y down)
    bool mirror = false;                          // mirror the result horizontally
    ColorMode colorMode = ColorMode::none;
    RGBAColor fillColor{0, 0, 0, 1};              // colour of fill mode
    RGBAColor tintColor = kStartViolet;           // colour of tint mode
    double tintStrength = 100;                    // percent
    AdjustSettings subjectAdjust;
    AdjustSettings backgroundAdjust;
    BackgroundMode backgroundMode = BackgroundMode::transparent;
    RGBAColor backgroundColor{1, 1, 1, 1};        // colour of color mode
    double edgeBlend = 60;                        // blends the subject's edge into the background
    double backgroundBlur = 0;
    bool shadowEnabled = false;
    double shadowOpacity = 45;                    // percent
    double shadowBlur = 18;
    double shadowOffsetX = 0;
    double shadowOffsetY = 14;                    // positive = downwards
    bool outlineEnabled = false;
    double outlineWidth = 12;
    RGBAColor outlineColor{1, 1, 1, 1};
    bool trimToContent = false;                   // trim the result to the subject's bounds
    double padding = 6;                           // round the trimmed content, percent of the larger side
    AspectPreset aspect = AspectPreset::original;
    ShapeCrop shapeCrop = ShapeCrop::none;
    double cornerRadius = 20;                     // of the rounded crop
    QList<TextLayer> texts;                       // drawn in list order

    // Field by field in declaration order. Note that Qt compares the crop
    // rectangles with a relative tolerance of 1e-12, far below a pixel.
    friend bool operator==(const CompositeSettings&, const CompositeSettings&) = default;
};

} // namespace zephrin
