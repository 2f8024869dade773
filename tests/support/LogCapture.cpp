#include "support/LogCapture.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace zephrin::testing {

// The live captures. The message handler is installed while at least one lives,
// so nesting never makes the handler call itself.
struct LogCaptureRegistry {
    static LogCaptureRegistry& instance()
    {
        static LogCaptureRegistry registry;
        return registry;
    }

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        LogCaptureRegistry& registry = instance();
        QtMessageHandler forward = nullptr;
        {
            std::lock_guard lock(registry.mutex);
            bool taken = false;
            for (LogCapture* capture : registry.live) {
                if (context.category && std::strcmp(context.category, capture->m_category) == 0) {
                    capture->m_lines.append(message);
                    taken = true;
                }
            }
            if (!taken)
                forward = registry.previous;
        }
        if (forward)
            forward(type, context, message);
    }

    void add(LogCapture* capture)
    {
        std::lock_guard lock(mutex);
        if (live.empty())
            previous = qInstallMessageHandler(handle);
        live.push_back(capture);
    }

    void remove(LogCapture* capture)
    {
        std::lock_guard lock(mutex);
        live.erase(std::remove(live.begin(), live.end(), capture), live.end());
        if (live.empty())
            qInstallMessageHandler(previous);
    }

    std::mutex mutex;
    std::vector<LogCapture*> live;
    QtMessageHandler previous = nullptr;
};

LogCapture::LogCapture(const char* category) : m_category(category) { LogCaptureRegistry::instance().add(this); }

LogCapture::~LogCapture() { LogCaptureRegistry::instance().remove(this); }

QStringList LogCapture::lines() const
{
    std::lock_guard lock(LogCaptureRegistry::instance().mutex);
    return m_lines;
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
