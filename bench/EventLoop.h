#pragma once
// Running the GUI thread's event loop from a benchmark's script.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace zephrin::bench {

// Runs the event loop for `ms` milliseconds.
inline void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds or `timeoutMs` pass; whether it holds.
inline bool spinUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        spin(1);
    return done();
}

} // namespace zephrin::bench
