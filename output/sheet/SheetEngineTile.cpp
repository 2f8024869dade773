// A design's tile and cut mask, the image its mask is traced from, and the key
// they are cached under.

#include "output/sheet/SheetEngine.h"

#include "engine/matte/BorderFlood.h"
#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/SourceOver.h"
#include "engine/types/LowLevelFailure.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zephrin {

namespace {

// The sticker is placed by its lower-left corner, inset from the tile's bottom
// edge as in a y-up tile; this is the top row of that placement in our y-down
// tile.
int topRowFromBottomInset(int tileHeight, int bottomInset, int stickerHeight)
{
    return tileHeight - bottomInset - stickerHeight;
}

// Shortest text that reads back as the same double, never through the locale.
void appendShortest(std::string& out, double value)
{
    std::array<char, 32> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error == std::errc())
        out.append(buffer.data(), end);
}

// The cut outline without the holes inside it: a sticker is cut around its
// outer edge only, so transparent areas enclosed by the sticker (between a
// figure's arms, the middle of a ring) stay on the sheet and get no cut line.
// Holes are the pixels below the traced threshold that no path from the
// tile's edge reaches (4-neighbours); they become 255. Writes into `mask`.
void fillEnclosedAreas(cv::Mat& mask)
{
    const auto outside = [](uchar value) { return value < 128; };
    const cv::Mat reached = maskOf(floodFromBorder(rowRuns(mask, outside), mask.cols), mask.size());
    mask.setTo(255, (mask < 128) & (reached == 0));
}

} // namespace

std::string SheetEngine::tileKey(const StickerItem& item, const SheetSettings& settings)
{
    std::string key = uuidString(item.id).toStdString();
    for (const double value : {item.widthInches, settings.borderInches, settings.bleedInches}) {
        key += '|';
        appendShortest(key, value);
    }
    key += '|';
    key += std::to_string(settings.dpi);
    key += '|';
    const RGBAColor& c = settings.borderColor;
    for (const double component : {c.r, c.g, c.b, c.a}) {
        appendShortest(key, component);
        key += ',';
    }
    key.back() = '|';
    // The design's image can change while its id stays: the key names the pixels too.
    key += std::to_string(item.image.generation());
    return key;
}

std::optional<SheetEngine::Tile> SheetEngine::makeTile(const StickerItem& item, const SheetSettings& settings) const
{
    if (!item.hasPrintableSize())
        return std::nullopt;
    const Image& source = item.image.image();
    const double d = static_cast<double>(settings.dpi);
    const double wp = item.widthInches * d;
    const double hp = item.heightInches() * d;
    const double border = settings.borderInches * d;
    const double reach = border + settings.bleedInches * d;
    const double tileWidth = std::round(wp + 2 * reach), tileHeight = std::round(hp + 2 * reach);
    if (!(tileWidth >= 1 && tileHeight >= 1) || tileWidth * tileHeight > static_cast<double>(kMaxPagePixels))
        return std::nullopt;
    const cv::Rect tileRect(0, 0, static_cast<int>(tileWidth), static_cast<int>(tileHeight));

    return orNothing("sticker tile", [&]() -> std::optional<Tile> {
        // The sticker at its printed size, inset by the reach from the left and
        // the bottom edge (whole pixels; the rounding of the tile puts any odd
        // pixel at the top or right).
        const cv::Size stickerSize(std::max(1, static_cast<int>(std::lround(wp))),
                                   std::max(1, static_cast<int>(std::lround(hp))));
        const int inset = static_cast<int>(std::lround(reach));
        const cv::Mat scaled = stickerSize == source.size() ? source.pixels : resized(source, stickerSize).pixels;
        const Image placed(scaled, {inset, topRowFromBottomInset(tileRect.height, inset, stickerSize.height)});

        // Outside the sticker's image its alpha is zero: a sticker whose opaque
        // pixels touch the image's edge is not smeared outward, so the cut line
        // keeps the border width there too.
        const Matte alpha = alphaMatte(placed);
        const Matte cutOutline = dilate(alpha, border, tileRect);
        const Matte colourReach = dilate(alpha, reach, tileRect);

        const Image borderLayer = blendWithMask(solidImage(settings.borderColor, tileRect), Image(), colourReach);
        const Image tileImage = cropped(sourceOver(placed, borderLayer), tileRect);

        Tile tile{Image(m_context.render(tileImage, tileRect)), Matte(m_context.render(cutOutline, tileRect))};
        if (tile.tile.empty() || tile.mask.empty())
            return std::nullopt;
        fillEnclosedAreas(tile.mask.pixels);
        return tile;
    });
}

Matte SheetEngine::dilate(const Matte& mask, double radius, cv::Rect crop)
{
    if (radius <= 0.5)
        return cropped(mask, crop);
    return cropped(morphologyMaximum(mask, radius, EdgeMode::transparent), crop);
}

std::optional<Image> SheetEngine::traceImage(const Matte& mask) const
{
    return orNothing("cut mask image", [&]() -> std::optional<Image> {
        const cv::Rect extent = mask.extent();
        const Image inside = maskedBy(solidImage({0, 0, 0, 1}, extent), mask);
        Image image(m_context.render(inside, extent), extent.tl());
        if (image.empty())
            return std::nullopt;
        return image;
    });
}

} // namespace zephrin
