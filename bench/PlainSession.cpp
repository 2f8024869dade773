#include "PlainSession.h"

#include "BenchHarness.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryFile>

#include <chrono>
#include <cstdio>
#include <thread>

namespace zephrin::bench {

namespace {

// A pause before each run of the alternation (see alternate).
constexpr std::chrono::milliseconds kSettle{150};

constexpr int kWaitMs = 120000;

QString program()
{
    return QString::fromStdString(
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bench_plain_session").string());
}

// This process's environment without what tunes the allocator.
QProcessEnvironment untuned()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys()) {
        if (name.startsWith(QLatin1String("MALLOC_")) || name == QLatin1String("GLIBC_TUNABLES"))
            environment.remove(name);
    }
    return environment;
}

} // namespace

PlainSession::PlainSession(const std::filesystem::path& model, std::span<const float> input)
    : m_input(std::make_unique<QTemporaryFile>())
{
    const auto bytes = qint64(input.size_bytes());
    if (!m_input->open() || m_input->write(reinterpret_cast<const char*>(input.data()), bytes) != bytes ||
        !m_input->flush()) {
        std::fprintf(stderr, "plain session: cannot write its input\n");
        return;
    }
    m_process.setProcessEnvironment(untuned());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program(), {QString::fromStdString(model.string()), m_input->fileName()});
    const std::optional<double> loaded = answer("loaded");
    m_ready = loaded.has_value();
    m_loadMs = loaded.value_or(0);
}

PlainSession::~PlainSession()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
}

std::optional<double> PlainSession::run()
{
    if (!m_ready)
        return std::nullopt;
    m_process.write("run\n");
    return answer("run");
}

// The number on the process's next line, which must begin with `label`.
std::optional<double> PlainSession::answer(const char* label)
{
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(kWaitMs)) {
            std::fprintf(stderr, "plain session: no answer (%s)\n", qPrintable(m_process.errorString()));
            m_ready = false;
            return std::nullopt;
        }
    }
    const QByteArray line = m_process.readLine().trimmed();
    const QList<QByteArray> fields = line.split(' ');
    bool number = false;
    const double value = fields.size() == 2 && fields[0] == label ? fields[1].toDouble(&number) : 0;
    if (!number) {
        std::fprintf(stderr, "plain session: %s\n", line.constData());
        m_ready = false;
        return std::nullopt;
    }
    return value;
}

std::vector<double> alternate(PlainSession& plain, int rounds, const std::vector<std::function<double()>>& ours)
{
    const std::size_t runners = ours.size() + 1;
    std::vector<std::vector<double>> times(runners);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t turn = 0; turn < runners; ++turn) {
            // The plain session's threads spin on after its run for some
            // 50 ms (the runtime's default; ours stop): a run started then
            // would share the cores with them.
            std::this_thread::sleep_for(kSettle);
            const std::size_t which = (std::size_t(round) + turn) % runners;
            if (which > 0) {
                times[which].push_back(ours[which - 1]());
            } else if (const std::optional<double> ms = plain.run()) {
                times[0].push_back(*ms);
            }
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& each : times)
        medians.push_back(each.empty() ? std::numeric_limits<double>::quiet_NaN() : median(each));
    return medians;
}

} // namespace zephrin::bench
