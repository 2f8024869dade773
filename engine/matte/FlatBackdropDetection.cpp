// Deciding whether an image stands on a flat, evenly coloured backdrop.

#include "engine/isnet/IsnetLog.h"
#include "engine/matte/BorderConnectedKey.h"
#include "engine/matte/ColorSpread.h"
#include "engine/matte/CornerPatches.h"
#include "engine/matte/MatteEngine.h"
#include "engine/matte/MatteGrid.h"
#include "engine/matte/SoftColorKey.h"
#include "engine/matte/SoftKey.h"
#include "engine/types/LowLevelFailure.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// A keyed area above this share of the image is the whole picture, not a backdrop.
constexpr double kMaxBackdropFraction = 0.98;

} // namespace

std::optional<FlatBackdrop> MatteEngine::detectFlatBackdrop(const Image& image, double minimumFraction,
                                                            double maximumSigma,
                                                            std::optional<RGBAColor> keyColor) const
{
    // A failure of the keying (memory) only means no backdrop. The backdrop is
    // keyed with the tolerance's own ramp, not one moved to the paper's
    // grain: what counts as backdrop stays at the tolerance, so neither a
    // pale subject's edge nor the coarse part of a grainy backdrop's spread is
    // measured as backdrop or wiped.
    if (image.empty())
        return std::nullopt;
    const std::optional<cv::Mat> keyed = orNothing("detectFlatBackdrop", [&]() -> std::optional<cv::Mat> {
        const RGBAColor key = keyColor ? *keyColor : keyColorFromCorners(cornerPatchColors(image.pixels));
        return borderConnectedKey(image.pixels, SoftKey(key, KeyRamp::forTolerance(25.0)));
    });
    if (!keyed)
        return std::nullopt;
    const Matte matte(*keyed);
    const cv::Size size = matte.size();
    if (size.width < 1 || size.height < 1)
        return std::nullopt;

    // At most 255 cells on the long side. Bilinear sampling: each cell reads the
    // pixels at its centre, so the texture of a backdrop still shows in the
    // spread of the cells.
    const cv::Size grid = steppedGrid(size, 128).size;
    const cv::Rect area({0, 0}, grid);
    const cv::Mat gridMatte = m_context.render(Matte(scaledToGrid(matte.pixels, grid, cv::INTER_LINEAR)), area);
    const cv::Mat gridImage = m_context.render(Image(scaledToGrid(image.pixels, grid, cv::INTER_LINEAR)), area);

    // Mean and spread of the colour over the keyed cells.
    ColorSpread page;
    for (int y = 0; y < grid.height; ++y) {
        const uchar* m = gridMatte.ptr(y);
        const uchar* p = gridImage.ptr(y);
        for (int x = 0; x < grid.width; ++x, p += 4)
            if (m[x] < kBackdropBelow)
                page.add(p);
    }
    if (page.count() == 0)
        return std::nullopt;
    const double fraction = static_cast<double>(page.count()) / (static_cast<double>(grid.width) * grid.height);
    if (fraction < minimumFraction || fraction > kMaxBackdropFraction)
        return std::nullopt;

    const double mean[3] = {page.mean(0), page.mean(1), page.mean(2)};
    const double sigma = page.deviation();

    const auto logged = [](double value, double scale) { return static_cast<long>(value * scale); };
    if (sigma < maximumSigma) {
        qCInfo(isnetLog).noquote() << QString::asprintf(
            "flat backdrop: %ld%% of the image; σ=%ld‰; page color sRGB (%ld, %ld, %ld)", logged(fraction, 100),
            logged(sigma, 1000), logged(mean[0], 255), logged(mean[1], 255), logged(mean[2], 255));
        return FlatBackdrop{matte, fraction, RGBAColor{mean[0], mean[1], mean[2], 1}, sigma};
    }
    qCInfo(isnetLog).noquote() << QString::asprintf(
        "flat candidate rejected: %ld%% of the image but not flat (σ=%ld‰, mean sRGB (%ld, %ld, %ld))",
        logged(fraction, 100), logged(sigma, 1000), logged(mean[0], 255), logged(mean[1], 255), logged(mean[2], 255));
    return std::nullopt;
}

} // namespace zephrin
