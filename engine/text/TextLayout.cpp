// Layout of one text layer: fonts, lines, glyph positions, the arc of curved text.

#include "engine/text/FontResolver.h"
#include "engine/text/TextRenderer.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QTextLayout>

#include <cmath>
#include <numbers>

namespace zephrin::TextRenderer {

namespace {

// Qt lays text out at whole pixel sizes; ours are fractional. Lines are laid out
// unhinted with design metrics at this size and scaled, which is exact up to
// the font's 1/64-pixel positions: 1/64000 of an em.
constexpr int kLayoutPixels = 1000;

struct PlacedGlyph {
    QRawFont font;
    quint32 glyph = 0;
    double x = 0;
    double advance = 0;
};

struct Line {
    std::vector<PlacedGlyph> glyphs;
    double width = 0;
};

// The face asked for: the named font, restyled when bold or italic is wanted
// and its family has such a face.
FontFace chosenFace(const TextLayer& layer)
{
    const FontFace named = FontResolver::resolve(layer.fontName);
    if (!layer.bold && !layer.italic)
        return named;
    return FontResolver::withTraits(named, layer.bold, layer.italic).value_or(named);
}

// One line of text shaped in `font` (at kLayoutPixels); glyphs of characters
// the font lacks come from Qt's fallback fonts, each with its own run font.
Line shapeLine(const QString& text, const QFont& font, double fontSize)
{
    QTextLayout shaper(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    shaper.setTextOption(option);
    shaper.beginLayout();
    const QTextLine qtLine = shaper.createLine();
    shaper.endLayout();

    const double toPixels = fontSize / kLayoutPixels;
    Line line;
    line.width = qtLine.isValid() ? qtLine.horizontalAdvance() * toPixels : 0;
    for (const QGlyphRun& run : shaper.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
        QRawFont runFont = run.rawFont();
        runFont.setPixelSize(fontSize);
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            line.glyphs.push_back({runFont, glyphs[i], positions[i].x() * toPixels,
                                   i < advances.size() ? advances[i].x() * toPixels : 0});
    }
    return line;
}

// Glyph space → layout space for a glyph on a straight line: its baseline is
// line `number` below the first, the line centred on x = 0.
QTransform straightPlacement(const PlacedGlyph& g, double lineWidth, int number, double lineHeight)
{
    return QTransform::fromTranslate(g.x - lineWidth / 2, -number * lineHeight);
}

// Glyph space → layout space for a glyph on the arc: its centre point lies on a
// circle of radius R that touches the baseline at the line's centre, turned to
// follow the circle. θ > 0 arches (ends down), θ < 0 bowls (ends up).
QTransform arcPlacement(const PlacedGlyph& g, double lineWidth, double radius, double theta)
{
    const double phi = (g.x + g.advance / 2 - lineWidth / 2) / radius;
    QTransform rotation;
    rotation.rotateRadians(theta > 0 ? -phi : phi);
    const double rise = theta > 0 ? radius * std::cos(phi) - radius : radius - radius * std::cos(phi);
    return QTransform::fromTranslate(-g.advance / 2, 0) * rotation
           * QTransform::fromTranslate(radius * std::sin(phi), rise);
}

} // namespace

Layout layout(const TextLayer& layer, double scale)
{
    Layout result;
    result.fontSize = layer.fontSize(scale);
    const double fs = result.fontSize;
    const bool curved = std::abs(layer.curve) > 0.5;

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        registerDownloadedFonts();
        const FontFace face = chosenFace(layer);
        result.fakeBold = layer.bold && !face.bold;
        result.fakeItalic = layer.italic && !face.italic;

        QFont font = face.font();
        font.setPixelSize(kLayoutPixels);
        font.setHintingPreference(QFont::PreferNoHinting);
        QRawFont metricsFont = QRawFont::fromFont(font);
        metricsFont.setPixelSize(fs);
        const double ascent = metricsFont.ascent();
        const double descent = metricsFont.descent();
        const double lineHeight = std::max(ascent + descent + metricsFont.leading(), 1.15 * (ascent + descent));

        const QString text = layer.text.isEmpty() ? QStringLiteral(" ") : layer.text;
        const QStringList lines = curved ? QStringList{QString(text).replace(u'\n', u' ')} : text.split(u'\n');
        const double theta = layer.curve / 100 * 1.8 * std::numbers::pi;

        for (int number = 0; number < lines.size(); ++number) {
            const Line line = shapeLine(lines[number].isEmpty() ? QStringLiteral(" ") : lines[number], font, fs);
            const bool onArc = curved && line.width > 0;
            const double radius = onArc ? line.width / std::abs(theta) : 0;
            for (const PlacedGlyph& g : line.glyphs) {
                Item item;
                item.font = g.font;
                item.glyph = g.glyph;
                item.transform = onArc ? arcPlacement(g, line.width, radius, theta)
                                       : straightPlacement(g, line.width, number, lineHeight);
                item.box = QRectF(0, -descent, std::max(g.advance, 1.0), ascent + descent);
                result.items.push_back(std::move(item));
            }
        }
    }

    QRectF bbox(0, 0, 1, 1);
    for (std::size_t i = 0; i < result.items.size(); ++i) {
        const QRectF placed = result.items[i].transform.mapRect(result.items[i].box);
        bbox = i == 0 ? placed : bbox.united(placed);
    }
    const double grow = fs * layer.outline;
    bbox.adjust(-grow, -grow, grow, grow);
    if (result.fakeItalic)
        bbox.adjust(-0.12 * fs, 0, 0.12 * fs, 0);
    result.bbox = bbox;
    return result;
}

} // namespace zephrin::TextRenderer
