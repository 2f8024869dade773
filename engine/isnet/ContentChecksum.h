#pragma once
// A quick fingerprint of large files (models of a few hundred megabytes): CRC-32
// and Adler-32 of the bytes, each computed over blocks on every core and
// combined, so that checking a model costs milliseconds. It tells a changed or
// damaged file from the one recorded; it is no defence against forgery (the
// files it guards are the user's own).

#include <cstdint>
#include <span>

namespace zephrin {

struct ContentChecksum {
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t adler32 = 1;
    friend bool operator==(const ContentChecksum&, const ContentChecksum&) = default;
};

ContentChecksum contentChecksum(std::span<const unsigned char> bytes);

} // namespace zephrin
