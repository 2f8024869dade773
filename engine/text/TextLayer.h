#pragma once
// One text overlay or label shape placed over the composite. Every geometric
// field is relative to the output image (W × H pixels; the layer's scale is H),
// so one layer renders the same at preview and at export size.

#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace zephrin {

// The ranges beside the numeric fields are what the text and shape controls
// offer. The renderer takes any value: the canvas's resize handles take a
// label's size up to 3, beyond its sliders.
struct TextLayer {
    QUuid id = QUuid::createUuid();               // a copy keeps it; a new layer gets a fresh one
    QString text = QStringLiteral("Your Text");   // "\n" separates lines
    QString fontName = QStringLiteral("HelveticaNeue-Bold");  // PostScript or full name
    QString fontLabel = QStringLiteral("Helvetica Neue");     // the font's name as the user sees it
    std::optional<QString> fontID;                // the downloadable font picked; the renderer ignores it
    static constexpr SettingRange sizeRange{0.02, 0.4, 0.005, 0.1};
    double size = sizeRange.defaultValue;  // font size, fraction of H (see fontSize)
    RGBAColor color{0.1, 0.1, 0.12, 1};
    double x = 0.5;                               // centre, fraction of W from the left edge
    double y = 0.15;                              // centre, fraction of H from the top edge
    bool bold = false;
    bool italic = false;
    static constexpr SettingRange outlineRange{0, 0.25, 0.005, 0};
    double outline = outlineRange.defaultValue;  // fraction of the font size; stroke is twice that; ≤ 0.001 is none
    RGBAColor outlineColor{1, 1, 1, 1};
    QString effect = QStringLiteral("none");      // "none", "shadow" or "glow"; anything else draws nothing
    RGBAColor effectColor{0, 0, 0, 0.6};
    static constexpr SettingRange effectSizeRange{0.05, 1, 0.01, 0.5};
    double effectSize = effectSizeRange.defaultValue;  // multiplies the effect's offset and blur
    static constexpr SettingRange curveRange{-100, 100, 1, 0};
    double curve = curveRange.defaultValue;  // arc of curve / 100 × 1.8π; > 0 arches, < 0 bowls, |curve| ≤ 0.5 straight
    QString shape;                                // label shape id; empty = plain text (not "none")
    static constexpr SettingRange shapeWRange{0.04, 2, 0.01, 0.5};
    double shapeW = shapeWRange.defaultValue;  // label width, fraction of H
    static constexpr SettingRange shapeHRange{0.04, 2, 0.01, 0.3};
    double shapeH = shapeHRange.defaultValue;  // label height, fraction of H
    RGBAColor fill = kStartViolet;                // label fill
    static constexpr SettingRange borderRange{0, 0.15, 0.005, 0};
    double border = borderRange.defaultValue;  // fraction of the label's shorter side
    RGBAColor borderColor{1, 1, 1, 1};
    bool knockout = false;                        // cut the text out of the label instead of drawing it on
    static constexpr SettingRange labelFillRange{0.3, 1, 0.01, 0.85};
    double labelFill = labelFillRange.defaultValue;  // share of the label's text area the text fills; clamped to 0.2 ... 1 where used

    // A new layer with a fresh id and the defaults above.
    static TextLayer makeDefault() { return {}; }

    // Font size in pixels for an image `scale` pixels high: never below 4.
    double fontSize(double scale) const;

    // All 25 fields, id first: layers with different ids are never equal.
    friend bool operator==(const TextLayer&, const TextLayer&) = default;
};

} // namespace zephrin
