#pragma once
// How long a test waits for real work to come through: another process, a
// decode or a render on the worker pools, a transfer over loopback, a real
// timer. Such a wait is a condition to reach, not a speed check: a machine
// busy with other builds slows that work many times over, so the bound is
// generous and only a fault runs out of it. Waits on ManualTaskRunner or a
// fake clock are no such waits and need none.

#include <chrono>

namespace zephrin::testing {

inline constexpr std::chrono::milliseconds kPatience{60'000};
// The same, for Qt's waits that count in int milliseconds (QTest::qWaitFor,
// QProcess::waitForFinished, QSignalSpy::wait).
inline constexpr int kPatienceMs = int(kPatience.count());

} // namespace zephrin::testing
