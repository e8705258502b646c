// The live web view: from a line queued to the picture that shows it reaching a WebSocket
// viewer on the loopback, at 20 lines per second, and what each picture costs the server's
// thread; and the two picture formats it could send.
#include "bench/LiveBenchSupport.h"
#include "cli/HeadlessDisplay.h"
#include "sources/LiveWebServer.h"

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <functional>
#include <mutex>
#include <thread>

using namespace live_bench;

namespace {

constexpr QSize kClient(1600, 900);

// Runs this thread's event loop, sleeping between events, until done() holds.
void ServeUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(2);
    if (!done())
        loop.exec();
}

// Counts the records the view has drawn, after it drew them, and notes when.
class CCountingNotifier : public IDocumentNotifier
{
public:
    explicit CCountingNotifier(IDocumentNotifier& next)
        : m_next(next), m_drawnNs(100000) {}
    void OnDocData(CVantrelDoc& doc, const CDocData& item) override
    {
        m_next.OnDocData(doc, item);
        const int64_t n = m_applied.load(std::memory_order_relaxed);
        if (size_t(n) < m_drawnNs.size())
            m_drawnNs[size_t(n)] = Clock::now().time_since_epoch().count();
        m_applied.store(n + 1, std::memory_order_release);
    }
    std::atomic<int64_t> m_applied{0};
    std::vector<int64_t> m_drawnNs;

private:
    IDocumentNotifier& m_next;
};

// A viewer on a thread of its own: notes when each picture arrived and asks for the next.
class CTimedViewer : public QObject
{
public:
    void Open(const QUrl& url)
    {
        connect(&m_socket, &QWebSocket::binaryMessageReceived, this, [this](const QByteArray& frame) {
            {
                std::lock_guard lock(m_lock);
                m_arrivedNs.push_back(Clock::now().time_since_epoch().count());
                m_bytes += frame.size();
            }
            m_socket.sendTextMessage(QStringLiteral("next"));
        });
        m_socket.open(url);
    }
    void Close() { m_socket.close(); }
    std::vector<int64_t> Arrivals()
    {
        std::lock_guard lock(m_lock);
        return m_arrivedNs;
    }
    int64_t Bytes()
    {
        std::lock_guard lock(m_lock);
        return m_bytes;
    }

private:
    // A child, so that it moves to the viewer's thread with it.
    QWebSocket m_socket{QString(), QWebSocketProtocol::VersionLatest, this};
    std::mutex m_lock;
    std::vector<int64_t> m_arrivedNs;
    int64_t m_bytes = 0;
};

// The demo in a headless stretch view at 1600 x 900, as `vantrel-cli serve` runs it.
struct CServedDemo
{
    CHeadlessRun m_run;
    std::unique_ptr<CCountingNotifier> m_counter;

    bool Open()
    {
        if (m_run.Open(DemoFile("demo.t2"), ViewKind::Stretch, kClient, QString(), QString()))
            return false;
        m_run.Main().m_keepInternal = 0;
        m_counter = std::make_unique<CCountingNotifier>(m_run.View());
        m_run.Start(*m_counter);
        return true;
    }
    void Close()
    {
        m_run.Stop();
        m_run.View().SetRepaintListener(nullptr);
    }
};

