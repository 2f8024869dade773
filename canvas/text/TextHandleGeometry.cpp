#include "canvas/text/TextHandleGeometry.h"

#include <algorithm>
#include <cmath>

namespace zephrin::texthandles {

namespace {

double atLeastOne(double side)
{
    return std::isfinite(side) ? std::max(side, 1.0) : 1.0;
}

double clampedAxis(double value, double half)
{
    if (std::isnan(value))
        return half;
    return std::min(std::max(value, half), 1.0 - half);
}

double clampedSide(double side)
{
    if (std::isnan(side))
        return kMinLabelSide;
    return std::min(std::max(side, kMinLabelSide), kMaxLabelSide);
}

} // namespace

QPointF clampedCenter(QSizeF box, double x, double y, QSizeF imageSize)
{
    const double hx = std::min(box.width() / atLeastOne(imageSize.width()) * 0.5, 0.5);
    const double hy = std::min(box.height() / atLeastOne(imageSize.height()) * 0.5, 0.5);
    return {clampedAxis(x, hx), clampedAxis(y, hy)};
}

QSizeF handleBoxSize(QSizeF box, double scale)
{
    return {std::max(scale * box.width() + 16, 24.0), std::max(scale * box.height() + 10, 18.0)};
}

double viewScale(QSizeF frame, QSizeF imageSize)
{
    return frame.width() / atLeastOne(imageSize.width());
}

QPointF movedCenter(QSizeF box, QPointF position, QPointF translation, QSizeF frame, QSizeF imageSize)
{
    const double nx = position.x() + translation.x() / atLeastOne(frame.width());
    const double ny = position.y() + translation.y() / atLeastOne(frame.height());
    return clampedCenter(box, nx, ny, imageSize);
}

QSizeF moveOffset(QSizeF box, QPointF position, QPointF translation, QSizeF frame, QSizeF imageSize)
{
    const QPointF centre = movedCenter(box, position, translation, frame, imageSize);
    return {frame.width() * (centre.x() - position.x()), frame.height() * (centre.y() - position.y())};
}

QSizeF resizedLabel(QSizeF start, QPointF translation, QSizeF frame, QSizeF imageSize, bool keepProportion)
{
    // The image's height in points: a drag of that many points adds 2 (the
    // box grows on both sides of its centre).
    const double unit = std::max(viewScale(frame, imageSize) * imageSize.height(), 1.0);
    double w = start.width() + 2 * translation.x() / unit;
    double h = start.height() + 2 * translation.y() / unit;
    if (keepProportion) {
        const double startW = std::max(start.width(), kMinLabelSide);
        const double startH = std::max(start.height(), kMinLabelSide);
        const double k = std::max(w / startW, h / startH);
        w = startW * k;
        h = startH * k;
    }
    return {clampedSide(w), clampedSide(h)};
}

KeyDecision decideKey(int key, Qt::KeyboardModifiers modifiers, bool editingText, bool textTool,
                      bool hasSelection)
{
    if (editingText || !textTool || !hasSelection)
        return {};
    const double step = modifiers.testFlag(Qt::ShiftModifier) ? 10 : 1;
    switch (key) {
    case Qt::Key_Escape: return {KeyAction::deselect, {}};
    case Qt::Key_Backspace:
    case Qt::Key_Delete: return {KeyAction::remove, {}};
    case Qt::Key_Left: return {KeyAction::nudge, {-step, 0}};
    case Qt::Key_Right: return {KeyAction::nudge, {step, 0}};
    case Qt::Key_Down: return {KeyAction::nudge, {0, step}};
    case Qt::Key_Up: return {KeyAction::nudge, {0, -step}};
    default: return {};
    }
}

QPointF nudgedCenter(QSizeF box, QPointF position, QPointF step, QSizeF imageSize)
{
    return clampedCenter(box, position.x() + step.x() / atLeastOne(imageSize.width()),
                         position.y() + step.y() / atLeastOne(imageSize.height()), imageSize);
}

} // namespace zephrin::texthandles
