#include "content/mybackgrounds/BackgroundPicture.h"

#include "content/backdrops/SplitMix64.h"
#include "content/files/AtomicWrite.h"
#include "engine/codec/ImageDestination.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/SourceOver.h"

#include <QFileInfo>
#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zephrin {

namespace {

// One row's bytes folded into 64 bits, eight at a time.
std::uint64_t rowHash(const uchar* bytes, std::size_t length)
{
    std::uint64_t h = length;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        h = SplitMix64::mix(h ^ word) + SplitMix64::gamma;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes + i, length - i);
    return SplitMix64::mix(h ^ tail);
}

int scaledSide(int side, double factor)
{
    return std::max(static_cast<int>(side * factor), 1);
}

} // namespace

QString pictureFingerprint(const Image& picture)
{
    const cv::Mat& pixels = picture.pixels;
    std::vector<std::uint64_t> rows(static_cast<std::size_t>(pixels.rows));
    const std::size_t rowBytes = static_cast<std::size_t>(pixels.cols) * pixels.elemSize();
    cv::parallel_for_(cv::Range(0, pixels.rows), [&](const cv::Range& range) {
        for (int y = range.start; y < range.end; ++y)
            rows[static_cast<std::size_t>(y)] = rowHash(pixels.ptr(y), rowBytes);
    });
    std::uint64_t h = SplitMix64::mix((static_cast<std::uint64_t>(pixels.cols) << 32) ^ pixels.rows);
    for (const std::uint64_t row : rows)
        h = SplitMix64::mix(h ^ row) + SplitMix64::gamma;
    return QStringLiteral("%1").arg(h, 16, 16, QLatin1Char('0'));
}

Image reducedForStorage(const Image& picture)
{
    const int longSide = std::max(picture.width(), picture.height());
    if (longSide <= kStoredLongSide)
        return picture;
    const double factor = double(kStoredLongSide) / longSide;
    return resized(picture, cv::Size(scaledSide(picture.width(), factor), scaledSide(picture.height(), factor)));
}

Image backgroundThumbnail(const Image& picture)
{
    const double w = picture.width();
    const double h = picture.height();
    const double scale = std::max(kBackgroundThumbWidth / w, kBackgroundThumbHeight / h);
    // The part of the picture the frame shows: centred, the frame's size over the scale.
    const double visibleW = kBackgroundThumbWidth / scale;
    const double visibleH = kBackgroundThumbHeight / scale;
    const int left = std::clamp(static_cast<int>(std::lround((w - visibleW) / 2)), 0, picture.width() - 1);
    const int top = std::clamp(static_cast<int>(std::lround((h - visibleH) / 2)), 0, picture.height() - 1);
    const int right = std::clamp(static_cast<int>(std::lround((w + visibleW) / 2)), left + 1, picture.width());
    const int bottom = std::clamp(static_cast<int>(std::lround((h + visibleH) / 2)), top + 1, picture.height());
    const Image visible(picture.pixels(cv::Range(top, bottom), cv::Range(left, right)));
    return resized(visible, cv::Size(kBackgroundThumbWidth, kBackgroundThumbHeight));
}

Image flattenedOnWhite(const Image& picture)
{
    return sourceOver(picture, solidImage({1, 1, 1, 1}, picture.extent()));
}

bool writeJpeg(const Image& image, const QString& path, int quality)
{
    const std::optional<QByteArray> bytes =
        writeImageFile(flattenedOnWhite(image), ImageFileType::jpeg, {quality / 100.0, false});
    return bytes && writeAtomically(path, *bytes);
}

std::optional<qint64> writeBackgroundFiles(const Image& picture, const QString& imagePath, const QString& thumbPath)
{
    if (picture.empty())
        return std::nullopt;
    const Image stored = reducedForStorage(picture);
    if (!writeJpeg(stored, imagePath, 92))
        return std::nullopt;
    writeJpeg(backgroundThumbnail(stored), thumbPath, 80);
    const QFileInfo file(imagePath);
    return file.exists() ? file.size() : 0;
}

} // namespace zephrin
