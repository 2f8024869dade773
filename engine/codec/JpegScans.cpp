#include "engine/codec/JpegScans.h"

#include <algorithm>
#include <cstring>

namespace zephrin {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

// Markers without a length field: TEM and the restart markers RST0 to RST7.
bool standsAlone(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// SOF9 to SOF15 but DAC (0xCC), which defines arithmetic-coding conditioning.
bool startsArithmeticFrame(unsigned char marker) { return marker >= 0xC9 && marker <= 0xCF && marker != 0xCC; }

} // namespace

std::optional<qint64> jpegScanBytes(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    if (size < 2 || data[0] != kMarker || data[1] != kStartOfImage)
        return std::nullopt;
    qint64 scanBytes = 0;
    bool arithmetic = false;
    qsizetype at = 2;
    while (true) {
        // The next marker; stray bytes before it are tolerated, as libjpeg does.
        const void* found = at < size ? std::memchr(data + at, kMarker, size_t(size - at)) : nullptr;
        if (found == nullptr)
            return std::nullopt;
        at = static_cast<const unsigned char*>(found) - data;
        while (at < size && data[at] == kMarker) // fill bytes
            ++at;
        if (at >= size)
            return std::nullopt;
        const unsigned char marker = data[at++];
        if (marker == kEndOfImage)
            return scanBytes;
        if (marker == 0 || standsAlone(marker))
            continue;

        if (at + 2 > size)
            return std::nullopt;
        const qsizetype length = (qsizetype(data[at]) << 8) | data[at + 1];
        if (length < 2 || at + length > size)
            return std::nullopt;
        at += length;
        if (startsArithmeticFrame(marker))
            arithmetic = true;

        if (marker == kStartOfScan) {
            // Entropy-coded data up to the next marker: 0xFF 0x00 is a stuffed
            // byte and RST0 to RST7 stay inside the scan.
            const qsizetype scanStart = at;
            while (true) {
                const void* next = at < size ? std::memchr(data + at, kMarker, size_t(size - at)) : nullptr;
                if (next == nullptr)
                    return std::nullopt;
                at = static_cast<const unsigned char*>(next) - data;
                if (at + 1 >= size)
                    return std::nullopt;
                const unsigned char following = data[at + 1];
                if (following == 0 || following == kMarker || (following >= 0xD0 && following <= 0xD7)) {
                    at += following == kMarker ? 1 : 2;
                    continue;
                }
                break; // a marker after the scan: back to the segment loop
            }
            scanBytes += at - scanStart;
            if (arithmetic)
                scanBytes -= std::count(data + scanStart, data + at, 0);
        }
    }
}

} // namespace zephrin
