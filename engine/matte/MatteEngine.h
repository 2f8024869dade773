#pragma once
// The cutout engine: finds, refines, composites and encodes. It holds nothing
// but its rendering context and keeps nothing between calls, so one engine may
// serve several background tasks at once. The editor owns one, the batch model
// another, and each automation request makes its own.

#include "engine/matte/FlatBackdrop.h"
#include "engine/matte/MatteSources.h"
#include "engine/pixel/RenderContext.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteModel.h"

#include <QRectF>

#include <optional>

namespace zephrin {

class MatteEngine final {
public:
    MatteEngine();
    MatteEngine(const MatteEngine&) = delete;
    MatteEngine& operator=(const MatteEngine&) = delete;

    // The context every engine of this kind renders through: named "Zephrin",
    // intermediate caching off.
    static RenderContext makeContext();

    const RenderContext& context() const { return m_context; }

    // Finding the subject: the matte pipeline and the subject lift (engine/matte/
    // MattePipeline.cpp, SubjectLift.cpp, PageWipe.cpp, GuidedISNetMatte.cpp, MatteBounds.cpp)
    // Images are read as their pixels (origin ignored); every matte here is at the
    // image's pixel size with origin (0, 0). Regions are in image pixels, y down.

    // The subject matte of an image, found by the subject lift (apple) or by
    // IS-Net (isnet; the subject lift when the model is missing), with a flat
    // backdrop wiped and a selection region honoured. Throws
    // MatteError(noSubjectFound), or passes on CoreMLMatte::Failure.
    MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region = std::nullopt) const;
    // The same with the network and the flat-backdrop detection given.
    MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region,
                          const MatteSources& sources) const;
    // The shared IS-Net runner and this engine's flat-backdrop detection.
    MatteSources standardSources() const;
    // The subject lift alone (engine/matte/SubjectLift.h), searching only inside
    // the region when one is given and meets the image. No backdrop colour, no
    // scene fallback. Throws MatteError(noSubjectFound) when nothing is found.
    MatteBox visionSubjectMask(const Image& image, std::optional<QRectF> region) const;
    // Whether wiping the flat backdrop would remove more than 2% of the matte's
    // confident subject (measured on the 256-grid); logs when it would.
    bool pageWipeGuard(double width, double height, const Matte& matte, const FlatBackdrop& flat) const;
    // The matte set to 0 on the keyed backdrop (grown by 1 pixel), unchanged elsewhere.
    Matte applyPageWipe(double width, double height, const Matte& matte, const FlatBackdrop& flat) const;
    // The image with its flat backdrop painted mid-grey, for a second look by
    // IS-Net; logs "backdrop neutralized before IS-Net".
    std::optional<Image> neutralizeBackdrop(const Image& image, const FlatBackdrop& flat) const;
    // The matte restricted to its components (on the 1024-grid) that touch the region.
    Matte guidedISNetMatte(const Matte& matte, const QRectF& region, double width, double height) const;
    // The bounds of the matte's visible pixels (value above 12 on the 256-grid),
    // in full-size pixels; none when nothing is visible.
    std::optional<QRectF> matteBounds(const Matte& matte) const;

private:
    const RenderContext m_context;
};

} // namespace zephrin
