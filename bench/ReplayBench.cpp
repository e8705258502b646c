// The stretch view's history replay: after a resize during a run, 100,000 stored rows are
// applied again to copies of 20 plots, and each plot's trail step is drawn on the new base
// layer. Goal: under one second. Argument 0: every plot draws a trail only; 1: half of them
// also leave a filled marker per row (History plots).
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "render/ViewLayers.h"

#include <benchmark/benchmark.h>


#include <cmath>
#include <mutex>

namespace {

constexpr int kRows = 100000;
constexpr int kPlots = 20;

void BM_StretchReplay(benchmark::State& state)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 1600;
    doc.m_pictureHeight = 900;
    doc.m_image = QImage(1600, 900, QImage::Format_RGB32);
    doc.m_image.fill(qRgb(220, 228, 236));
    for (int i = 0; i < kPlots; ++i) {
        CPlotInfo plot;
        plot.m_id = i + 1;
        plot.m_displayKind = state.range(0) && i % 2 ? DisplayKind::History : DisplayKind::Latest;
        plot.m_size = 6;
        plot.m_fill = 1;
        plot.m_color = 0x0000C0 + i * 0x0A0000;
        plot.m_axisCount = 2;
        CAxisInfo& x = plot.m_axes[0];
        x.m_fdNo = 1 + 2 * i;
        x.m_startX = 100, x.m_startY = 900, x.m_endX = 1700, x.m_endY = 900, x.m_endValue = 100;
        CAxisInfo& y = plot.m_axes[1];
        y.m_fdNo = 2 + 2 * i;
        y.m_startX = 100, y.m_startY = 900, y.m_endX = 100, y.m_endY = 100, y.m_endValue = 100;
        plot.ComputeOrigin();
        plot.m_historyLine.m_show = 1;
        plot.m_historyLine.m_color = plot.m_color;
        doc.m_plots.push_back(plot);
    }

    CBuffer<FieldRow> store;
    for (int r = 0; r < kRows; ++r) {
        QStringList fds{QStringLiteral("PV")};
        for (int f = 1; f <= 2 * kPlots; ++f)
            fds << QString::number(50 + 45 * std::sin(r * 0.001 * f + f), 'f', 2);
        store.Add(FieldRow(fds));
    }
    std::mutex pipelineLock;

    CViewLayers view(doc, ViewKind::Stretch);
    view.SetReplaySource({&pipelineLock, &store, nullptr});
    view.SetClientSize(QSize(1280, 800));
    view.CreateLayers();
    // As after the last stored row was applied by the feed.
    doc.ResetFeed();
    doc.m_editMode = EditMode::Running;
    doc.ApplyDocData(CDocData(ApplyAndRepaint, kRows - 1, store.GetAt(kRows - 1), nullptr));

    bool wide = false;
    for (auto _ : state) {
        view.OnSize(wide ? QSize(1280, 800) : QSize(1000, 700));
        wide = !wide;
        benchmark::DoNotOptimize(view.Base().constBits());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kRows));
}
BENCHMARK(BM_StretchReplay)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
