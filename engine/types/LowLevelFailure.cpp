#include "engine/types/LowLevelFailure.h"

namespace zephrin {

Q_LOGGING_CATEGORY(failureLog, "zephrin.failures")

void logLowLevelFailure(const char* where, const std::exception& failure, bool swallowed)
{
    // An OpenCV message spans several lines; the first names the failed check.
    const QString text = QString::fromUtf8(failure.what()).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (swallowed)
        qCWarning(failureLog).noquote() << QStringLiteral("%1 gave no result: %2").arg(QLatin1String(where), text);
    else
        qCInfo(failureLog).noquote() << QStringLiteral("%1 failed: %2").arg(QLatin1String(where), text);
}

} // namespace zephrin
