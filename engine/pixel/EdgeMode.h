#pragma once
// How a neighbourhood filter (blur, morphology) treats the plane outside the
// input's extent.

namespace zephrin {

enum class EdgeMode {
    // Outside is transparent (black for mattes), as the plane always is. A filter
    // that spreads colour grows the result's extent by its reach, so the result
    // fades out past the old border.
    transparent,
    // The edge pixels repeat outward without limit (clamp to extent), and the
    // result keeps the input's extent: a subject that touches the frame gets no
    // transparent rim.
    clamp,
};

} // namespace zephrin
