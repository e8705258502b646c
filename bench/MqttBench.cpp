// The MQTT input feeding the pipeline from a private broker on the loopback (the benchmark
// starts it).
//
// - Messages per second into the store from one and from three publishers that publish as
//   fast as they can, event driven. Goal: 100,000.
// - Latency at 100 messages per second from a publish to the record applied in the
//   document's worker and to the end of the demo's scroll view repaint, event driven, median
//   and 99th percentile. Goal at p99: 5 ms.
#include "bench/LiveBenchSupport.h"
#include "sources/MqttClient.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TcpClient.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <thread>
#include <vector>

namespace {

using namespace live_bench;

CMqttSettings SettingsFor(const CMqttBroker& broker, int qos)
{
    CMqttSettings s;
    s.m_host = QStringLiteral("127.0.0.1");
    s.m_port = broker.Port();
    s.m_topicFilter = QStringLiteral("bench/#");
    s.m_qos = qos;
    return s;
}

// Arguments: publishers, QoS.
void BM_MqttIntoStore(benchmark::State& state)
{
    const int publishers = int(state.range(0));
    const int qos = int(state.range(1));
    const int64_t total = 300000;
    const int64_t perPublisher = total / publishers;
    CMqttBroker broker;
    if (!CMqttBroker::Available() || !broker.Start()) {
        state.SkipWithError("no mosquitto broker");
        return;
    }
    SetPacing(EventDriven());
    CBenchHost host;
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    double seconds = 0.0;
    int64_t received = 0;
    for (auto _ : state) {
        CMqttClient client(main);
        if (!client.Start(SettingsFor(broker, qos)) || !PumpUntil([&] { return client.IsConnected(); }, 10000)) {
            state.SkipWithError("cannot connect");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        // Connected and subscribed before the clock starts.
        std::vector<std::unique_ptr<CMqttPublisher>> senders;
        for (int p = 0; p < publishers; ++p) {
            senders.push_back(std::make_unique<CMqttPublisher>());
            senders.back()->Connect(broker.Port());
        }
        QThread::msleep(200);
        const Clock::time_point t0 = Clock::now();
        std::vector<std::thread> threads;
        for (int p = 0; p < publishers; ++p) {
            threads.emplace_back([&, p] {
                for (int64_t i = 0; i < perPublisher; ++i)
                    senders[size_t(p)]->Publish("bench/" + QByteArray::number(p), BenchLine(p, i), qos);
            });
        }
        for (std::thread& t : threads)
            t.join();
        PumpUntil([&] { return client.MessageCount() >= perPublisher * publishers; }, 120000);
        client.Stop();
        main.StopThreads();
        seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(seconds);
        received = client.MessageCount();
    }
    SetPacing(CPacing::Default());
    const int64_t stored = main.m_internalData.GetCount();
    state.counters["messages_sent"] = double(perPublisher * publishers);
    state.counters["messages_received"] = double(received);
    state.counters["lines_stored"] = double(stored);
    state.counters["discarded"] = double(main.DiscardedLines());
    state.counters["stored_per_s"] = seconds > 0 ? double(stored) / seconds : 0.0;
}
BENCHMARK(BM_MqttIntoStore)
    ->ArgNames({"publishers", "qos"})
    ->Args({1, 0})
    ->Args({3, 0})
    ->Args({1, 1})
    ->Args({3, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Argument: seconds at 100 messages per second, QoS 1.
void BM_MqttLatencyToRepaint(benchmark::State& state)
{
    CMqttBroker broker;
    if (!CMqttBroker::Available() || !broker.Start()) {
        state.SkipWithError("no mosquitto broker");
        return;
    }
    CDemoLatencyRig rig(int(state.range(0)) * 100, true);
    if (!rig.Ready()) {
        state.SkipWithError("the demo is not built");
        return;
    }
    CMain& main = rig.Main();
    for (auto _ : state) {
        CMqttClient client(main);
        if (!client.Start(SettingsFor(broker, 1)) || !PumpUntil([&] { return client.IsConnected(); }, 10000)) {
            state.SkipWithError("cannot connect");
            break;
        }
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        CMqttPublisher publisher;
        publisher.Connect(broker.Port());
        std::atomic<bool> sent{false};
        std::thread sender([&] {
            Clock::time_point next = Clock::now() + std::chrono::milliseconds(100);
            for (int i = 0; i < rig.Count(); ++i) {
                std::this_thread::sleep_until(next);
                rig.MarkSent(i);
                publisher.Publish("bench/demo", rig.Line(i), 1);
                next += std::chrono::milliseconds(10);
            }
            sent = true;
        });
        PumpUntil([&] { return sent.load(); }, 600000);
        sender.join();
        PumpUntil([&] { return rig.LastApplied(); }, 10000);
        state.counters["messages_received"] = double(client.MessageCount());
        client.Stop();
        main.StopThreads();
    }
    rig.Report(state);
}
BENCHMARK(BM_MqttLatencyToRepaint)->ArgNames({"seconds"})->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
