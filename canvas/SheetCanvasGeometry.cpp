#include "canvas/SheetCanvasGeometry.h"

#include "engine/types/RawEnum.h"
#include "output/sheet/PaperSize.h"

#include <algorithm>

namespace zephrin {

namespace {

constexpr double kMargin = 24;

} // namespace

QRectF placementInches(const QVariantMap& placement)
{
    return {placement.value(QStringLiteral("x")).toDouble(), placement.value(QStringLiteral("y")).toDouble(),
            placement.value(QStringLiteral("width")).toDouble(), placement.value(QStringLiteral("height")).toDouble()};
}

SheetCanvasFit fitSheetPreview(QSizeF area, QSizeF imagePixels, double paperWidthInches, double zoom)
{
    if (imagePixels.isEmpty() || paperWidthInches <= 0)
        return {};
    const double aw = std::max(area.width() - 2 * kMargin, 1.0);
    const double ah = std::max(area.height() - 2 * kMargin, 1.0);
    const double aspect = imagePixels.width() / imagePixels.height();
    const QSizeF fitted = ah < aw / aspect ? QSizeF(aspect * ah, ah) : QSizeF(aw, aw / aspect);
    const QSizeF shown = fitted * zoom;
    const QPointF origin((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2);
    return {QRectF(origin, shown), shown.width() / paperWidthInches};
}

QRectF handleRect(const SheetCanvasFit& fit, const QRectF& placementInches)
{
    const double ppi = fit.pointsPerInch;
    return {fit.preview.x() + ppi * placementInches.x(), fit.preview.y() + ppi * placementInches.y(),
            ppi * placementInches.width(), ppi * placementInches.height()};
}

QPointF droppedCorner(const QRectF& placementInches, QPointF translation, double pointsPerInch)
{
    if (pointsPerInch <= 0)
        return placementInches.topLeft();
    return placementInches.topLeft() + translation / pointsPerInch;
}

void SheetCanvasGeometry::setArea(QSizeF value)
{
    if (value == m_area)
        return;
    m_area = value;
    refit();
}

void SheetCanvasGeometry::setImageSize(QSizeF value)
{
    if (value == m_imageSize)
        return;
    m_imageSize = value;
    refit();
}

void SheetCanvasGeometry::setPaper(const QString& value)
{
    if (value == m_paper)
        return;
    m_paper = value;
    refit();
}

void SheetCanvasGeometry::setZoom(double value)
{
    if (value == m_zoom)
        return;
    m_zoom = value;
    refit();
}

QRectF SheetCanvasGeometry::placementRect(const QVariantMap& placement) const
{
    return handleRect(m_fit, placementInches(placement));
}

void SheetCanvasGeometry::refit()
{
    const auto paper = fromRaw<PaperSize>(m_paper);
    m_fit = fitSheetPreview(m_area, m_imageSize, paper ? paperInches(*paper).width() : 0, m_zoom);
    emit inputsChanged();
}

} // namespace zephrin
