#include "content/files/ImageCache.h"
#include "content/files/ImageFiles.h"

#include "support/HostileImages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

Image picture(int side) { return Image::transparent(cv::Size(side, side)); }

TEST(ImageCache, DropsTheLeastRecentlyUsedPastItsBytes)
{
    ImageCache cache(3 * 100 * 100 * 4);
    cache.insert("a", picture(100));
    cache.insert("b", picture(100));
    cache.insert("c", picture(100));
    ASSERT_TRUE(cache.find("a")); // "b" is now the least recently used
    cache.insert("d", picture(100));
    EXPECT_TRUE(cache.contains("a"));
    EXPECT_FALSE(cache.contains("b"));
    EXPECT_TRUE(cache.contains("c") && cache.contains("d"));
    EXPECT_EQ(cache.bytes(), 3 * 100 * 100 * 4);

    // A larger picture makes room for itself; one larger than the whole cache
    // is not kept, and costs nothing.
    cache.insert("e", picture(150));
    EXPECT_LE(cache.bytes(), 3 * 100 * 100 * 4);
    EXPECT_TRUE(cache.contains("e"));
    cache.insert("huge", picture(200));
    EXPECT_FALSE(cache.contains("huge"));
    EXPECT_TRUE(cache.contains("e"));
}

TEST(ImageCache, CountsAReplacedPictureOnce)
{
    ImageCache cache(1 << 20);
    cache.insert("a", picture(100));
    cache.insert("a", picture(50));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.bytes(), 50 * 50 * 4);
    cache.remove("a");
    EXPECT_EQ(cache.bytes(), 0);
}

TEST(ImageFiles, ReadAThumbnailWithinAThumbnailsLimits)
{
    // 746 KB of JPEG that claims 16000 × 12000 pixels: read for a grid tile, it
    // decodes at an eighth of its size, 8 MB instead of 768 MB.
    const std::optional<Image> image = decodeImage(testing::flatGreyJpeg(16000, 12000), kThumbnailLimits);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), cv::Size(2000, 1500));
    // A format that decodes only whole is refused past the limit.
    EXPECT_FALSE(decodeImage(testing::pngClaiming(3000, 3000, 80 * 1000, 8, true), kThumbnailLimits));
    EXPECT_FALSE(decodeImage(testing::tinyGifClaiming(16000, 16000), kThumbnailLimits));
}

TEST(ImageFiles, DrawNoFileThatADownloadedSvgNames)
{
    // Downloaded bytes are read by what they start with: an SVG that names a
    // local picture is refused, never drawn.
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("private.jpg"));
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testing::flatGreyJpeg(64, 48));
    file.close();
    ASSERT_TRUE(readImageFile(picture, kPictureLimits));
    EXPECT_FALSE(decodeImage(testing::svgDrawing(picture), kPictureLimits));
}

} // namespace
} // namespace zephrin
