#pragma once
// One kind of cancellable editor work: a new request cancels the one before it
// and takes its place, so of a burst of requests only the last does its work.
//
// Cancelling bumps the slot's generation. Every request carries a ticket with
// the generation it started under, the document generation of the editor (which
// import and clear bump) and its busy entry; its result is applied on the GUI
// thread only while both generations are still the current ones. A request that
// is replaced, cancelled or outdated ends its busy entry and changes nothing.

#include <chrono>
#include <cstdint>

namespace zephrin {

class TaskSlot {
public:
    struct Ticket {
        std::uint64_t generation = 0;
        std::uint64_t document = 0;
        std::uint64_t busy = 0;   // the busy entry of the request; 0 for none
    };

    enum class Scope { document, editor };

    // `debounce` is the wait of a request that asks for it.
    explicit TaskSlot(std::chrono::milliseconds debounce = std::chrono::milliseconds::zero(),
                      Scope scope = Scope::document)
        : debounce(debounce), scope(scope)
    {}
    explicit TaskSlot(Scope scope) : TaskSlot(std::chrono::milliseconds::zero(), scope) {}

    const std::chrono::milliseconds debounce;
    const Scope scope;

    // Starts a request: the previous one is cancelled.
    Ticket replace(std::uint64_t document, std::uint64_t busy)
    {
        ++m_generation;
        m_busy = busy;
        m_running = true;
        return {m_generation, document, busy};
    }

    // Cancels the running request, if any; returns its busy entry (0 for none)
    // for the caller to end.
    std::uint64_t cancel()
    {
        ++m_generation;
        const std::uint64_t busy = m_busy;
        m_busy = 0;
        m_running = false;
        return busy;
    }

    // Whether the ticket belongs to the request the slot holds.
    bool holds(const Ticket& ticket) const { return ticket.generation == m_generation; }

    // The request of the ticket is over; returns its busy entry to end.
    std::uint64_t finish(const Ticket& ticket)
    {
        if (holds(ticket)) {
            m_busy = 0;
            m_running = false;
        }
        return ticket.busy;
    }

    // Whether a request was started and has neither finished nor been cancelled.
    bool running() const { return m_running; }

    std::uint64_t generation() const { return m_generation; }

private:
    std::uint64_t m_generation = 0;
    std::uint64_t m_busy = 0;
    bool m_running = false;
};

} // namespace zephrin
