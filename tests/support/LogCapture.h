#pragma once

#include <QString>
#include <QStringList>

namespace zephrin::testing {

// Collects the messages of one logging category while it lives (they are not
// printed). One capture at a time; messages of other categories pass on to the
// previous handler.
class LogCapture {
public:
    explicit LogCapture(const char* category = "IS-Net");
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    // The captured lines that start with `prefix`.
    QStringList linesStartingWith(const QString& prefix) const;
};

} // namespace zephrin::testing
