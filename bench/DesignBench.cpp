// Cost of applying one record to a document's design: 50 plots with two axes and one text
// display each, and 20 bars, for a record of ten FDs.
#include "model/BarInfo.h"
#include "model/PlotInfo.h"
#include "pipeline/DocData.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_DesignUpdateFromRecord(benchmark::State& state)
{
    std::vector<CPlotInfo> plots(50);
    for (size_t i = 0; i < plots.size(); ++i) {
        CPlotInfo& p = plots[i];
        p.m_id = int32_t(i);
        p.m_axisCount = 2;
        p.m_axes[0].m_fdNo = int32_t(1 + i % 9);
        p.m_axes[1].m_fdNo = int32_t(1 + (i + 3) % 9);
        p.m_texts.resize(1);
        p.m_texts[0].m_fdNo = int32_t(1 + (i + 5) % 9);
        p.m_texts[0].m_format = QStringLiteral("%.3f");
        p.ResetRunState();
    }
    std::vector<CBarInfo> bars(20);
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i].m_axis.m_fdNo = int32_t(1 + i % 9);
        bars[i].ResetRunState();
    }

    std::vector<CDocData> records;
    for (int r = 0; r < 16; ++r) {
        QStringList fds{QStringLiteral("DATA")};
        for (int f = 1; f < 10; ++f)
            fds << QString::number(r * 10.25 + f * 1.5, 'f', 3);
        records.emplace_back(ApplyAndRepaint, r, FieldRow(fds), nullptr);
    }

    size_t n = 0;
    for (auto _ : state) {
        const CDocData& record = records[n++ % records.size()];
        for (CPlotInfo& p : plots)
            p.UpdateFromRecord(record);
        for (CBarInfo& b : bars)
            b.UpdateFromRecord(record);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DesignUpdateFromRecord)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
