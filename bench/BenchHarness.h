#pragma once
// What every benchmark shares: the minimum as an extra statistic beside the
// median of repeated runs, and a main() that keeps the engine's decision log
// out of the report.

#include <benchmark/benchmark.h>

#include <vector>

namespace zephrin::bench {

// For ComputeStatistics("min", minimum).
double minimum(const std::vector<double>& values);

// Runs the benchmarks the command line selects, with the "IS-Net" log category
// switched off (the pipeline logs every decision). Returns main()'s status.
int runBenchmarks(int argc, char** argv);

} // namespace zephrin::bench
