#pragma once
// What the process prints on standard error while some work runs.

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>
#include <functional>

#include <unistd.h>

namespace zephrin::testing {

inline QByteArray printedWhile(const std::function<void()>& work)
{
    std::fflush(stderr);
    const int terminal = ::dup(STDERR_FILENO);
    QTemporaryFile printed;
    if (!printed.open())
        return "(no file to catch it)";
    ::dup2(printed.handle(), STDERR_FILENO);
    work();
    std::fflush(stderr);
    ::dup2(terminal, STDERR_FILENO);
    ::close(terminal);
    printed.seek(0);
    return printed.readAll();
}

} // namespace zephrin::testing
