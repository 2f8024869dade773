#include "support/LogCapture.h"

#include <QtGlobal>

#include <mutex>

namespace zephrin::testing {

namespace {

std::mutex lock;
QStringList captured;
QtMessageHandler previous = nullptr;

void collect(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::lock_guard guard(lock);
    captured.append(message);
}

} // namespace

LogCapture::LogCapture()
{
    std::lock_guard guard(lock);
    captured.clear();
    previous = qInstallMessageHandler(collect);
}

LogCapture::~LogCapture() { qInstallMessageHandler(previous); }

QStringList LogCapture::lines() const
{
    std::lock_guard guard(lock);
    return captured;
}

QStringList LogCapture::linesStartingWith(const QString& prefix) const
{
    QStringList matching;
    for (const QString& line : lines())
        if (line.startsWith(prefix))
            matching.append(line);
    return matching;
}

} // namespace zephrin::testing
