#pragma once
// A program run as a child process with arguments that are bytes (QProcess
// passes only text): its output as bytes, how it ended, its peak memory and
// how long it took.

#include <QByteArray>

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zephrin::testing {

struct ChildRun {
    int exitCode = -1; // -1 unless it exited
    int signal = 0;    // the signal that ended it, if one did
    bool timedOut = false;
    QByteArray out;
    QByteArray err;
    long peakKilobytes = 0;
    double seconds = 0;
};

// Runs `program` with `arguments`, without QT_LOGGING_RULES and with each
// "NAME=value" of `environment` set; killed after `timeoutSeconds`. `watch`
// sees the standard error so far each time more arrives, with the child's id.
ChildRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {}, int timeoutSeconds = 180,
                  const std::function<void(pid_t, const QByteArray&)>& watch = {});

} // namespace zephrin::testing
