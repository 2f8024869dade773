#pragma once
// A drawing context over a bitmap: a QPainter with the two things QPainter lacks,
// shadows and transparency layers, as a vector-drawing context has them.
//
// - A transparency layer gathers everything drawn between begin and end in a
//   fresh transparent bitmap, then composites it over what lies below as one
//   piece, with the shadow that was set when it began. Inside a layer the shadow
//   is off and the composition mode is source-over; the painter's transform,
//   pen, brush and hints carry over. Layers nest.
// - The shadow falls only from transparency layers (drawing code here draws
//   everything that casts a shadow inside one). Its offset is in device space
//   (image space of the target, y down): transforms don't turn or mirror it.
//   Its blur is the blur amount of such contexts, twice the Gaussian's sigma.
// - save() and restore() keep the painter's state and the shadow together.
//
// Layers are bitmaps of the size of what they will hold (in Qt's native
// premultiplied ARGB, the fastest to paint): the caller names the bounds of its
// drawing in the current user space, and drawing outside them is cut off. The
// target may be Format_RGBA8888_Premultiplied (as Image holds it) or any format
// QPainter paints on; it must outlive the context. Antialiasing is on. Not
// thread-safe; one context per drawing.

#include "engine/types/RGBAColor.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <optional>
#include <vector>

namespace zephrin {

struct ContextShadow {
    QPointF offset;  // device pixels, y down
    double blur = 0; // blur amount (Gaussian sigma × 2)
    RGBAColor color;

    friend bool operator==(const ContextShadow&, const ContextShadow&) = default;
};

class DrawingContext {
public:
    explicit DrawingContext(QImage& target);
    ~DrawingContext();
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    // The painter that draws into the innermost open layer (or the target).
    QPainter& painter();

    void save();
    void restore();

    // The shadow of the layers begun from now on, until restore(); none draws none.
    void setShadow(std::optional<ContextShadow> shadow);

    // Starts a transparency layer holding what is drawn within `bounds` (current
    // user space).
    void beginTransparencyLayer(const QRectF& bounds);
    // Composites the innermost layer, with its shadow, over what lies below.
    void endTransparencyLayer();

private:
    struct Layer;

    QImage& m_target;
    std::vector<std::unique_ptr<Layer>> m_layers;  // the target first, then open layers
    std::optional<ContextShadow> m_shadow;
    std::vector<std::optional<ContextShadow>> m_savedShadows;
};

} // namespace zephrin
