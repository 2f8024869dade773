#pragma once
// The running work the status bar shows: every job that shows a busy state adds
// an entry with its label and removes it however it ends (result, failure,
// cancellation, replacement). The editor is busy while any entry is left, and
// shows the label of the newest one, so a job that ends never clears the busy
// state of another that is still running.

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace zephrin {

class BusyJobs {
public:
    // A new entry; its token is never 0.
    std::uint64_t add(QString label)
    {
        m_entries.emplace_back(++m_lastToken, std::move(label));
        return m_lastToken;
    }

    // Removes the entry (an unknown token or 0 changes nothing). True when one
    // was removed.
    bool remove(std::uint64_t token)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it->first == token) {
                m_entries.erase(it);
                return true;
            }
        return false;
    }

    // Gives an entry a new label (the step it has reached).
    void relabel(std::uint64_t token, QString label)
    {
        for (auto& entry : m_entries)
            if (entry.first == token)
                entry.second = std::move(label);
    }

    bool busy() const { return !m_entries.empty(); }
    // The newest entry's label; empty when idle.
    QString label() const { return m_entries.empty() ? QString() : m_entries.back().second; }

private:
    std::vector<std::pair<std::uint64_t, QString>> m_entries;
    std::uint64_t m_lastToken = 0;
};

} // namespace zephrin
