#include "output/service/CutoutService.h"

#include "engine/isnet/CoreMLMatte.h"
#include "engine/matte/MatteEngine.h"

#include <opencv2/core.hpp>

namespace zephrin::CutoutService {

namespace {

// A subject is more than a haze or a stray pixel: at least 16 pixels at
// least an eighth opaque. (A 16000 × 16000 transparent canvas holding one
// pixel of alpha 4 counted as a subject.)
constexpr int kMinSubjectPixels = 16;
constexpr double kVisibleAlpha = 32;

bool hasVisibleSubject(const Image& image)
{
    cv::Mat alpha;
    cv::extractChannel(image.pixels, alpha, 3);
    return cv::countNonZero(alpha >= kVisibleAlpha) >= kMinSubjectPixels;
}

// IS-Net whenever its model is present, the classical subject finder otherwise.
MatteModel automaticModel() { return CoreMLMatte::isAvailable() ? MatteModel::isnet : MatteModel::apple; }

} // namespace

Image renderedCutout(const MatteEngine& engine, const Image& image, MatteModel model, const MatteSettings& settings)
{
    std::optional<MatteBox> box;
    try {
        box = engine.computeMatte(image, model);
    } catch (const std::exception&) {
        // Whatever the matte pipeline's own reason, the user hears one sentence.
        throw Failure(FailureKind::noSubject);
    }
    const Image refined = engine.applyMatteSettings(image, *box, settings);
    const Image rendered(engine.context().render(refined, refined.extent()));
    if (!rendered.empty() && !hasVisibleSubject(rendered))
        throw Failure(FailureKind::noSubject);
    return rendered;
}

QByteArray cutout(const Image& image, Format format, int maxLongEdge, std::optional<MatteModel> model)
{
    const MatteEngine engine;
    const Image rendered = renderedCutout(engine, image, model.value_or(automaticModel()), kCutoutSettings);
    if (rendered.empty())
        throw Failure(FailureKind::renderFailed);

    try {
        return engine.renderData(rendered, exportFormat(format), maxLongEdge, format != Format::jpeg, 92);
    } catch (const std::exception&) {
        throw Failure(FailureKind::encodeFailed);
    }
}

} // namespace zephrin::CutoutService
