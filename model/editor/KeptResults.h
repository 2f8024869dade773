#pragma once
// The editor's last results, each under the inputs it was made from, so that
// going back to inputs seen a moment ago (an undo, a redo, a slider dragged
// back) shows the kept image instead of running the engines again. A key holds
// the generations of the images that went in and the settings, never pixels;
// a value holds the images that came out, shared with whoever shows them.
// Bounded by bytes relative to the picture: a few results of full size (or of
// the newest result's size when that is larger, a canvas with margins), the
// least recently used going first; the newest is always kept.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>

namespace zephrin {

template <typename Key, typename Value>
class KeptResults {
public:
    explicit KeptResults(int results) : m_results(results) {}

    // The bytes of one full-size result (of the picture now edited); the
    // oldest results go at once when they no longer fit.
    void setUnit(std::size_t bytes)
    {
        m_unit = bytes;
        trim();
    }

    // The value kept under `key`, now the most recently used; none when none.
    std::optional<Value> find(const Key& key)
    {
        for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
            if (entry->key == key) {
                m_entries.splice(m_entries.begin(), m_entries, entry);
                return m_entries.front().value;
            }
        }
        return std::nullopt;
    }

    // Keeps `value` (of `bytes` bytes) under `key`, replacing what was kept
    // under it, and lets the oldest results go until the budget holds.
    void keep(Key key, Value value, std::size_t bytes)
    {
        m_entries.remove_if([&](const Entry& entry) { return entry.key == key; });
        m_entries.push_front(Entry{std::move(key), std::move(value), bytes});
        recount();
        trim();
    }

    void clear()
    {
        m_entries.clear();
        m_bytes = 0;
    }

    int count() const { return int(m_entries.size()); }
    std::size_t bytes() const { return m_bytes; }
    // What the results may hold now.
    std::size_t budget() const
    {
        const std::size_t newest = m_entries.empty() ? 0 : m_entries.front().bytes;
        return std::size_t(m_results) * std::max(m_unit, newest);
    }

private:
    struct Entry {
        Key key;
        Value value;
        std::size_t bytes;
    };

    void trim()
    {
        while (m_entries.size() > 1 && m_bytes > budget()) {
            m_bytes -= m_entries.back().bytes;
            m_entries.pop_back();
        }
    }

    void recount()
    {
        m_bytes = 0;
        for (const Entry& entry : m_entries)
            m_bytes += entry.bytes;
    }

    std::list<Entry> m_entries; // the most recently used first
    int m_results;
    std::size_t m_unit = 0;
    std::size_t m_bytes = 0;
};

} // namespace zephrin
