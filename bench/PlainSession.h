#pragma once
// The IS-Net model in a plain ONNX Runtime session of its own process
// (bench_plain_session, beside this benchmark), run on the same input as the
// runner, so that the benchmarks print the runtime's own speed on this
// machine beside ours. The process inherits no tuning: its environment is
// this one's without the allocator's variables.

#include <QProcess>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QTemporaryFile;

namespace zephrin::bench {

class PlainSession {
public:
    // Starts the process on `model` and `input` (the runner's input, 3 × 1024
    // × 1024 floats) and waits until its session is loaded.
    PlainSession(const std::filesystem::path& model, std::span<const float> input);
    ~PlainSession();
    PlainSession(const PlainSession&) = delete;
    PlainSession& operator=(const PlainSession&) = delete;

    // Whether the session loaded; the reason when it did not is on stderr.
    bool ready() const { return m_ready; }
    // Milliseconds the session took to load from the model file.
    double loadMs() const { return m_loadMs; }
    // One Run in the process, its wall time in milliseconds; none when the
    // process failed. The first after the load is the first inference.
    std::optional<double> run();

private:
    std::optional<double> answer(const char* label);

    std::unique_ptr<QTemporaryFile> m_input;
    QProcess m_process;
    bool m_ready = false;
    double m_loadMs = 0;
};

// Runs the plain session's Run and each of `ours` once a round, `rounds`
// rounds, each taking the lead in turn, so that a change in the machine's load
// falls on all alike. Their medians in milliseconds, the plain session's
// first (NaN when it failed), then those of `ours` in order.
std::vector<double> alternate(PlainSession& plain, int rounds, const std::vector<std::function<double()>>& ours);

} // namespace zephrin::bench
