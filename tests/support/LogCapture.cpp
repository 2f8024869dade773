#include "support/LogCapture.h"

#include <QtGlobal>

#include <cstring>
#include <mutex>

namespace zephrin::testing {

namespace {

// One capture at a time; engines may log from worker threads.
std::mutex captureLock;
const char* capturedCategory = nullptr;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    {
        const std::lock_guard lock(captureLock);
        if (capturedCategory && context.category && std::strcmp(context.category, capturedCategory) == 0) {
            captured << message;
            return;
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

LogCapture::LogCapture(const char* category)
{
    const std::lock_guard lock(captureLock);
    capturedCategory = category;
    captured.clear();
    previousHandler = qInstallMessageHandler(capture);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previousHandler);
    const std::lock_guard lock(captureLock);
    capturedCategory = nullptr;
    captured.clear();
}

QStringList LogCapture::lines() const
{
    const std::lock_guard lock(captureLock);
    return captured;
}

QStringList LogCapture::linesStartingWith(const QString& prefix) const
{
    const std::lock_guard lock(captureLock);
    QStringList matching;
    for (const QString& line : captured)
        if (line.startsWith(prefix))
            matching << line;
    return matching;
}

void LogCapture::clear()
{
    const std::lock_guard lock(captureLock);
    captured.clear();
}

} // namespace zephrin::testing
