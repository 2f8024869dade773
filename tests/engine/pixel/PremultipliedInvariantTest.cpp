// Every operation that yields an Image must yield premultiplied pixels (each
// colour channel at most its alpha), also from inputs full of faint pixels.

#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorClamp.h"
#include "engine/pixel/ColorControls.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ExposureAdjust.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/SourceOver.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace zephrin;

TEST(PremultipliedInvariant, HoldsAfterEveryImageOperation)
{
    const Image a = zephrin::testing::photoLikeImage({131, 97}, 21, true);
    const Image b = zephrin::testing::photoLikeImage({97, 131}, 22, true);
    const Matte m = zephrin::testing::photoLikeMatte({120, 120}, 23);
    ASSERT_TRUE(zephrin::testing::isPremultiplied(a));

    const std::vector<std::pair<std::string, std::function<Image()>>> operations = {
        {"blur 1.3 transparent", [&] { return gaussianBlur(a, 1.3, EdgeMode::transparent); }},
        {"blur 18 clamp", [&] { return gaussianBlur(a, 18, EdgeMode::clamp); }},
        {"blur 9 transparent", [&] { return gaussianBlur(a, 9, EdgeMode::transparent); }},
        {"maximum 4.5", [&] { return morphologyMaximum(a, 4.5, EdgeMode::transparent); }},
        {"minimum 2.5", [&] { return morphologyMinimum(a, 2.5, EdgeMode::clamp); }},
        {"lanczos 0.3", [&] { return lanczosScale(a, 0.3); }},
        {"lanczos 2.7 aspect 0.6", [&] { return lanczosScale(a, 2.7, 0.6); }},
        {"blend with mask", [&] { return blendWithMask(a, b, m); }},
        {"source over", [&] { return sourceOver(a, b); }},
        {"multiply", [&] { return multiplyCompositing(a, b); }},
        {"invert", [&] { return colorInvert(a); }},
        {"clamp", [&] { return colorClamp(a, {0.2, 0.2, 0.2, 0.1}, {0.8, 0.9, 1, 0.9}); }},
        {"controls", [&] { return colorControls(a, {.saturation = 3, .brightness = 0.3, .contrast = 4}); }},
        {"exposure +2", [&] { return exposureAdjust(a, 2); }},
        {"exposure -3", [&] { return exposureAdjust(a, -3); }},
        {"matrix", [&] { return colorMatrix(a, {.r = {2, 1, 0, 0.5}, .a = {0.5, 0, 0, 0.7}, .bias = {0.1, 0, 0, 0.1}}); }},
        {"masked by", [&] { return maskedBy(a, m); }},
        {"grey image", [&] { return greyImage(m); }},
    };
    for (const auto& [name, operation] : operations)
        EXPECT_TRUE(zephrin::testing::isPremultiplied(operation())) << name;
}
