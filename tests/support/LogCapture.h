#pragma once

#include <QString>
#include <QStringList>

namespace zephrin::testing {

// Collects the messages of one logging category while it lives (they are not
// printed); messages of other categories pass on to the previous handler.
// Captures may be nested: each one collects what was logged during its own life.
class LogCapture {
public:
    explicit LogCapture(const char* category = "IS-Net");
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    // The captured lines that start with `prefix`.
    QStringList linesStartingWith(const QString& prefix) const;

private:
    friend struct LogCaptureRegistry;
    const char* m_category;
    QStringList m_lines;
};

} // namespace zephrin::testing
