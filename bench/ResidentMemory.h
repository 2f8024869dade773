#pragma once
// The process's memory as the system sees it: resident now, and the peak.

#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

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

// The highest resident memory seen since it began or since reset(), sampled
// every 5 ms by a thread of its own (the GUI thread may be busy meanwhile).
class ResidentPeak {
public:
    ResidentPeak()
        : m_sampler([this] {
              while (!m_stop) {
                  double seen = m_peak.load();
                  const double now = residentMB();
                  while (now > seen && !m_peak.compare_exchange_weak(seen, now)) {
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          })
    {
    }
    ~ResidentPeak()
    {
        m_stop = true;
        m_sampler.join();
    }
    ResidentPeak(const ResidentPeak&) = delete;
    ResidentPeak& operator=(const ResidentPeak&) = delete;

    double megabytes() const { return std::max(m_peak.load(), residentMB()); }
    void reset() { m_peak = residentMB(); }

private:
    std::atomic<double> m_peak{residentMB()};
    std::atomic<bool> m_stop{false};
    std::thread m_sampler;
};

} // namespace zephrin::bench
