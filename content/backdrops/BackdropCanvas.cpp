#include "content/backdrops/BackdropCanvas.h"

#include "engine/pixel/QImageView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace zephrin {

namespace {

void paintOver(QImage& bitmap, const QBrush& brush)
{
    QPainter painter(&bitmap);
    painter.fillRect(bitmap.rect(), brush);
}

} // namespace

QColor toQColor(const RGBAColor& color)
{
    return QColor::fromRgbF(static_cast<float>(color.r), static_cast<float>(color.g),
                            static_cast<float>(color.b), static_cast<float>(color.a));
}

BackdropCanvas::BackdropCanvas(int width, int height)
    : pixels(height, width, CV_8UC4, cv::Scalar::all(0)),
      bitmap(paintableView(pixels, QImage::Format_RGBA8888_Premultiplied))
{
}

void BackdropCanvas::fill(const RGBAColor& color)
{
    QPainter painter(&bitmap);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(bitmap.rect(), toQColor(color));
}

void BackdropCanvas::linearGradient(QPointF start, QPointF end, const QGradientStops& stops)
{
    if (stops.isEmpty())
        return;
    QLinearGradient gradient(imageSpace(start), imageSpace(end));
    gradient.setStops(stops);
    gradient.setSpread(QGradient::PadSpread);
    paintOver(bitmap, gradient);
}

void BackdropCanvas::radialGradient(QPointF center, double radius, const QGradientStops& stops)
{
    if (stops.isEmpty() || !(radius > 0))
        return;
    QRadialGradient gradient(imageSpace(center), radius);
    gradient.setStops(stops);
    gradient.setSpread(QGradient::PadSpread);
    paintOver(bitmap, gradient);
}

void BackdropCanvas::circle(QPointF center, double radius, const RGBAColor& color)
{
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(color));
    const QPointF c = imageSpace(center);
    painter.drawEllipse(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius));
}

} // namespace zephrin
