#pragma once
// Collects the messages of one logging category while the object lives, for
// tests that check what an engine logged. Messages of other categories go on to
// the handler that was installed before.

#include <QString>
#include <QStringList>

namespace zephrin::testing {

class LogCapture {
public:
    explicit LogCapture(const char* category = "IS-Net");
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Every captured message, in order.
    QStringList lines() const;
    // The captured messages that start with `prefix`.
    QStringList linesStartingWith(const QString& prefix) const;
    void clear();
};

} // namespace zephrin::testing
