#include "BenchHarness.h"

#include <QLoggingCategory>

#include <algorithm>

namespace zephrin::bench {

namespace {

// "function" or "function/arguments", without the repetition suffixes.
std::string nameOf(const benchmark::BenchmarkReporter::Run& run)
{
    const auto& name = run.run_name;
    return name.args.empty() ? name.function_name : name.function_name + '/' + name.args;
}

// The console report, noting each median as it goes by.
class MedianRecorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                medians[nameOf(run)] = run.GetAdjustedRealTime()
                    * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
                    / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    Medians medians;
};

} // namespace

double minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void repeated(benchmark::internal::Benchmark* benchmark, int repetitions)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", minimum);
}

int runBenchmarks(int argc, char** argv, const std::function<void(const Medians&)>& summary)
{
    QLoggingCategory::setFilterRules(QStringLiteral("IS-Net.info=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianRecorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    if (summary)
        summary(recorder.medians);
    return 0;
}

} // namespace zephrin::bench
