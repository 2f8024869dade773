#include "BenchHarness.h"

#include <QLoggingCategory>

#include <algorithm>

namespace zephrin::bench {

double minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

int runBenchmarks(int argc, char** argv)
{
    QLoggingCategory::setFilterRules(QStringLiteral("IS-Net.info=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zephrin::bench
