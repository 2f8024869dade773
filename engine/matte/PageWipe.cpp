// What the matte pipeline does with a flat backdrop: wipe it from the matte
// (unless that would cut into the subject), or paint it grey before IS-Net.

#include "engine/isnet/IsnetLog.h"
#include "engine/matte/MatteEngine.h"
#include "engine/matte/MatteGrid.h"
#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/SolidImage.h"

namespace zephrin {

namespace {

// The frame of a W × H image, its sides truncated to whole pixels.
cv::Rect frameOf(double width, double height)
{
    return {0, 0, std::max(int(width), 0), std::max(int(height), 0)};
}

} // namespace

bool MatteEngine::pageWipeGuard(double width, double height, const Matte& matte, const FlatBackdrop& flat) const
{
    const cv::Rect frame = frameOf(width, height);
    if (frame.width < 1 || frame.height < 1)
        return false;
    const MatteGrid grid = steppedGrid(frame.size(), 256);
    // The backdrop shrunk by 3 pixels (the key matte's black area), with the
    // frame's edge repeated so that the border itself is not taken for backdrop.
    const Matte shrunk = morphologyMaximum(flat.matte, 3.0, EdgeMode::clamp);
    const cv::Mat subject = renderOnGrid(m_context, matte, frame, grid);
    const cv::Mat backdrop = renderOnGrid(m_context, shrunk, frame, grid);

    const cv::Mat confident = subject > 200;
    const long confidentCells = cv::countNonZero(confident);
    const long removedCells = cv::countNonZero(confident & (backdrop < 128));
    // removed / confident ≤ 0.02, on the counts.
    if (confidentCells == 0 || removedCells * 50 <= confidentCells)
        return false;
    qCInfo(isnetLog).noquote() << QString::asprintf("page wipe skipped: it would remove %ld‰ of the confident subject",
                                                    removedCells * 1000 / confidentCells);
    return true;
}

Matte MatteEngine::applyPageWipe(double width, double height, const Matte& matte, const FlatBackdrop& flat) const
{
    // The backdrop grown by 1 pixel; the frame's edge repeats outward.
    const Matte grown = morphologyMinimum(flat.matte, 1.0, EdgeMode::clamp);
    const cv::Rect frame = frameOf(width, height);
    return Matte(m_context.render(multiplyCompositing(matte, grown), frame));
}

std::optional<Image> MatteEngine::neutralizeBackdrop(const Image& image, const FlatBackdrop& flat) const
{
    const Image source(image.pixels);
    if (source.empty())
        return std::nullopt;
    const Image grey = solidImage(RGBAColor{0.5, 0.5, 0.5, 1}, source.extent());
    const Image neutral = blendWithMask(source, grey, flat.matte);
    qCInfo(isnetLog).noquote() << QStringLiteral("backdrop neutralized before IS-Net");
    return neutral;
}

} // namespace zephrin
