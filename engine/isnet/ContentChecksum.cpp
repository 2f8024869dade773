#include "engine/isnet/ContentChecksum.h"

#include <opencv2/core.hpp>

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace zephrin {

namespace {

constexpr std::size_t kBlockBytes = std::size_t(4) << 20;

// zlib's checksums take an unsigned int length.
template <class Update>
std::uint32_t checksum(Update update, std::uint32_t start, std::span<const unsigned char> bytes)
{
    uLong value = start;
    for (std::size_t at = 0; at < bytes.size(); at += kBlockBytes) {
        const std::size_t length = std::min(kBlockBytes, bytes.size() - at);
        value = update(value, bytes.data() + at, uInt(length));
    }
    return std::uint32_t(value);
}

} // namespace

ContentChecksum contentChecksum(std::span<const unsigned char> bytes)
{
    const std::size_t blocks = (bytes.size() + kBlockBytes - 1) / kBlockBytes;
    std::vector<ContentChecksum> parts(blocks);
    cv::parallel_for_(cv::Range(0, int(blocks)), [&](const cv::Range& range) {
        for (int b = range.start; b < range.end; ++b) {
            const std::size_t at = std::size_t(b) * kBlockBytes;
            const auto block = bytes.subspan(at, std::min(kBlockBytes, bytes.size() - at));
            parts[std::size_t(b)] = {block.size(), checksum(crc32, 0, block), checksum(adler32, 1, block)};
        }
    });
    ContentChecksum whole;
    for (const ContentChecksum& part : parts) {
        whole.crc32 = std::uint32_t(crc32_combine(whole.crc32, part.crc32, z_off_t(part.size)));
        whole.adler32 = std::uint32_t(adler32_combine(whole.adler32, part.adler32, z_off_t(part.size)));
        whole.size += part.size;
    }
    return whole;
}

} // namespace zephrin
