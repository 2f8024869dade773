// The matte pipeline: one image in, the subject's matte out. It chooses the
// subject finder, wipes a flat backdrop, restricts a selection cut to the parts
// that touch the selection, and keeps the whole scene when no single subject
// stands out.

#include "engine/isnet/IsnetLog.h"
#include "engine/matte/MatteEngine.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"

#include <algorithm>
#include <future>

namespace zephrin {

namespace {

// Probe for a page or sweep behind the subject.
constexpr double kProbeMinimumFraction = 0.15;
constexpr double kProbeMaximumSigma = 0.06;
// Flatter than this, the backdrop is painted grey and IS-Net looks again.
constexpr double kNeutralizeBelowSigma = 0.035;
// The scene fallback strips border areas of a corner's colour.
constexpr double kSceneMinimumFraction = 0.02;
constexpr double kSceneMaximumSigma = 0.1;
constexpr double kSameCornerColour = 0.1;

QString rectText(const std::optional<QRectF>& rect)
{
    if (!rect)
        return QStringLiteral("none");
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(rect->x())
        .arg(rect->y())
        .arg(rect->width())
        .arg(rect->height());
}

// A subject is found when its bounds are more than 2 pixels either way.
bool isSubject(const std::optional<QRectF>& bounds)
{
    return bounds && bounds->width() > 2 && bounds->height() > 2;
}

} // namespace

MatteSources MatteEngine::standardSources() const
{
    return MatteSources{
        [] { return CoreMLMatte::shared().ensureLoaded(); },
        [](const Image& image) { return CoreMLMatte::shared().mask(image); },
        [this](const Image& image, double minimumFraction, double maximumSigma, std::optional<RGBAColor> keyColor) {
            return detectFlatBackdrop(image, minimumFraction, maximumSigma, keyColor);
        },
    };
}

MatteBox MatteEngine::computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region) const
{
    return failingAs(MatteError(MatteErrorKind::renderFailed), "computeMatte",
                     [&] { return computeMatte(image, model, region, standardSources()); });
}

MatteBox MatteEngine::computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region,
                                   const MatteSources& sources) const
{
    const Image source(image.pixels);
    const double W = source.width();
    const double H = source.height();

    // Without the model the subject lift serves the request, with the caller's
    // region: a selection cut must not come back as the whole image's subject.
    // Decided before the flat probe so that the probe runs once.
    if (model == MatteModel::isnet && !sources.isnetAvailable())
        model = MatteModel::apple;

    // A selection cut looks for no backdrop. The probe runs beside the
    // network, whose mask takes several times as long.
    std::future<std::optional<FlatBackdrop>> probe;
    if (!region)
        probe = std::async(std::launch::async, [&] {
            return sources.detectFlatBackdrop(source, kProbeMinimumFraction, kProbeMaximumSigma, std::nullopt);
        });
    const auto probed = [&probe]() -> std::optional<FlatBackdrop> { return probe.valid() ? probe.get() : std::nullopt; };

    if (model == MatteModel::apple) {
        MatteBox box = visionSubjectMask(source, region);
        const std::optional<FlatBackdrop> flat = probed();
        if (flat && !pageWipeGuard(W, H, box.image(), *flat))
            return MatteBox(applyPageWipe(W, H, box.image(), *flat), flat->color, false);
        return box;
    }

    CoreMLMatte::Mask mask = sources.isnetMask(source);
    std::optional<FlatBackdrop> flat = probed();
    if (flat) {
        if (pageWipeGuard(W, H, mask.image, *flat)) {
            flat.reset();
        } else if (flat->sigma < kNeutralizeBelowSigma) {
            if (const std::optional<Image> neutral = neutralizeBackdrop(source, *flat))
                mask = sources.isnetMask(*neutral);
        }
    }

    if (region) {
        const Matte guided = guidedISNetMatte(mask.image, *region, W, H);
        const std::optional<QRectF> bounds = matteBounds(guided);
        qCInfo(isnetLog).noquote() << QStringLiteral("guided IS-Net: kept components overlapping %1 bounds %2")
                                          .arg(rectText(region), rectText(bounds));
        if (!isSubject(bounds))
            throw MatteError(MatteErrorKind::noSubjectFound);
        return MatteBox(guided);
    }

    if (!mask.sceneFallback) {
        const Matte wiped = flat ? applyPageWipe(W, H, mask.image, *flat) : mask.image;
        const std::optional<QRectF> bounds = matteBounds(wiped);
        const cv::Rect extent = wiped.extent();
        qCInfo(isnetLog).noquote() << QStringLiteral("matte extent %1 bounds %2")
                                          .arg(rectText(QRectF(extent.x, extent.y, extent.width, extent.height)),
                                               rectText(bounds));
        if (!isSubject(bounds))
            throw MatteError(MatteErrorKind::noSubjectFound);
        return MatteBox(wiped, flat ? std::optional(flat->color) : std::nullopt, false);
    }

    // No single subject: keep the scene, less the flat areas of the corners'
    // colours.
    std::vector<RGBAColor> tried;
    Matte scene = mask.image;
    double total = 0;
    for (const RGBAColor& corner : cornerColors(source)) {
        const bool seen = std::any_of(tried.begin(), tried.end(), [&](const RGBAColor& colour) {
            return rgbDistance(colour, corner) < kSameCornerColour;
        });
        if (seen)
            continue;
        tried.push_back(corner);
        if (const std::optional<FlatBackdrop> area =
                sources.detectFlatBackdrop(source, kSceneMinimumFraction, kSceneMaximumSigma, corner)) {
            scene = applyPageWipe(W, H, scene, *area);
            total += area->fraction; // a plain sum: overlapping areas may count twice
        }
    }
    if (total <= 0)
        qCInfo(isnetLog).noquote() << QStringLiteral("scene fallback: no flat background found; kept everything");
    else
        qCInfo(isnetLog).noquote() << QString::asprintf("scene fallback: stripped flat areas (%ld%% of the image)",
                                                        long(total * 100));
    return MatteBox(scene, std::nullopt, true);
}

} // namespace zephrin
