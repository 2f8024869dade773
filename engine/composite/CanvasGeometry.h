#pragma once
// The compositor's rectangles: the crop of the subject and the canvas it is
// placed on. All in image space (source pixels, origin at the top left, y down),
// the space the compositor works in throughout.

#include "engine/composite/CompositeFrame.h"
#include "engine/pixel/Image.h"
#include "engine/types/CompositeSettings.h"

#include <QRectF>
#include <opencv2/core.hpp>

#include <optional>

namespace zephrin {

// A whole number of pixels, truncated. Settings are used as they come, absurd
// ones included: values beyond ±2^28 (or not numbers) are held there, so
// rectangles stay valid ones that the pixel layer then refuses as too large.
int wholePixels(double value);

// The smallest whole-pixel rectangle holding `rect`: edges rounded outwards.
cv::Rect integralRect(const QRectF& rect);

// `rect` grown by `margin` pixels on every side.
inline cv::Rect grownBy(const cv::Rect& rect, int margin)
{
    return {rect.x - margin, rect.y - margin, rect.width + 2 * margin, rect.height + 2 * margin};
}

// The crop to apply to a subject of `extent`: the requested crop cut to the
// extent, rounded outwards to whole pixels. None without a crop, for a crop of 2
// pixels or less in either direction, or one that misses the extent.
std::optional<cv::Rect> cropRect(const std::optional<QRectF>& crop, const cv::Rect& extent);

// An aspect as whole parts, width : height (16 : 9), in lowest terms.
struct AspectParts {
    int width = 1;
    int height = 1;
    double ratio() const { return double(width) / height; }
    friend bool operator==(const AspectParts&, const AspectParts&) = default;
};

// The target aspect of the canvas: 1 : 1 for a circle crop whatever the
// aspect says, otherwise the aspect's own; none for the original aspect.
std::optional<AspectParts> aspectParts(const CompositeSettings& settings);
// The parts of an aspect preset; none for the original aspect.
std::optional<AspectParts> aspectParts(AspectPreset aspect);
// The parts of an aspect preset as width / height; none for the original aspect.
std::optional<double> aspectRatio(AspectPreset aspect);

// The canvas before the aspect: the content's bounds grown by `margin` (what the
// outline and shadow reach), then by the padding share of its larger side;
// without trimming or without content, the subject's extent.
QRectF contentCanvas(const cv::Rect& subject, const std::optional<QRectF>& contentBounds, double margin,
                     const CompositeSettings& settings);

// The canvas rounded outwards to whole pixels, then grown, centred, to the
// smallest size of exactly the aspect: a whole multiple of both parts (16 : 9
// gives 16k × 9k pixels), so the ratio holds at every size and a downscale to
// an export size rounds only once. It only ever grows; an odd surplus puts the
// extra pixel on the right or below.
cv::Rect canvasAtAspect(const QRectF& canvas, std::optional<AspectParts> aspect);

// A crop drawn at an aspect, in whole pixels of exactly that aspect: the
// whole multiple of the parts nearest the drawn size (at least one, at most
// what `bounds` holds), centred where it was drawn and moved inside the
// bounds. None when the bounds cannot hold one multiple.
std::optional<cv::Rect> cropAtAspect(const QRectF& drawn, AspectParts aspect, cv::Size bounds);

// How far the outline and the shadow reach beyond the subject (clamped settings).
double dressMargin(const CompositeSettings& settings);

// The composite's canvas for a subject cropped to `subject`, whose visible
// content inside that crop is `contentBounds` (what trimming measures).
cv::Rect compositeCanvas(const cv::Rect& subject, const std::optional<QRectF>& contentBounds,
                         const CompositeSettings& settings);

// The frame of the composite of a cutout of `cutoutExtent`: `contentBounds`
// are the cutout's visible bounds inside the crop (inside the whole extent
// without one). The composite is the canvas at scale 1, mirrored on request.
CompositeFrame compositeFrame(const cv::Rect& cutoutExtent, const std::optional<QRectF>& contentBounds,
                              const CompositeSettings& settings);

// A matte of the document (the subject's alpha, say) in the pixels of the
// composite that `frame` describes: moved by its origin and mirrored with it.
// The frame's scale must be 1, as the compositor's frames are.
Matte inCompositePixels(const Matte& matte, const CompositeFrame& frame);

} // namespace zephrin
