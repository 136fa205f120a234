#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace zorvane {

// main() of a benchmark program that measures widgets: an application (offscreen unless the caller
// chose a platform), then the benchmarks.
inline int RunBenchmarksWithApplication(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace zorvane
