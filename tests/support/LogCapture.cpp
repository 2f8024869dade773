#include "support/LogCapture.h"

#include <QLoggingCategory>
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

    // A captured category logs at every level, whatever its default: the
    // rules apply first, then the capture switches everything on.
    static void filter(QLoggingCategory* category)
    {
        LogCaptureRegistry& registry = instance();
        QLoggingCategory::CategoryFilter rules = nullptr;
        bool captured = false;
        {
            std::lock_guard lock(registry.mutex);
            rules = registry.previousFilter;
            for (const LogCapture* capture : registry.live)
                captured = captured || std::strcmp(category->categoryName(), capture->m_category) == 0;
        }
        if (rules)
            rules(category);
        if (captured)
            for (const QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
                category->setEnabled(type, true);
    }

    void add(LogCapture* capture)
    {
        bool first = false;
        {
            std::lock_guard lock(mutex);
            first = live.empty();
            if (first)
                previous = qInstallMessageHandler(handle);
            live.push_back(capture);
        }
        // Installing the filter runs it over every category (outside the lock,
        // which the filter takes); a later capture installs it again to do that.
        const QLoggingCategory::CategoryFilter replaced = QLoggingCategory::installFilter(filter);
        if (first) {
            {
                std::lock_guard lock(mutex);
                previousFilter = replaced;
            }
            QLoggingCategory::installFilter(filter);  // again, now with the rules at hand
        }
    }

    void remove(LogCapture* capture)
    {
        QLoggingCategory::CategoryFilter restore = nullptr;
        {
            std::lock_guard lock(mutex);
            live.erase(std::remove(live.begin(), live.end(), capture), live.end());
            if (!live.empty())
                return;
            qInstallMessageHandler(previous);
            restore = previousFilter;
        }
        QLoggingCategory::installFilter(restore);
    }

    std::mutex mutex;
    std::vector<LogCapture*> live;
    QtMessageHandler previous = nullptr;
    QLoggingCategory::CategoryFilter previousFilter = nullptr;
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
