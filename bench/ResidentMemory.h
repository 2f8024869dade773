#pragma once
// The process's memory as the system sees it: resident now, and the peak.

#include <QFile>

#include <unistd.h>

namespace zephrin::bench {

// Resident memory of the process now, in megabytes.
inline double residentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

// The most the process has held resident so far, in megabytes: the kernel's
// high-water mark of this program's memory (getrusage's figure would carry
// over that of a parent the program was started from).
inline double peakResidentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024;
    return 0;
}

} // namespace zephrin::bench
