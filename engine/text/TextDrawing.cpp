// Drawing laid-out text and label shapes into a drawing context.

#include "engine/pixel/YUpSpace.h"
#include "engine/shapes/ShapeKit.h"
#include "engine/text/TextRenderer.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zephrin::TextRenderer {

namespace {

// The slant of imitated italic, in glyph space: x grows by 0.22 y.
const QTransform kFakeItalicShear(1, 0, 0.22, 1, 0, 0);

// Width of the extra stroke that imitates bold, as a share of the font size.
constexpr double kFakeBoldStroke = 0.035;

QColor qColor(const RGBAColor& c)
{
    const auto unit = [](double v) { return float(std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0)); };
    return QColor::fromRgbF(unit(c.r), unit(c.g), unit(c.b), unit(c.a));
}

bool hasText(const TextLayer& layer) { return !layer.text.trimmed().isEmpty(); }

// Qt's outline of an item's glyph (y down) → layout space.
QTransform outlineToLayout(const Item& item, bool fakeItalic)
{
    QTransform toGlyphSpace = yUpToImage(0);
    if (fakeItalic)
        toGlyphSpace *= kFakeItalicShear;
    return toGlyphSpace * item.transform;
}

// The widest stroke drawn along the glyph outlines, as a half width.
double strokeReach(const TextLayer& layer, const Layout& layout)
{
    double reach = 0;
    if (layer.outline > 0.001)
        reach = layout.fontSize * layer.outline;
    if (layout.fakeBold)
        reach = std::max(reach, kFakeBoldStroke * layout.fontSize / 2);
    return reach;
}

// Where the glyphs' ink lies after `translation`, strokes included, with a
// pixel to spare for antialiasing.
QRectF inkBounds(const TextLayer& layer, const Layout& layout, const QTransform& translation)
{
    QRectF bounds = translation.mapRect(QRectF(layout.bbox.center(), QSizeF(0, 0)));
    for (const Item& item : layout.items) {
        const QRectF outline = item.font.boundingRect(item.glyph);
        if (!outline.isEmpty())
            bounds |= (outlineToLayout(item, layout.fakeItalic) * translation).mapRect(outline);
    }
    // The shear lengthens strokes by up to 2.4 %.
    const double grow = strokeReach(layer, layout) * 1.03 + 2;
    return bounds.adjusted(-grow, -grow, grow, grow);
}

// Outline pass, then fill pass (with the imitated-bold stroke), of glyphs
// already laid out; the caller has set any effect and begun any layer.
void paintText(const TextLayer& layer, const Layout& layout, const QTransform& translation, DrawingContext& context)
{
    QPainter& painter = context.painter();
    const double fs = layout.fontSize;
    if (layer.outline > 0.001) {
        QPen pen(qColor(layer.outlineColor), 2 * fs * layer.outline);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        drawGlyphs(layout, translation, context);
    }
    painter.setBrush(qColor(layer.color));
    if (layout.fakeBold) {
        QPen pen(qColor(layer.color), kFakeBoldStroke * fs);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    drawGlyphs(layout, translation, context);
}

// The translation that puts the centre of the layout's bbox on `centre`.
QTransform centring(const Layout& layout, QPointF centre)
{
    return QTransform::fromTranslate(centre.x() - layout.bbox.center().x(), centre.y() - layout.bbox.center().y());
}

void drawText(const TextLayer& layer, DrawingContext& context, double scale, QPointF anchor, bool mirrored)
{
    if (!hasText(layer))
        return;
    const Layout laid = layout(layer, scale);
    const QTransform translation = centring(laid, anchor);

    context.save();
    QPainter& painter = context.painter();
    if (mirrored) {
        // A left-right flip about the anchor's vertical line.
        painter.translate(anchor.x(), 0);
        painter.scale(-1, 1);
        painter.translate(-anchor.x(), 0);
    }
    applyEffect(layer, context, laid.fontSize);
    context.beginTransparencyLayer(inkBounds(layer, laid, translation));
    paintText(layer, laid, translation, context);
    context.endTransparencyLayer();
    context.restore();
}

bool hasPositiveSize(const QRectF& box) { return box.width() > 0 && box.height() > 0; }

// The label's text scaled to fill `share` of the text rectangle: a copy of the
// layer without shape and effect, at the size found in two fitting passes.
TextLayer fittedText(const TextLayer& layer, const QRectF& textRect, double scale)
{
    TextLayer copy = layer;
    copy.shape.clear();
    copy.effect = QStringLiteral("none");
    copy.size = 0.1;
    const double share = layer.labelFill < 0.2 ? 0.2 : std::min(layer.labelFill, 1.0);
    const auto fit = [&](const QRectF& bbox) {
        return std::min(share * textRect.width() / bbox.width(), share * textRect.height() / bbox.height());
    };
    const QRectF first = layout(copy, scale).bbox;
    if (hasPositiveSize(first)) {
        copy.size = std::max(0.1 * fit(first), 0.004);
        // Not everything scales with the size (the 4-pixel floor, line height,
        // outline growth): a second pass corrects for it.
        const QRectF second = layout(copy, scale).bbox;
        if (hasPositiveSize(second))
            copy.size = std::max(copy.size * fit(second), 0.004);
    }
    return copy;
}

} // namespace

