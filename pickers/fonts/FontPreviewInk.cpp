#include "pickers/fonts/FontPreviewInk.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zephrin::fontpreview {

QImage inked(const QImage& preview, const QColor& ink)
{
    if (preview.isNull())
        return {};
    const QImage source = preview.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    const QRgb ground = source.pixel(0, 0);
    const bool opaqueGround = qAlpha(ground) == 255;

    // How much ink each pixel holds, 0–255.
    std::vector<int> coverage(std::size_t(width) * std::size_t(height));
    int strongest = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int value = opaqueGround ? std::abs(qGray(row[x]) - qGray(ground)) * qAlpha(row[x]) / 255
                                           : qAlpha(row[x]);
            coverage[std::size_t(y) * std::size_t(width) + std::size_t(x)] = value;
            strongest = std::max(strongest, value);
        }
    }

    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (strongest == 0)
        return result;
    // An opaque ground has no full-strength stroke of its own: its darkest
    // (or lightest) stroke is taken as full ink.
    const int full = opaqueGround ? strongest : 255;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = coverage[std::size_t(y) * std::size_t(width) + std::size_t(x)] * ink.alpha() / full;
            row[x] = qPremultiply(qRgba(ink.red(), ink.green(), ink.blue(), std::min(alpha, 255)));
        }
    }
    return result;
}

} // namespace zephrin::fontpreview
