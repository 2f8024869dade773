#pragma once
// The editor's last results, each under the inputs it was made from, so that
// going back to inputs seen a moment ago (an undo, a redo, a slider dragged
// back) shows the kept image instead of running the engines again. A key holds
// the generations of the images that went in and the settings, never pixels;
// a value holds the images that came out, shared with whoever shows them.
// Bounded by bytes, the least recently used result going first.

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>

namespace zephrin {

template <typename Key, typename Value>
class KeptResults {
public:
    explicit KeptResults(std::size_t byteBudget) : m_budget(byteBudget) {}

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
    // under it, and lets the oldest results go until the budget holds. A
    // value larger than the whole budget is not kept.
    void keep(Key key, Value value, std::size_t bytes)
    {
        m_entries.remove_if([&](const Entry& entry) { return entry.key == key; });
        if (bytes > m_budget) {
            recount();
            return;
        }
        m_entries.push_front(Entry{std::move(key), std::move(value), bytes});
        recount();
        while (m_bytes > m_budget) {
            m_entries.pop_back();
            recount();
        }
    }

    void clear()
    {
        m_entries.clear();
        m_bytes = 0;
    }

    int count() const { return int(m_entries.size()); }
    std::size_t bytes() const { return m_bytes; }

private:
    struct Entry {
        Key key;
        Value value;
        std::size_t bytes;
    };

    void recount()
    {
        m_bytes = 0;
        for (const Entry& entry : m_entries)
            m_bytes += entry.bytes;
    }

    std::list<Entry> m_entries; // the most recently used first
    std::size_t m_budget;
    std::size_t m_bytes = 0;
};

} // namespace zephrin
