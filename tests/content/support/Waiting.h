#pragma once
// Waiting in tests without sleeping: the event loop runs until the condition
// holds or the time is up (by default the patience real work is given),
// waking every few milliseconds to look again.

#include "support/Patience.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFuture>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace zephrin::testing {

template <typename Condition>
bool waitUntil(Condition done, std::chrono::milliseconds timeout = kPatience)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(2);
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// The future's result once it has finished; a failure when it does not finish
// in time or finishes without a result (cancelled).
template <typename T>
T awaitResult(QFuture<T> future, std::chrono::milliseconds timeout = kPatience)
{
    if (!waitUntil([&] { return future.isFinished(); }, timeout)) {
        ADD_FAILURE() << "the future did not finish in time";
        return T{};
    }
    if (future.resultCount() == 0) {
        ADD_FAILURE() << "the future finished without a result";
        return T{};
    }
    return future.result();
}

inline bool awaitDone(QFuture<void> future, std::chrono::milliseconds timeout = kPatience)
{
    return waitUntil([&] { return future.isFinished(); }, timeout);
}

} // namespace zephrin::testing
