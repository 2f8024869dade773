#pragma once
// Where the sticker-sheet canvas draws the sheet and its sticker handles: the
// preview fitted like the document image (a 24-point margin, times the zoom),
// centred in the canvas whatever the pan, and inches turned into view points
// by the preview's width over the paper's.

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

struct SheetCanvasFit {
    QRectF preview;            // view points
    double pointsPerInch = 0;
};

// The preview of `imagePixels` fitted into a canvas of `area` at `zoom`, for
// paper `paperWidthInches` wide. No preview (empty rect, 0 ppi) for an empty
// image or paper.
SheetCanvasFit fitSheetPreview(QSizeF area, QSizeF imagePixels, double paperWidthInches, double zoom);

// The rectangle (inches) of a placement map of the editor's sheetLayout
// ({x, y, width, height}).
QRectF placementInches(const QVariantMap& placement);

// A placement's rectangle (inches on the paper) in view points.
QRectF handleRect(const SheetCanvasFit& fit, const QRectF& placementInches);

// The corner (inches) a copy is dropped at after a drag of `translation`
// view points.
QPointF droppedCorner(const QRectF& placementInches, QPointF translation, double pointsPerInch);

// The same for QML: set the inputs, read the preview's rectangle and scale,
// and ask for a placement's rectangle.
class SheetCanvasGeometry : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QSizeF area READ area WRITE setArea NOTIFY inputsChanged)
    Q_PROPERTY(QSizeF imageSize READ imageSize WRITE setImageSize NOTIFY inputsChanged)
    // The paper's label ("US Letter", "A4", "4 × 6 in").
    Q_PROPERTY(QString paper READ paper WRITE setPaper NOTIFY inputsChanged)
    Q_PROPERTY(double zoom READ zoom WRITE setZoom NOTIFY inputsChanged)
    Q_PROPERTY(QRectF previewRect READ previewRect NOTIFY inputsChanged)
    Q_PROPERTY(double pointsPerInch READ pointsPerInch NOTIFY inputsChanged)

public:
    using QObject::QObject;

    QSizeF area() const { return m_area; }
    void setArea(QSizeF value);
    QSizeF imageSize() const { return m_imageSize; }
    void setImageSize(QSizeF value);
    QString paper() const { return m_paper; }
    void setPaper(const QString& value);
    double zoom() const { return m_zoom; }
    void setZoom(double value);
    QRectF previewRect() const { return m_fit.preview; }
    double pointsPerInch() const { return m_fit.pointsPerInch; }

    // A placement map of the editor's sheetLayout ({x, y, width, height}, inches).
    Q_INVOKABLE QRectF placementRect(const QVariantMap& placement) const;

signals:
    void inputsChanged();

private:
    void refit();

    QSizeF m_area;
    QSizeF m_imageSize;
    QString m_paper;
    double m_zoom = 1;
    SheetCanvasFit m_fit;
};

} // namespace zephrin
