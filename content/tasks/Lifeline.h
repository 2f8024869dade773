#pragma once
// The way back from the worker pools to a QObject on its own thread that is
// safe against the object's destruction. A worker's result is posted to the
// owner only while the owner lives: the owner cuts the lifeline first thing in
// its destructor, under the same lock that every post takes, and events already
// posted are dropped with the object. (A QFuture continuation with the object as
// context would be posted from the worker with no such lock, and could reach an
// object that another thread is destroying.)
//
//     m_lifeline = Lifeline::of(this);                 // in the constructor
//     m_lifeline->cut();                               // first line of the destructor
//     m_lifeline->then(QtConcurrent::run(pool, work), [this](Result r) { ... });

#include "content/tasks/Promise.h"

#include <QFuture>
#include <QMetaObject>
#include <QObject>

#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

namespace zephrin {

class Lifeline : public std::enable_shared_from_this<Lifeline> {
public:
    static std::shared_ptr<Lifeline> of(QObject* owner) { return std::shared_ptr<Lifeline>(new Lifeline(owner)); }

    // No post reaches the owner after this returns.
    void cut()
    {
        const std::lock_guard lock(m_lock);
        m_owner = nullptr;
    }

    // Runs `work` on the owner's thread, later, unless the owner is gone by then.
    template <typename Work>
    void post(Work&& work)
    {
        const std::lock_guard lock(m_lock);
        if (m_owner)
            QMetaObject::invokeMethod(m_owner, std::forward<Work>(work), Qt::QueuedConnection);
    }

    // `future`'s result handed to `step` on the owner's thread. The returned
    // future carries what `step` returns; it is cancelled when the owner goes
    // first or `future` is cancelled.
    template <typename T, typename Step>
    QFuture<std::invoke_result_t<Step, T>> then(QFuture<T> future, Step&& step)
    {
        using R = std::invoke_result_t<Step, T>;
        auto promise = startedPromise<R>();
        future.then([self = shared_from_this(), promise, step = std::forward<Step>(step)](T value) mutable {
            self->post([promise, step = std::move(step), value = std::move(value)]() mutable {
                if constexpr (std::is_void_v<R>) {
                    step(std::move(value));
                    promise->finish();
                } else {
                    settle(promise, step(std::move(value)));
                }
            });
        });
        return promise->future();
    }

private:
    explicit Lifeline(QObject* owner) : m_owner(owner) {}

    std::mutex m_lock;
    QObject* m_owner;
};

} // namespace zephrin
