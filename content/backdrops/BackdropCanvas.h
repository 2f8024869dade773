#pragma once
// The working bitmap a backdrop style draws into, with the drawing steps the
// styles use. The recipes place things with y pointing up (the top is y = h);
// the bitmap and QPainter are y-down, and imageSpace() is the one place where
// a recipe position is flipped.

#include "engine/types/RGBAColor.h"

#include <QGradientStops>
#include <QImage>
#include <QPointF>
#include <opencv2/core.hpp>

namespace zephrin {

struct BackdropCanvas {
    cv::Mat pixels;  // CV_8UC4 premultiplied RGBA, first row the top
    QImage bitmap;   // a painter's view of the same pixels

    // Throws cv::Exception when the pixels can't be allocated.
    BackdropCanvas(int width, int height);

    int width() const { return pixels.cols; }
    int height() const { return pixels.rows; }

    // A recipe position (y up, origin lower left) in image space (y down).
    QPointF imageSpace(QPointF yUp) const { return {yUp.x(), height() - yUp.y()}; }

    void fill(const RGBAColor& color);
    // A linear gradient from `start` to `end` (recipe positions), extended past
    // both ends, source over the whole bitmap. Empty stops draw nothing.
    void linearGradient(QPointF start, QPointF end, const QGradientStops& stops);
    // A radial gradient from radius 0 to `radius` around `center`, extended past
    // the end with its last colour, source over the whole bitmap.
    void radialGradient(QPointF center, double radius, const QGradientStops& stops);
    // A filled antialiased circle, source over what is there.
    void circle(QPointF center, double radius, const RGBAColor& color);
};

QColor toQColor(const RGBAColor& color);

} // namespace zephrin
