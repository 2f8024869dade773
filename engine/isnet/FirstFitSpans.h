#pragma once
// Spans of one range of bytes, handed out first fit: each request takes the
// lowest free span it fits in, and a span given back joins its free
// neighbours. A network asks for the same sizes in the same order at every
// inference, so its blocks land at the same places each time and end at the
// same high-water mark, which tells how much memory the next inference will
// touch. Offsets and sizes are whole multiples of `kGrain`. Not thread-safe.

#include <cstddef>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zephrin {

class FirstFitSpans {
public:
    static constexpr std::size_t kGrain = 4096;

    explicit FirstFitSpans(std::size_t capacity);

    // The offset of a new span of `bytes` (rounded up to the grain, at least
    // one grain); none when no free span holds it.
    std::optional<std::size_t> take(std::size_t bytes);
    // Gives back the span taken at `offset`; false (and nothing changes) when
    // none was taken there.
    bool give(std::size_t offset);

    // The end of the highest span taken so far (0 before the first).
    std::size_t highWater() const { return m_highWater; }
    // Bytes in spans taken and not given back.
    std::size_t takenBytes() const { return m_takenBytes; }
    // The free spans below `limit`, cut at it, as (offset, size), lowest first.
    std::vector<std::pair<std::size_t, std::size_t>> freeSpansBelow(std::size_t limit) const;

private:
    std::map<std::size_t, std::size_t> m_free;              // offset → size
    std::unordered_map<std::size_t, std::size_t> m_taken;   // offset → size
    std::size_t m_highWater = 0;
    std::size_t m_takenBytes = 0;
};

} // namespace zephrin
