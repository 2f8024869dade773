#pragma once
// What the matte pipeline consults besides its own steps: the IS-Net network
// and the flat-backdrop detection. MatteEngine::standardSources() gives the
// shared IS-Net runner and the engine's own detection; tests script them to
// count calls and to reach exact thresholds.

#include "engine/isnet/CoreMLMatte.h"
#include "engine/matte/FlatBackdrop.h"
#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

#include <functional>
#include <optional>

namespace zephrin {

struct MatteSources {
    // Whether the network can be used at all (its model file is present and
    // loads).
    std::function<bool()> isnetAvailable;
    // The network's mask of an image, or the runner's error.
    std::function<CoreMLMatte::Mask(const Image& image)> isnetMask;
    // A flat, evenly coloured backdrop of the image, if there is one. The
    // first call runs on a thread of its own, beside isnetMask.
    std::function<std::optional<FlatBackdrop>(const Image& image, double minimumFraction, double maximumSigma,
                                              std::optional<RGBAColor> keyColor)>
        detectFlatBackdrop;
};

} // namespace zephrin