void BM_LiveWebLineToFrame(benchmark::State& state)
{
    const int fps = int(state.range(0));
    const int count = int(state.range(1));
    const std::vector<QString> lines = DemoTextLines();
    for (auto _ : state) {
        CServedDemo demo;
        if (lines.empty() || !demo.Open()) {
            state.SkipWithError("the demo is missing");
            return;
        }
        // What each picture showed: the records drawn when it was grabbed, at least.
        std::vector<int64_t> grabbedRecords, grabbedNs;
        std::atomic<int64_t> shownThrough{0};
        CLiveWebServer server(
            [&] {
                grabbedRecords.push_back(shownThrough.load(std::memory_order_acquire));
                grabbedNs.push_back(Clock::now().time_since_epoch().count());
                return demo.m_run.View().GrabOverlay();
            },
            [] { return CLiveCounts(); });
        server.SetFramesPerSecond(fps);
        QString error;
        CWebAccess access;
        access.m_port = 0;
        if (!server.Start(access, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        // The record being applied is drawn when the view asks for a repaint.
        demo.m_run.View().SetRepaintListener([&] {
            shownThrough.store(demo.m_run.View().Records() + 1, std::memory_order_release);
            server.NotifyRepaint();
        });

        QThread viewerThread;
        viewerThread.start();
        auto* viewer = new CTimedViewer;
        viewer->moveToThread(&viewerThread);
        const QUrl url(QStringLiteral("ws://127.0.0.1:%1/live").arg(server.Port()));
        QMetaObject::invokeMethod(viewer, [viewer, url] { viewer->Open(url); });
        ServeUntil([&] { return server.ViewerCount() > 0 && !viewer->Arrivals().empty(); });

        const int64_t applied0 = demo.m_counter->m_applied.load();
        std::vector<int64_t> sentNs(static_cast<size_t>(count));
        std::atomic<bool> fed{false};
        const int64_t cpuBefore = ThreadCpuNs();
        const int64_t encodeBefore = server.EncodeNanoseconds();
        const int64_t framesBefore = int64_t(grabbedRecords.size());
        std::thread feeder([&] {
            const auto start = Clock::now();
            for (int i = 0; i < count; ++i) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(50) * i);
                sentNs[size_t(i)] = Clock::now().time_since_epoch().count();
                demo.m_run.Main().PushLine(lines[size_t(i) % lines.size()]);
            }
            fed = true;
        });
        ServeUntil([&] { return fed && demo.m_counter->m_applied.load() >= applied0 + count; });
        const auto settle = Clock::now() + std::chrono::milliseconds(300);
        ServeUntil([&] { return Clock::now() >= settle; });
        const int64_t serverThreadCpu = ThreadCpuNs() - cpuBefore;
        const int64_t encodeCpu = server.EncodeNanoseconds() - encodeBefore;
        const int64_t frames = int64_t(grabbedRecords.size()) - framesBefore;
        feeder.join();

        const std::vector<int64_t> arrivals = viewer->Arrivals();
        std::vector<double> latencyMs, drawnMs;
        for (int i = 0; i < count; ++i)
            drawnMs.push_back(double(demo.m_counter->m_drawnNs[size_t(applied0 + i)] - sentNs[size_t(i)]) * 1e-6);
        size_t frame = 0;
        for (int i = 0; i < count; ++i) {
            const int64_t needed = applied0 + i + 1;
            while (frame < grabbedRecords.size() && grabbedRecords[frame] < needed)
                ++frame;
            if (frame >= arrivals.size())
                break;
            latencyMs.push_back(double(arrivals[frame] - sentNs[size_t(i)]) * 1e-6);
        }
        std::vector<double> deliveryMs;
        for (size_t n = 0; n < arrivals.size() && n < grabbedNs.size(); ++n)
            deliveryMs.push_back(double(arrivals[n] - grabbedNs[n]) * 1e-6);
        state.counters["delivery_p50_ms"] = Percentile(deliveryMs, 0.50);
        state.counters["delivery_p99_ms"] = Percentile(deliveryMs, 0.99);
        state.counters["lines"] = count;
        state.counters["lines_shown"] = double(latencyMs.size());
        state.counters["frames"] = double(frames);
        state.counters["drawn_p50_ms"] = Percentile(drawnMs, 0.50);
        state.counters["drawn_p99_ms"] = Percentile(drawnMs, 0.99);
        state.counters["latency_p50_ms"] = Percentile(latencyMs, 0.50);
        state.counters["latency_p99_ms"] = Percentile(latencyMs, 0.99);
        // The server's CPU: its own thread (requests, copying the picture, sending) and the
        // encoding thread.
        const auto perFrameMs = [frames](int64_t ns) { return frames > 0 ? double(ns) * 1e-6 / double(frames) : 0.0; };
        state.counters["server_cpu_ms_per_frame"] = perFrameMs(serverThreadCpu + encodeCpu);
        state.counters["server_thread_ms_per_frame"] = perFrameMs(serverThreadCpu);
        state.counters["encode_ms_per_frame"] = perFrameMs(encodeCpu);
        state.counters["frame_kb"] = arrivals.empty() ? 0.0 : double(viewer->Bytes()) / 1024.0 / double(arrivals.size());

        QMetaObject::invokeMethod(viewer, [viewer] { viewer->Close(); viewer->deleteLater(); });
        viewerThread.quit();
        viewerThread.wait();
        demo.Close();
    }
}
BENCHMARK(BM_LiveWebLineToFrame)
    ->ArgNames({"fps", "lines"})
    ->Args({10, 200})
    ->Args({20, 200})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The demo's picture after 300 lines at 1600 x 900, encoded as the WebSocket sends it (JPEG)
// and as /frame.png serves it.
void BM_LiveFrameEncode(benchmark::State& state)
{
    const bool png = state.range(0) == 1;
    const std::vector<QString> lines = DemoTextLines();
    CServedDemo demo;
    if (lines.empty() || !demo.Open()) {
        state.SkipWithError("the demo is missing");
        return;
    }
    for (size_t i = 0; i < 300; ++i)
        demo.m_run.Main().PushLine(lines[i % lines.size()]);
    while (demo.m_counter->m_applied.load() < 300)
        QThread::msleep(5);
    const QImage picture = demo.m_run.View().GrabOverlay();
    int64_t bytes = 0;
    for (auto _ : state) {
        const QByteArray encoded = png ? CLiveWebServer::EncodePng(picture) : CLiveWebServer::EncodeLiveFrame(picture);
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetLabel(png ? "png" : "jpeg");
    state.counters["kb"] = double(bytes) / 1024.0;
    demo.Close();
}
BENCHMARK(BM_LiveFrameEncode)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
