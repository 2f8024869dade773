#pragma once
// One sticker sheet's page and sticker styling. Lengths are inches; member
// defaults are the editor's initial values, and the ranges beside the lengths
// are what its controls offer. The engine takes any length: what a page cannot
// hold is left off it.

#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"
#include "output/sheet/PaperSize.h"
#include "output/sheet/PrintRegion.h"

#include <QRectF>

#include <cstdint>

namespace zephrin {

struct SheetSettings {
    PaperSize paper = PaperSize::letter;
    PrintRegion region = PrintRegion::cricut;
    std::int64_t dpi = 300;              // pixels per inch of the print image and the tiles
    static constexpr SettingRange spacingRange{0.03, 0.5, 0.01, 0.125};
    double spacingInches = spacingRange.defaultValue;  // least gap between two stickers' cells
    static constexpr SettingRange borderRange{0, 0.3, 0.01, 0.08};
    double borderInches = borderRange.defaultValue;    // coloured border around the outline; the cut runs along its outer edge
    static constexpr SettingRange bleedRange{0, 0.1, 0.005, 0.03};
    double bleedInches = bleedRange.defaultValue;      // border colour printed beyond the cut line
    RGBAColor borderColor{1, 1, 1, 1};   // colour of border and bleed
    bool showCutLines = true;            // cut contours drawn on the preview

    // Where stickers may go, in page coordinates (inches from the paper's
    // top-left corner, y down):
    //   cricut      the largest rectangle of at most 6.75 × 9.25 that leaves
    //               0.25 on every side, centred on the paper;
    //   silhouette, margins   the paper less 0.25 on every side.
    // Letter + cricut: (0.875, 0.875) 6.75 × 9.25; Letter + margins: (0.25, 0.25) 8 × 10.5.
    QRectF printableArea() const;

    friend bool operator==(const SheetSettings&, const SheetSettings&) = default;
};

} // namespace zephrin
