#include "engine/isnet/FirstFitSpans.h"

#include <algorithm>
#include <cstdint>

namespace zephrin {

FirstFitSpans::FirstFitSpans(std::size_t capacity)
{
    const std::size_t whole = capacity / kGrain * kGrain;
    if (whole > 0)
        m_free.emplace(0, whole);
}

std::optional<std::size_t> FirstFitSpans::take(std::size_t bytes)
{
    if (bytes > SIZE_MAX - kGrain)
        return std::nullopt;
    const std::size_t size = std::max<std::size_t>(1, (bytes + kGrain - 1) / kGrain) * kGrain;
    const auto span = std::find_if(m_free.begin(), m_free.end(), [&](const auto& free) { return free.second >= size; });
    if (span == m_free.end())
        return std::nullopt;
    const std::size_t offset = span->first;
    const std::size_t left = span->second - size;
    m_free.erase(span);
    if (left > 0)
        m_free.emplace(offset + size, left);
    m_taken.emplace(offset, size);
    m_takenBytes += size;
    m_highWater = std::max(m_highWater, offset + size);
    return offset;
}

bool FirstFitSpans::give(std::size_t offset)
{
    const auto taken = m_taken.find(offset);
    if (taken == m_taken.end())
        return false;
    std::size_t start = offset;
    std::size_t size = taken->second;
    m_taken.erase(taken);
    m_takenBytes -= size;
    // Joined with the free span after it and the one before it.
    const auto after = m_free.find(start + size);
    if (after != m_free.end()) {
        size += after->second;
        m_free.erase(after);
    }
    const auto next = m_free.lower_bound(start);
    if (next != m_free.begin()) {
        const auto before = std::prev(next);
        if (before->first + before->second == start) {
            start = before->first;
            size += before->second;
            m_free.erase(before);
        }
    }
    m_free.emplace(start, size);
    return true;
}

std::vector<std::pair<std::size_t, std::size_t>> FirstFitSpans::freeSpansBelow(std::size_t limit) const
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const auto& [offset, size] : m_free) {
        if (offset >= limit)
            break;
        spans.emplace_back(offset, std::min(size, limit - offset));
    }
    return spans;
}

} // namespace zephrin