void applyEffect(const TextLayer& layer, DrawingContext& context, double effectScale)
{
    const double amount = effectScale * layer.effectSize;
    if (layer.effect == u"shadow")
        context.setShadow(ContextShadow{yUpOffsetToImage({0.08 * amount, -0.08 * amount}), 0.25 * amount + 1,
                                        layer.effectColor});
    else if (layer.effect == u"glow")
        context.setShadow(ContextShadow{{0, 0}, 0.45 * amount + 1, layer.effectColor});
}

void drawGlyphs(const Layout& layout, const QTransform& translation, DrawingContext& context)
{
    QPainter& painter = context.painter();
    for (const Item& item : layout.items) {
        painter.save();
        painter.setTransform(outlineToLayout(item, layout.fakeItalic) * translation, true);
        painter.drawPath(item.font.pathForGlyph(item.glyph));
        painter.restore();
    }
}

void drawLabel(const TextLayer& layer, DrawingContext& context, double scale, double centreX, double centreY,
               bool mirrored)
{
    const double sw = layer.shapeW * scale;
    const double sh = layer.shapeH * scale;
    if (!(sw > 1 && sh > 1))
        return;
    const ShapeKit::Geometry shape = ShapeKit::path(layer.shape, sw, sh);
    if (!shape.path)
        return;
    const double shorter = std::min(sw, sh);
    const double borderWidth = shorter * layer.border;
    const bool withBorder = borderWidth > 0.25;

    std::optional<TextLayer> text;
    std::optional<Layout> textLayout;
    QTransform textTranslation;
    QRectF bounds = shape.path->boundingRect();
    if (withBorder)
        bounds.adjust(-borderWidth, -borderWidth, borderWidth, borderWidth);
    if (hasText(layer)) {
        text = fittedText(layer, shape.textRect, scale);
        if (layer.knockout) {
            text->color = {0, 0, 0, 1};
            text->outlineColor = {0, 0, 0, 1};
        }
        textLayout = layout(*text, scale);
        textTranslation = QTransform::fromTranslate(shape.textRect.center().x() - textLayout->bbox.center().x(),
                                                    shape.textRect.center().y() - textLayout->bbox.center().y());
        bounds = bounds.united(inkBounds(*text, *textLayout, textTranslation));
    }
    bounds.adjust(-1, -1, 1, 1);

    context.save();
    QPainter& painter = context.painter();
    painter.translate(centreX, centreY);
    if (mirrored)
        painter.scale(-1, 1);
    applyEffect(layer, context, 0.3 * shorter);
    context.beginTransparencyLayer(bounds);
    {
        QPainter& inLayer = context.painter();
        if (withBorder) {
            QPen pen(qColor(layer.borderColor), 2 * borderWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            inLayer.strokePath(*shape.path, pen);
        }
        inLayer.fillPath(*shape.path, qColor(layer.fill));  // ShapeKit's paths carry the non-zero rule

        if (text) {
            context.save();
            if (layer.knockout) {
                // The letters erase the label inside its own layer, so what lies
                // beneath shows through them.
                context.painter().setCompositionMode(QPainter::CompositionMode_DestinationOut);
            } else {
                context.beginTransparencyLayer(inkBounds(*text, *textLayout, textTranslation));
            }
            paintText(*text, *textLayout, textTranslation, context);
            if (!layer.knockout)
                context.endTransparencyLayer();
            context.restore();
        }
    }
    context.endTransparencyLayer();
    context.restore();
}

void drawLayer(const TextLayer& layer, DrawingContext& context, double width, double height, bool mirrored)
{
    const QPointF anchor(layer.x * width, (1 - layer.y) * height);
    if (layer.shape.isEmpty())
        drawText(layer, context, height, anchor, mirrored);
    else
        drawLabel(layer, context, height, anchor.x(), anchor.y(), mirrored);
}

} // namespace zephrin::TextRenderer
