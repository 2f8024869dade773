#include "controls/ShadowItem.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

namespace zephrin {

namespace {

// One box blur of `radius` along rows (step 1) or columns (step = width) of
// an 8-bit plane, edges treated as transparent.
void boxPass(std::vector<int>& plane, int width, int height, int radius, bool alongRows)
{
    const int lines = alongRows ? height : width;
    const int length = alongRows ? width : height;
    const int stride = alongRows ? 1 : width;
    const int window = 2 * radius + 1;
    std::vector<int> line(length);
    for (int l = 0; l < lines; ++l) {
        const int base = alongRows ? l * width : l;
        long sum = 0;
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < length)
                sum += plane[base + i * stride];
        for (int i = 0; i < length; ++i) {
            line[i] = int(sum / window);
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            if (leaving >= 0)
                sum -= plane[base + leaving * stride];
            if (entering < length)
                sum += plane[base + entering * stride];
        }
        for (int i = 0; i < length; ++i)
            plane[base + i * stride] = line[i];
    }
}

} // namespace

ShadowItem::ShadowItem(QQuickItem* parent) : QQuickPaintedItem(parent) {}

template <typename T> bool ShadowItem::assign(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    m_cache = QImage();
    update();
    return true;
}

void ShadowItem::setColor(const QColor& color)
{
    if (assign(m_color, color))
        emit colorChanged();
}

void ShadowItem::setBlur(qreal blur)
{
    if (assign(m_blur, blur))
        emit blurChanged();
}

void ShadowItem::setCornerRadius(qreal radius)
{
    if (assign(m_cornerRadius, radius))
        emit cornerRadiusChanged();
}

void ShadowItem::setSpread(qreal spread)
{
    if (assign(m_spread, spread))
        emit spreadChanged();
}

QImage ShadowItem::render(QSize size, qreal spread, qreal cornerRadius, qreal blur, const QColor& color)
{
    if (size.isEmpty())
        return {};
    QImage coverage(size, QImage::Format_Alpha8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(spread, spread, -spread, -spread),
                             cornerRadius, cornerRadius);
        painter.fillPath(shape, Qt::black);
    }
    const int width = size.width();
    const int height = size.height();
    std::vector<int> plane(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            plane[std::size_t(y) * width + x] = coverage.constScanLine(y)[x];

    // Three box passes of this width approximate a Gaussian of sigma blur / 2.
    const double sigma = blur / 2;
    const int radius = int(std::lround(std::sqrt(12 * sigma * sigma / 3 + 1) / 2 - 0.5));
    if (radius > 0)
        for (int pass = 0; pass < 3; ++pass) {
            boxPass(plane, width, height, radius, true);
            boxPass(plane, width, height, radius, false);
        }

    QImage result(size, QImage::Format_ARGB32_Premultiplied);
    const double alpha = color.alphaF();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double a = plane[std::size_t(y) * width + x] / 255.0 * alpha;
            row[x] = qRgba(int(std::lround(color.red() * a)), int(std::lround(color.green() * a)),
                           int(std::lround(color.blue() * a)), int(std::lround(255 * a)));
        }
    }
    return result;
}

void ShadowItem::paint(QPainter* painter)
{
    const QSize size(int(std::ceil(width())), int(std::ceil(height())));
    if (m_cache.size() != size)
        m_cache = render(size, m_spread, m_cornerRadius, m_blur, m_color);
    if (!m_cache.isNull())
        painter->drawImage(0, 0, m_cache);
}

} // namespace zephrin
