#include "content/backdrops/Backdrop.h"

#include <deque>
#include <mutex>
#include <utility>

namespace zephrin {

namespace {

constexpr int kThumbnailWidth = 168;
constexpr int kThumbnailHeight = 120;
// The 26 presets and a good many custom colour pairs; past that the oldest go.
constexpr std::size_t kMostThumbnails = 128;

// Keyed by the style, which alone decides the pixels: every custom backdrop
// has the one id "custom", whatever its colours.
struct ThumbnailCache {
    std::mutex lock;
    std::deque<std::pair<BackdropStyle, Image>> images;  // oldest first

    const Image* find(const BackdropStyle& style) const
    {
        for (const auto& [key, image] : images)
            if (key == style)
                return &image;
        return nullptr;
    }
};

ThumbnailCache& thumbnailCache()
{
    static ThumbnailCache cache;
    return cache;
}

} // namespace

std::optional<Image> Backdrop::thumbnail() const
{
    ThumbnailCache& cache = thumbnailCache();
    {
        const std::lock_guard guard(cache.lock);
        if (const Image* found = cache.find(style))
            return *found;
    }
    // Rendered outside the lock: two tiles that miss at once both render, and
    // the first store wins.
    std::optional<Image> image = render(kThumbnailWidth, kThumbnailHeight);
    if (!image)
        return std::nullopt;
    const std::lock_guard guard(cache.lock);
    if (cache.find(style))
        return image;
    if (cache.images.size() >= kMostThumbnails)
        cache.images.pop_front();
    cache.images.emplace_back(style, *image);
    return image;
}

} // namespace zephrin
