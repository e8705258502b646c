#include "fields/CalcFD.h"
#include "fields/FDInfo.h"
#include "pipeline/FieldRow.h"

#include <benchmark/benchmark.h>

namespace {

FieldRow TenFields()
{
    return FieldRow{QStringLiteral("12"), QStringLiteral("3.5"), QStringLiteral("-7"), QStringLiteral("0.25"),
                    QStringLiteral("100"), QStringLiteral("1e3"), QStringLiteral("42"), QStringLiteral("9.75"),
                    QStringLiteral("-0.5"), QStringLiteral("8")};
}

// The whole Evaluate of one computed FD, as the pipeline calls it per line.
void BM_CalcFDEvaluate(benchmark::State& state)
{
    const CCalcFD calc(QStringLiteral("FD(0) >= 10 && FD(1) != 0"), QStringLiteral("FD(0) + FD(1) * 2"),
                       QStringLiteral("0"));
    const FieldRow row = TenFields();
    const CFDInfos table;
    double value = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc.Evaluate(value, &row, &table));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_CalcFDEvaluate);

// The same with the condition false, so the short "0" branch is parsed.
void BM_CalcFDEvaluateElse(benchmark::State& state)
{
    const CCalcFD calc(QStringLiteral("FD(0) >= 10 && FD(1) != 0"), QStringLiteral("FD(0) + FD(1) * 2"),
                       QStringLiteral("0"));
    const FieldRow row{QStringLiteral("5"), QStringLiteral("3.5"), QStringLiteral("-7"), QStringLiteral("0.25"),
                       QStringLiteral("100"), QStringLiteral("1e3"), QStringLiteral("42"), QStringLiteral("9.75"),
                       QStringLiteral("-0.5"), QStringLiteral("8")};
    double value = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc.Evaluate(value, &row, nullptr));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_CalcFDEvaluateElse);

} // namespace

BENCHMARK_MAIN();
