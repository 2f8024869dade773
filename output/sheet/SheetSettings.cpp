#include "output/sheet/SheetSettings.h"

#include <algorithm>

namespace zephrin {

namespace {

constexpr double kEdgeInches = 0.25;
constexpr double kCutterWidth = 6.75;    // the largest printable area a print-then-cut machine reads
constexpr double kCutterHeight = 9.25;

} // namespace

QRectF SheetSettings::printableArea() const
{
    const QSizeF page = paperInches(paper);
    const double innerWidth = page.width() - 2 * kEdgeInches;
    const double innerHeight = page.height() - 2 * kEdgeInches;
    switch (region) {
    case PrintRegion::cricut: {
        const double width = std::min(innerWidth, kCutterWidth);
        const double height = std::min(innerHeight, kCutterHeight);
        return {(page.width() - width) / 2, (page.height() - height) / 2, width, height};
    }
    case PrintRegion::silhouette:
    case PrintRegion::margins:
        break;
    }
    return {kEdgeInches, kEdgeInches, innerWidth, innerHeight};
}

} // namespace zephrin
