#pragma once
// What every benchmark shares: repetitions by default (medians and minima of
// repeated runs, never one sample), and a main() that keeps the engine's
// decision log out of the report and can close it with a summary of medians.

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zephrin::bench {

// For ComputeStatistics("min", minimum).
double minimum(const std::vector<double>& values);
// The middle value (the upper of the two middle ones); -1 for none.
double median(std::vector<double> values);

// `repetitions` runs, reported as their median, mean, spread and minimum, in
// milliseconds of wall time.
void repeated(benchmark::internal::Benchmark* benchmark, int repetitions = 9);

// Median wall time in milliseconds of each benchmark, by its name and arguments
// ("encode", "renderDataAt2400/png").
using Medians = std::map<std::string, double>;

// Runs the benchmarks the command line selects, with the "IS-Net" log category
// switched off (the pipeline logs every decision), then hands the medians to
// `summary` when there is one. Returns main()'s status.
int runBenchmarks(int argc, char** argv, const std::function<void(const Medians&)>& summary = {});

} // namespace zephrin::bench
