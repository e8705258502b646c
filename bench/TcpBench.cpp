// The TCP line server feeding the pipeline over the loopback, port 57077.
//
// - Throughput into the store, event driven, one and five clients. A client sends its next
//   line once the server has read the previous one (so that every send stays one line); the
//   figure is stored lines per second. Goal: 200,000.
// - The same without waiting: what a client that only sends gets (lines joined in one read,
//   and the client closed once one read fills the receive buffer).
// - Five clients at a steady rate without waiting: the share of sends that stay one line.
// - Latency at 100 lines per second from a client's send to the record applied in the
//   document's worker and to the end of the scroll view's repaint (the demo document),
//   paced and event driven, median and 99th percentile. Goals at p99: 30 ms paced, 5 ms
//   event driven.
// - Peak resident memory while one client sends 2,000,000 lines as fast as it can to a paced
//   pipeline: the line queue's limit bounds it, not the input.
#include "bench/LiveBenchSupport.h"
#include "sources/LineServer.h"
#include "tests/support/TcpClient.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace live_bench;

// Lines the server has read, per client port; clients wait on it before their next send.
class CReadCounts
{
public:
    void Add(quint16 port)
    {
        {
            std::lock_guard lock(m_lock);
            ++m_counts[port];
        }
        m_changed.notify_all();
    }
    bool WaitFor(quint16 port, int64_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_counts[port] >= count; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<quint16, int64_t> m_counts;
};

int64_t PeakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Clients sending lines, each waiting for the server to read one before the next when acked,
// or each at a steady rate when linesPerSecond is set.
class CClients
{
public:
    CClients(CLineServer& server, int clients, int64_t linesPerClient, bool acked, int64_t linesPerSecond = 0)
    {
        m_connection = QObject::connect(&server, &CLineServer::lineReceived, &server,
                                        [this](quint16 port) { m_counts.Add(port); });
        for (int c = 0; c < clients; ++c) {
            m_threads.emplace_back([=, this] {
                CTcpClient client;
                if (!client.Connect(kLineServerPort)) {
                    m_failed = true;
                } else {
                    const quint16 port = client.LocalPort();
                    const auto period = std::chrono::nanoseconds(linesPerSecond > 0 ? 1000000000 / linesPerSecond : 0);
                    Clock::time_point next = Clock::now();
                    for (int64_t i = 0; i < linesPerClient && !m_failed; ++i) {
                        if (linesPerSecond > 0) {
                            std::this_thread::sleep_until(next);
                            next += period;
                        }
                        if (!client.Send(BenchLine(c, i)) || (acked && !m_counts.WaitFor(port, i + 1)))
                            m_failed = true;
                    }
                }
                ++m_finished;
            });
        }
        PumpUntil([&] { return m_finished == int(m_threads.size()); }, 600000);
        for (std::thread& t : m_threads)
            t.join();
    }
    ~CClients() { QObject::disconnect(m_connection); }
    bool Failed() const { return m_failed; }

private:
    QMetaObject::Connection m_connection;
    CReadCounts m_counts;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_finished{0};
    std::atomic<bool> m_failed{false};
};

// Arguments: clients, acked (1) or only sending (0).
void BM_TcpIntoStore(benchmark::State& state)
{
    const int clients = int(state.range(0));
    const bool acked = state.range(1) != 0;
    const int64_t total = 100000;
    const int64_t perClient = total / clients;

    SetPacing(EventDriven());
    CBenchHost host;
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    double seconds = 0.0;
    int64_t stored = 0;
    int64_t serverLines = 0;
    int closedClients = 0;
    for (auto _ : state) {
        CLineServer server(main);
        if (!server.Listen(QHostAddress(QHostAddress::LocalHost))) {
            state.SkipWithError("port 57077 is in use");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        const Clock::time_point t0 = Clock::now();
        CClients sending(server, clients, perClient, acked);
        if (!acked) {
            // Everything sent is read once the connections have closed.
            PumpUntil([&] { return server.ConnectionCount() == 0; }, 60000);
        }
        server.Close();
        main.StopThreads();
        seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(seconds);
        stored = main.m_internalData.GetCount();
        serverLines = server.LineCount();
        // A client that only sends is closed once one read fills the receive buffer.
        closedClients = sending.Failed() ? 1 : 0;
        if (acked && sending.Failed())
            state.SkipWithError("a client failed");
    }
    SetPacing(CPacing::Default());
    state.counters["lines_sent"] = double(perClient * clients);
    state.counters["lines_stored"] = double(stored);
    state.counters["server_lines"] = double(serverLines);
    state.counters["stored_per_s"] = seconds > 0 ? double(stored) / seconds : 0.0;
    state.counters["some_client_closed"] = closedClients;
}
BENCHMARK(BM_TcpIntoStore)
    ->ArgNames({"clients", "acked"})
    ->Args({1, 1})
    ->Args({5, 1})
    ->Args({1, 0})
    ->Args({5, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Five clients that send at a steady rate without waiting, as independent programs would:
// while the server reads faster than they send, every send stays one line. Argument: lines
// per second over all clients; two seconds of data.
void BM_TcpSteadyClients(benchmark::State& state)
{
    constexpr int kClients = 5;
    const int64_t rate = state.range(0);
    const int64_t perClient = rate * 2 / kClients;
    SetPacing(EventDriven());
    CBenchHost host;
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    int64_t serverLines = 0;
    for (auto _ : state) {
        CLineServer server(main);
        if (!server.Listen(QHostAddress(QHostAddress::LocalHost))) {
            state.SkipWithError("port 57077 is in use");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        CClients sending(server, kClients, perClient, false, rate / kClients);
        PumpUntil([&] { return server.ConnectionCount() == 0; }, 10000);
        server.Close();
        main.StopThreads();
        serverLines = server.LineCount();
    }
    SetPacing(CPacing::Default());
    state.counters["lines_sent"] = double(perClient * kClients);
    state.counters["server_lines"] = double(serverLines);
    state.counters["sends_kept_pct"] = 100.0 * double(serverLines) / double(perClient * kClients);
}
BENCHMARK(BM_TcpSteadyClients)
    ->ArgNames({"lines_per_s"})
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(50000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Arguments: event driven (1) or paced (0), seconds at 100 lines per second.
void BM_TcpLatencyToRepaint(benchmark::State& state)
{
    const bool eventDriven = state.range(0) != 0;
    CDemoLatencyRig rig(int(state.range(1)) * 100, eventDriven);
    if (!rig.Ready()) {
        state.SkipWithError("the demo is not built");
        return;
    }
    CMain& main = rig.Main();
    int64_t received = 0;
    for (auto _ : state) {
        CLineServer server(main);
        if (!server.Listen(QHostAddress(QHostAddress::LocalHost))) {
            state.SkipWithError("port 57077 is in use");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        std::atomic<bool> sent{false};
        std::thread client([&] {
            CTcpClient socket;
            if (socket.Connect(kLineServerPort)) {
                Clock::time_point next = Clock::now() + std::chrono::milliseconds(100);
                for (int i = 0; i < rig.Count(); ++i) {
                    std::this_thread::sleep_until(next);
                    rig.MarkSent(i);
                    socket.Send(rig.Line(i));
                    next += std::chrono::milliseconds(10);
                }
            }
            sent = true;
        });
        PumpUntil([&] { return sent.load(); }, 600000);
        client.join();
        // The last record applied before the run stops.
        PumpUntil([&] { return rig.LastApplied(); }, 10000);
        received = server.LineCount();
        server.Close();
        main.StopThreads();
    }
    rig.Report(state);
    state.counters["lines_read"] = double(received);
}
BENCHMARK(BM_TcpLatencyToRepaint)
    ->ArgNames({"event_driven", "seconds"})
    ->Args({0, 10})
    ->Args({1, 10})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One client, 2,000,000 lines as fast as it can (each read one line), into a paced pipeline
// with one document; the store is a ring, as a long unattended run would use.
void BM_TcpPeakMemoryPaced(benchmark::State& state)
{
    const int64_t lines = state.range(0);
    SetPacing(CPacing::Default());
    CBenchHost host;
    host.m_docs.push_back(std::make_unique<CVantrelDoc>());
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    main.m_internalData.SetRing(true, 10000);
    const int64_t before = PeakResidentKb();
    int64_t whileSending = 0;
    int64_t queued = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        CLineServer server(main);
        if (!server.Listen(QHostAddress(QHostAddress::LocalHost))) {
            state.SkipWithError("port 57077 is in use");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        const Clock::time_point t0 = Clock::now();
        CClients sending(server, 1, lines, true);
        seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        whileSending = PeakResidentKb();
        {
            std::lock_guard lock(main.m_queueLock);
            queued = int64_t(main.m_lineQueue.size());
        }
        server.Close();
        main.StopThreads();
        if (sending.Failed())
            state.SkipWithError("the client failed");
    }
    state.counters["lines_sent"] = double(lines);
    state.counters["send_s"] = seconds;
    state.counters["queued_at_end"] = double(queued);
    state.counters["discarded"] = double(main.DiscardedLines());
    state.counters["peak_rss_before_mb"] = double(before) / 1024.0;
    state.counters["peak_rss_sending_mb"] = double(whileSending) / 1024.0;
    state.counters["peak_rss_after_stop_mb"] = double(PeakResidentKb()) / 1024.0;
}
BENCHMARK(BM_TcpPeakMemoryPaced)
    ->ArgNames({"lines"})
    ->Arg(2000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
