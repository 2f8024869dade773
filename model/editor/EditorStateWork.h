#pragma once
// The templates behind EditorState's setters and background jobs, shared by
// its topic files; nothing outside EditorState includes this.

#include "model/editor/EditorState.h"
#include "model/tasks/Outcome.h"

#include <QPointer>

#include <type_traits>

namespace zephrin::detail {

// Whether a write of `b` over `a` changes nothing. Images compare by the
// generation of their box; the types that have no equality (documents,
// mattes, layers, export files, sheet renders) count as changed unless both
// are absent.
template <typename T>
bool sameValue(const T& a, const T& b)
{
    return a == b;
}

inline bool sameValue(const ImageBox& a, const ImageBox& b)
{
    return a.generation() == b.generation();
}

template <typename T>
constexpr bool hasNoEquality = std::is_same_v<T, ImageDocument> || std::is_same_v<T, MatteBox> ||
                               std::is_same_v<T, MaskEditLayers> || std::is_same_v<T, PaintLayers> ||
                               std::is_same_v<T, ExportFile> || std::is_same_v<T, SheetRender>;

template <typename T>
bool sameValue(const std::optional<T>& a, const std::optional<T>& b)
{
    if (!a || !b)
        return !a && !b;
    if constexpr (hasNoEquality<T>)
        return false;
    else
        return sameValue(*a, *b);
}

} // namespace zephrin::detail

namespace zephrin {

template <typename T, typename U>
bool EditorState::assign(T& member, U&& value, void (EditorState::*changed)())
{
    if (detail::sameValue(member, static_cast<const T&>(value)))
        return false;
    member = std::forward<U>(value);
    emit(this->*changed)();
    return true;
}

template <typename Body>
void EditorState::inChain(std::uint64_t errorCount, Body&& body)
{
    const std::optional<std::uint64_t> outer = std::exchange(m_chainErrorCount, errorCount);
    body();
    m_chainErrorCount = outer;
}

template <typename Work, typename Apply>
void EditorState::runTask(TaskSlot& slot, TaskSlot::Ticket ticket, TaskPriority priority, Work work, Apply apply)
{
    m_runner->run(priority, this,
                  [this, &slot, ticket, since = chainErrorCount(), work = std::move(work),
                   apply = std::move(apply)]() {
                      auto outcome = captureOutcome(work);
                      return TaskRunner::Continuation([this, &slot, ticket, since, apply,
                                                       outcome = std::move(outcome)]() {
                          inChain(since, [&] {
                              if (isCurrent(slot, ticket)) {
                                  if (outcome.ok())
                                      clearErrorsUpTo(since);
                                  apply(outcome);
                              }
                              endBusy(slot.finish(ticket));
                          });
                      });
                  });
}

template <typename Work, typename Apply>
void EditorState::runAfterWait(TaskSlot& slot, TaskSlot::Ticket ticket, bool skipDebounce, Work work, Apply apply)
{
    afterWait(slot, ticket, skipDebounce ? std::chrono::milliseconds(0) : slot.debounce,
              [this, &slot, ticket, work = std::move(work), apply = std::move(apply)] {
                  runTask(slot, ticket, TaskPriority::userInitiated, work, apply);
              });
}

template <typename T, typename OnValue>
auto EditorState::orLastError(OnValue onValue)
{
    return [this, onValue = std::move(onValue)](const Outcome<T>& outcome) {
        if (outcome.ok()) {
            onValue(*outcome.value);
        } else {
            setLastError(outcome.error);
        }
    };
}

template <typename T, typename Apply>
void EditorState::awaitTask(TaskSlot& slot, TaskSlot::Ticket ticket, QFuture<std::optional<T>> future, Apply apply)
{
    // The continuation can still be called while the editor is being torn
    // down (a store's request outliving it); then nothing lands.
    const auto land = [this, alive = QPointer<EditorState>(this), &slot, ticket, since = chainErrorCount(),
                       apply](const std::optional<T>& value) {
        if (!alive)
            return;
        inChain(since, [&] {
            if (isCurrent(slot, ticket)) {
                if (value)
                    clearErrorsUpTo(since);
                apply(value);
            }
            endBusy(slot.finish(ticket));
        });
    };
    // A future that finishes without a value, fails or is cancelled lands as none.
    future
        .then(this,
              [land](QFuture<std::optional<T>> finished) {
                  std::optional<T> value;
                  try {
                      if (finished.resultCount() > 0)
                          value = finished.result();
                  } catch (...) {
                  }
                  land(value);
              })
        .onCanceled(this, [land] { land(std::nullopt); });
}

} // namespace zephrin
