#include "content/backdrops/Backdrop.h"

#include <QHash>

#include <mutex>

namespace zephrin {

namespace {

constexpr int kThumbnailWidth = 168;
constexpr int kThumbnailHeight = 120;

struct ThumbnailCache {
    std::mutex lock;
    QHash<QString, Image> images;  // by backdrop id; only grows
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
        const auto found = cache.images.constFind(id);
        if (found != cache.images.constEnd())
            return *found;
    }
    // Rendered outside the lock: two tiles that miss at once both render, and
    // the later store wins.
    std::optional<Image> image = render(kThumbnailWidth, kThumbnailHeight);
    if (!image)
        return std::nullopt;
    const std::lock_guard guard(cache.lock);
    cache.images.insert(id, *image);
    return image;
}

} // namespace zephrin
