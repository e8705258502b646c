// A scroll view of the bundled demo, live: lines go through the whole pipeline (main worker,
// document worker, the UI-thread notification and the view's repaint) at 200 per second with
// the default pacing, for a few seconds. Reported as counters: the UI thread's busy time
// (its CPU time over the run's wall time, percent of one core) and the time from a record's
// application in the document worker to the end of the view's repaint (median and 99th
// percentile, records that repaint only). Goals: under 10 % and under 16 ms.
#include "bench/LiveBenchSupport.h"
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "render/UpdateHint.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"
#include "views/DocumentNotifier.h"
#include "views/VantrelView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the worker has applied a record, then hands it to the UI thread as the frame's
// notifier does. The UI thread reads the time while the worker waits for it.
class CTimedNotifier : public IDocumentNotifier
{
public:
    explicit CTimedNotifier(IDocumentNotifier& next) : m_next(next) {}
    void OnDocData(CVantrelDoc& doc, const CDocData& item) override
    {
        m_appliedAt = Clock::now();
        m_next.OnDocData(doc, item);
    }
    Clock::time_point m_appliedAt;

private:
    IDocumentNotifier& m_next;
};

void PumpEvents()
{
    QCoreApplication::processEvents();
}

// Arguments: viewport width and height, seconds of data.
void BM_ScrollViewLiveDemo(benchmark::State& state)
{
    const QSize viewport(int(state.range(0)), int(state.range(1)));
    const int seconds = int(state.range(2));
    constexpr int kLinesPerSecond = 200;

    const std::vector<QString> lines = live_bench::DemoTextLines();
    CBenchHost host;
    host.m_docs.push_back(std::make_unique<CVantrelDoc>());
    CVantrelDoc& doc = *host.m_docs.front();
    if (lines.empty() || !doc.OpenDocumentFile(live_bench::DemoFile("demo.t2")) || doc.m_image.isNull()) {
        state.SkipWithError("the demo is not built");
        return;
    }

    SetPacing(CPacing::Default());
    SetMessagePump(&PumpEvents);
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;

    CVantrelView view(doc);
    view.resize(viewport);
    view.show();
    while (!view.windowHandle() || !view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    view.SetReplaySource({&main.m_storeLock, &main.m_internalData, &main.m_fdInfos});
    view.OnInitialUpdate();
    QCoreApplication::processEvents();

    CDocumentNotifier notifier;
    CTimedNotifier timed(notifier);
    std::vector<double> latencyMs;
    int64_t updates = 0;
    notifier.SetHandler([&](CVantrelDoc&, int32_t hint) {
        view.OnUpdate(hint);
        ++updates;
        if (HintAction(ViewKind::Scroll, hint).m_repaint)
            latencyMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - timed.m_appliedAt).count());
    });
    doc.m_notifier = &timed;

    double busyPercent = 0.0;
    for (auto _ : state) {
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();

        std::atomic<bool> fed{false};
        const int64_t cpu0 = live_bench::ThreadCpuNs();
        const Clock::time_point wall0 = Clock::now();
        std::thread feeder([&] {
            Clock::time_point next = Clock::now();
            for (int i = 0; i < kLinesPerSecond * seconds; ++i) {
                std::this_thread::sleep_until(next);
                main.PushLine(lines[size_t(i) % lines.size()]);
                next += std::chrono::microseconds(1000000 / kLinesPerSecond);
            }
            fed = true;
        });
        // The UI thread only serves its events, as the application's does during a run.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (fed)
                loop.quit();
        });
        poll.start(20);
        loop.exec();
        const double cpu = double(live_bench::ThreadCpuNs() - cpu0) * 1e-9;
        const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
        feeder.join();
        main.StopThreads();
        busyPercent = 100.0 * cpu / wall;
    }
    doc.m_notifier = nullptr;
    SetMessagePump(nullptr);

    state.counters["ui_busy_pct"] = busyPercent;
    state.counters["latency_p50_ms"] = live_bench::Percentile(latencyMs, 0.50);
    state.counters["latency_p99_ms"] = live_bench::Percentile(latencyMs, 0.99);
    state.counters["latency_max_ms"] = latencyMs.empty() ? 0.0 : *std::max_element(latencyMs.begin(), latencyMs.end());
    state.counters["records"] = double(doc.m_currentRow + 1);
    state.counters["updates"] = double(updates);
    state.counters["repaints"] = double(latencyMs.size());
}
BENCHMARK(BM_ScrollViewLiveDemo)
    ->Args({1280, 800, 5})
    ->Args({1600, 900, 5})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
