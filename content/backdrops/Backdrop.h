#pragma once
// A generated backdrop: a procedural background that needs no image file. The
// picker shows the 26 presets in five categories; the editor renders the picked
// one behind the subject, and My Backgrounds can keep a rendered copy.

#include "content/backdrops/BackdropCategory.h"
#include "content/backdrops/BackdropStyle.h"
#include "content/backdrops/CustomBackdropShape.h"
#include "engine/pixel/Image.h"
#include "engine/pixel/RenderContext.h"

#include <QGradientStops>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace zephrin {

struct Backdrop {
    QString id;    // stable key ("studio-white"); one id always stands for one look
    QString name;  // shown under the tile
    BackdropCategory category = BackdropCategory::studio;
    BackdropStyle style;

    friend bool operator==(const Backdrop&, const Backdrop&) = default;

    // The 26 presets in picker order, built once on first use.
    static const std::vector<Backdrop>& presets();

    // The user's own two-colour backdrop: a fade from A at the top to B at the
    // bottom, or a spotlight with A in the centre and B at the edge.
    static Backdrop custom(RGBAColor a, RGBAColor b, CustomBackdropShape shape);

    // The backdrop at exactly the requested size, each side truncated to whole
    // pixels and at least 8. Opaque for opaque colours. None when a size is not
    // finite or the pixels can't be allocated (sides above 32768 or more than
    // 2^28 pixels are refused). Thread-safe; keeps no shared state.
    std::optional<Image> render(double width, double height) const;

    // The 168 × 120 render, kept under the style (the 128 most recent styles):
    // a second request for the same look returns the same pixels without
    // rendering. Thread-safe; the cache lock is held only for the lookup and
    // the insertion.
    std::optional<Image> thumbnail() const;

    // Building blocks of the renderer.

    // Gradient stops from colours and their locations (0 to 1); none when the
    // lists are empty or differ in length, or a location is out of range.
    static std::optional<QGradientStops> gradient(std::span<const RGBAColor> colors,
                                                  std::span<const double> locations);

    // Film grain (and, with `fibers`, woven horizontal and vertical streaks)
    // laid over the image within `extent`; the result is cropped to `extent`.
    // Amount ≤ 0 returns the image unchanged. Noise seeded by `seed`; coarser
    // when the extent is wider or taller than 1200 pixels.
    static Image addGrain(const Image& image, bool fibers, std::uint64_t seed, cv::Rect extent,
                          double amount);

    // The one rendering context through which every backdrop leaves as pixels
    // (intermediate caching off).
    static const RenderContext& renderContext();
};

} // namespace zephrin
