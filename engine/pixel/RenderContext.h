#pragma once
// The engines' rendering context: the one object through which an engine turns
// its images into plain 8-bit pixel buffers. Our pixel operations run eagerly, so
// the context keeps no graph and no cache; it records the options it was made
// with, and every engine renders through it so that the place where pixels leave
// the engine is one and the same.

#include "engine/pixel/Image.h"

#include <QString>

namespace zephrin {

struct RenderContextOptions {
    QString name;                    // shown in diagnostics
    bool cacheIntermediates = true;  // engines create their contexts with false

    friend bool operator==(const RenderContextOptions&, const RenderContextOptions&) = default;
};

// Renders `area` (image space) of an image to 8-bit premultiplied RGBA sRGB;
// pixels of `area` outside the image's extent come out transparent.
// The result is a new buffer of area.size() with contiguous rows (4 × width
// bytes each), row 0 = area's top; the caller may write into it.
// Cost: one parallel copy of `area`.
cv::Mat renderRGBA8(const Image& image, cv::Rect area);
// Renders `area` of a matte to 8-bit grey; outside the extent is black. Same
// buffer rules as renderRGBA8 (width bytes per row).
cv::Mat renderGrey8(const Matte& matte, cv::Rect area);

class RenderContext {
public:
    explicit RenderContext(RenderContextOptions options) : m_options(std::move(options)) {}

    const RenderContextOptions& options() const { return m_options; }

    cv::Mat render(const Image& image, cv::Rect area) const { return renderRGBA8(image, area); }
    cv::Mat render(const Matte& matte, cv::Rect area) const { return renderGrey8(matte, area); }

private:
    RenderContextOptions m_options;
};

} // namespace zephrin
