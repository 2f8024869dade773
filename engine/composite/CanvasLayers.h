#pragma once
// The layers of a composite, flattened onto the canvas in one pass.
//
// The compositor lays the subject (its rim blended into the backdrop), then its
// shadow, over the backdrop. Done as separate operations that is an image per
// step: the backdrop filled, the blurred backdrop masked, the blend, the shadow
// coloured, two source-overs and the copy onto the canvas, each a pass over
// the whole canvas and most a new buffer. Here every canvas row is made once
// from the layers' own pixels, with the same row kernels those operations use
// (pixelRows), so the bytes are the same and only the canvas is written.

#include "engine/pixel/Image.h"

#include <array>
#include <optional>

namespace zephrin {

// What a layer paints: a picture (transparent outside its extent), or, without
// one, one premultiplied colour everywhere (all zero: nothing).
struct Paint {
    std::optional<Image> picture;
    std::array<uchar, 4> colour{};
};

// The edge blend of the front layer: over the front's extent each pixel moves
// towards `towards` masked by the front's alpha, by `weight` (edgeMaskPass).
struct EdgeTint {
    Matte weight;   // over the front's extent
    Paint towards;  // the backdrop as the rim sees it, blurred
};

// A shadow: a colour through a coverage matte (coloredMatte), placed.
struct ShadowLayer {
    Matte coverage;                // its origin includes the shadow's offset
    std::array<uchar, 1024> ramp;  // colourRamp of the shadow's colour
};

struct CanvasLayers {
    Image front;                        // the subject, outlined or not
    std::optional<EdgeTint> edge;
    std::optional<ShadowLayer> shadow;  // under the front
    Paint backdrop;                     // under everything
};

// The canvas (an area of image space) as a new buffer of its own (CV_8UC4, row
// 0 = the canvas's top): pixel for pixel
//   sourceOver(sourceOver(F, cropped(shadow)), backdrop) over the canvas,
// F = the front, or with an edge tint blendWithMask(maskedBy(towards, alpha of
// the front), front, weight) over the front's extent; transparent where no
// layer reaches. Cost: one parallel pass writing the canvas, reading each layer
// where it lies.
cv::Mat flattened(const CanvasLayers& layers, cv::Rect canvas);

} // namespace zephrin
