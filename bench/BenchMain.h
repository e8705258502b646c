#pragma once

// The end of every benchmark program's main: the Qt application it needs, if any (on the
// offscreen platform unless another one is asked for), then Google Benchmark on the
// remaining arguments.

#include <benchmark/benchmark.h>

#include <QByteArray>

inline int RunRegisteredBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

template <typename Application>
int RunBenchmarks(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    return RunRegisteredBenchmarks(argc, argv);
}
