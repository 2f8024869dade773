#pragma once
// Collects the log lines written while it lives (any category, any level), so
// that tests can check the exact texts the engines log.

#include <QStringList>

namespace zephrin::testing {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    // The lines that start with `prefix`.
    QStringList linesStartingWith(const QString& prefix) const;
};

} // namespace zephrin::testing
