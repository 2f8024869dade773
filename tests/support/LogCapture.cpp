#include "support/LogCapture.h"

#include <QtGlobal>

#include <cstring>
#include <mutex>

namespace zephrin::testing {

namespace {

std::mutex captureMutex;
const char* capturedCategory = nullptr;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    {
        std::lock_guard lock(captureMutex);
        if (capturedCategory && context.category && std::strcmp(context.category, capturedCategory) == 0) {
            captured.append(message);
            return;
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

LogCapture::LogCapture(const char* category)
{
    std::lock_guard lock(captureMutex);
    capturedCategory = category;
    captured.clear();
    previousHandler = qInstallMessageHandler(captureMessage);
}

LogCapture::~LogCapture()
{
    std::lock_guard lock(captureMutex);
    qInstallMessageHandler(previousHandler);
    capturedCategory = nullptr;
    captured.clear();
}

QStringList LogCapture::lines() const
{
    std::lock_guard lock(captureMutex);
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
