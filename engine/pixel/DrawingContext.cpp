#include "engine/pixel/DrawingContext.h"

#include "engine/pixel/DropShadow.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/QImageView.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace zephrin {

struct DrawingContext::Layer {
    QImage image;
    QPoint origin;                       // device position of image's top-left pixel
    QPainter painter;
    std::optional<ContextShadow> shadow;      // cast when the layer ends
    std::optional<ContextShadow> outerShadow; // the context's shadow at begin, restored then
    bool offTarget = false;              // lies wholly outside the target: nothing to composite
};

namespace {

// Layers are drawn in Qt's native premultiplied format, several times faster to
// paint on than RGBA byte order. In memory it is B, G, R, A on the
// little-endian machines we build for, so its alpha is where an Image has it.
constexpr QImage::Format kLayerFormat = QImage::Format_ARGB32_Premultiplied;
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "layer pixels are read as B, G, R, A bytes");

// The alpha of a layer bitmap, placed at `origin`.
Matte layerAlpha(const QImage& layer, QPoint origin)
{
    return alphaMatte(Image(pixelsOf(layer, CV_8UC4), {origin.x(), origin.y()}));
}

// An Image as a bitmap in the layers' format (the shadow, before it is drawn).
QImage asLayerBitmap(const Image& image)
{
    QImage bitmap(image.width(), image.height(), kLayerFormat);
    cv::Mat bgra = pixelsOf(bitmap, CV_8UC4);
    cv::cvtColor(image.pixels, bgra, cv::COLOR_RGBA2BGRA);
    return bitmap;
}

// The shadow as it can show on a target whose larger side is `side`: its blur
// capped at that side (a wider one only fades further) and its offsets at
// twice that side (further, it has left the target anyway), so that no
// setting, however large, asks for an unbounded bitmap.
std::optional<ContextShadow> drawable(const std::optional<ContextShadow>& shadow, int side)
{
    if (!shadow)
        return std::nullopt;
    const auto capped = [](double v, double low, double high) { return std::isnan(v) ? 0.0 : std::clamp(v, low, high); };
    ContextShadow s = *shadow;
    s.blur = capped(s.blur, 0, side);
    s.offset = QPointF(capped(s.offset.x(), -2.0 * side, 2.0 * side), capped(s.offset.y(), -2.0 * side, 2.0 * side));
    return s;
}

} // namespace

DrawingContext::DrawingContext(QImage& target) : m_target(target)
{
    auto root = std::make_unique<Layer>();
    root->painter.begin(&m_target);
    root->painter.setRenderHint(QPainter::Antialiasing);
    m_layers.push_back(std::move(root));
}

DrawingContext::~DrawingContext()
{
    while (m_layers.size() > 1)
        endTransparencyLayer();
}

QPainter& DrawingContext::painter() { return m_layers.back()->painter; }

void DrawingContext::save()
{
    painter().save();
    m_savedShadows.push_back(m_shadow);
}

void DrawingContext::restore()
{
    painter().restore();
    if (!m_savedShadows.empty()) {
        m_shadow = m_savedShadows.back();
        m_savedShadows.pop_back();
    }
}

void DrawingContext::setShadow(std::optional<ContextShadow> shadow) { m_shadow = shadow; }

void DrawingContext::beginTransparencyLayer(const QRectF& bounds)
{
    Layer& outer = *m_layers.back();
    const QTransform toOuter = outer.painter.worldTransform();
    // Device rectangle of the layer: the bounds in whole pixels, cut to the
    // target and, when the layer casts a shadow, to the part of the plane whose
    // shadow can still reach the target.
    const std::optional<ContextShadow> shadow = drawable(m_shadow, std::max(m_target.width(), m_target.height()));
    int reach = 0;
    if (shadow)
        reach = blurReach(shadow->blur / 2) + int(std::ceil(std::abs(shadow->offset.x())))
                + int(std::ceil(std::abs(shadow->offset.y())));
    const QRectF reachable = QRectF(m_target.rect().adjusted(-reach, -reach, reach, reach));
    const QRectF wanted = toOuter.mapRect(bounds).translated(outer.origin);
    const bool finite = std::isfinite(wanted.left()) && std::isfinite(wanted.top()) && std::isfinite(wanted.right())
                        && std::isfinite(wanted.bottom());
    const QRect device = finite ? wanted.intersected(reachable).toAlignedRect() & reachable.toRect() : QRect();

    auto layer = std::make_unique<Layer>();
    layer->origin = device.topLeft();
    layer->image = QImage(std::max(device.width(), 1), std::max(device.height(), 1), kLayerFormat);
    layer->image.fill(Qt::transparent);
    layer->shadow = shadow;
    layer->outerShadow = m_shadow;
    layer->offTarget = device.isEmpty();
    layer->painter.begin(&layer->image);
    layer->painter.setRenderHints(outer.painter.renderHints());
    layer->painter.setPen(outer.painter.pen());
    layer->painter.setBrush(outer.painter.brush());
    const QPoint shift = outer.origin - layer->origin;
    layer->painter.setWorldTransform(toOuter * QTransform::fromTranslate(shift.x(), shift.y()));
    if (layer->offTarget)
        layer->painter.setClipRect(QRect());  // an empty clip: nothing is drawn
    m_shadow.reset();
    m_layers.push_back(std::move(layer));
}

void DrawingContext::endTransparencyLayer()
{
    if (m_layers.size() <= 1)
        return;
    std::unique_ptr<Layer> layer = std::move(m_layers.back());
    m_layers.pop_back();
    layer->painter.end();
    m_shadow = layer->outerShadow;
    if (layer->offTarget)
        return;

    Layer& outer = *m_layers.back();
    QPainter& p = outer.painter;
    p.save();
    p.resetTransform();
    if (layer->shadow && layer->shadow->color.a > 0) {
        const ContextShadow& s = *layer->shadow;
        const cv::Point offset(int(std::lround(s.offset.x())), int(std::lround(s.offset.y())));
        const Image shadow = dropShadow(layerAlpha(layer->image, layer->origin), s.color, s.blur / 2, offset,
                                        EdgeMode::transparent);
        p.drawImage(QPoint(shadow.origin.x, shadow.origin.y) - outer.origin, asLayerBitmap(shadow));
    }
    p.drawImage(layer->origin - outer.origin, layer->image);
    p.restore();
}

} // namespace zephrin
