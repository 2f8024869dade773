// The editor's start: how long from starting zephrin until its window has
// drawn its first frame, and how long a second launch takes to hand its URL
// to the running one and exit. Real processes, each with fresh data, config
// and runtime folders; the window renders offscreen unless a display is set.
// The window's own report ("window shown after N ms", from QT_LOGGING_RULES
// zephrin.startup.info) marks the first frame; the clock here starts before
// the process does, so it includes loading the program.

#include "BenchHarness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

QString program()
{
    return QString::fromStdString(
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zephrin").string());
}

// A running first instance in its own folders.
class Instance {
public:
    Instance()
    {
        for (const char* name : {"run", "data", "config"})
            QDir().mkpath(m_home.filePath(QString::fromLatin1(name)));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        if (!m_environment.contains(QStringLiteral("DISPLAY")) && !m_environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
            m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("zephrin.startup.info=true"));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("run")));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    }

    ~Instance()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
        }
    }

    // Starts zephrin and returns the milliseconds until its first frame; -1
    // when it never showed one.
    double start()
    {
        m_process.setProcessEnvironment(m_environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        m_process.start(program(), {});
        QByteArray output;
        while (clock.elapsed() < 20000 && m_process.waitForReadyRead(20000)) {
            output += m_process.readAll();
            if (output.contains("window shown after"))
                return double(clock.nsecsElapsed()) / 1e6;
        }
        return -1;
    }

    // Runs a second launch with `arguments` and returns the milliseconds until
    // it exited; -1 when it failed.
    double launchAgain(const QStringList& arguments)
    {
        QProcess second;
        second.setProcessEnvironment(m_environment);
        QElapsedTimer clock;
        clock.start();
        second.start(program(), arguments);
        if (!second.waitForFinished(10000) || second.exitCode() != 0)
            return -1;
        return double(clock.nsecsElapsed()) / 1e6;
    }

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QProcess m_process;
};

void windowOnScreen(benchmark::State& state)
{
    for (auto _ : state) {
        Instance instance;
        const double ms = instance.start();
        if (ms < 0) {
            state.SkipWithError("zephrin showed no window");
            return;
        }
        state.SetIterationTime(ms / 1000);
    }
}

void secondLaunchHandsOver(benchmark::State& state)
{
    Instance instance;
    if (instance.start() < 0) {
        state.SkipWithError("zephrin showed no window");
        return;
    }
    const QStringList url{QStringLiteral("zephrin://open?file=in-00000000-0000-0000-0000-000000000000.png")};
    for (auto _ : state) {
        const double ms = instance.launchAgain(url);
        if (ms < 0) {
            state.SkipWithError("the second launch failed");
            return;
        }
        state.SetIterationTime(ms / 1000);
    }
}

} // namespace

BENCHMARK(windowOnScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(7)
    ->ComputeStatistics("min", zephrin::bench::minimum)->ReportAggregatesOnly(true);
BENCHMARK(secondLaunchHandsOver)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(15)
    ->ComputeStatistics("min", zephrin::bench::minimum)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return zephrin::bench::runBenchmarks(argc, argv);
}
