// A long run: 20,000,000 lines (--lines=N for another count) through the pipeline, unpaced,
// from PushLine into a ring store of 100,000 rows and two documents of five plots each. The
// resident memory (/proc/self/statm) is sampled while the lines go through; the figure is
// its growth after the first million lines, in percent of what it was then. Goal: under 2 %.
// The feeder keeps the line queue and the documents' queues short, so that what grows is the
// pipeline's own memory and not a backlog of a sender faster than the workers.
#include "bench/BenchHost.h"
#include "bench/BenchMain.h"
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int64_t kDefaultLines = 20'000'000;
constexpr int64_t kBaselineLines = 1'000'000;
constexpr int64_t kSampleEvery = 100'000;
// Low enough that a backlog's coming and going stays far below the growth measured.
constexpr size_t kQueueHigh = 1'000;
constexpr int64_t kRing = 100'000;

int64_t g_lines = kDefaultLines;

int64_t ResidentBytes()
{
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long long size = 0;
    long long resident = 0;
    const int read = std::fscanf(f, "%lld %lld", &size, &resident);
    std::fclose(f);
    return read == 2 ? int64_t(resident) * sysconf(_SC_PAGESIZE) : 0;
}

// Ten numeric FDs; a pool of distinct lines used over and over.
std::vector<QString> Lines(int count)
{
    std::vector<QString> lines;
    lines.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        QString line;
        for (int k = 0; k < 10; ++k) {
            if (k > 0)
                line += QLatin1Char(',');
            line += QString::number((i * 10 + k) % 100000 * 0.25, 'f', 2);
        }
        lines.push_back(line);
    }
    return lines;
}

std::unique_ptr<CVantrelDoc> FivePlotDocument()
{
    auto doc = std::make_unique<CVantrelDoc>();
    for (int i = 0; i < 5; ++i) {
        CPlotInfo plot;
        plot.m_id = i + 1;
        plot.m_displayKind = i % 2 ? DisplayKind::History : DisplayKind::Latest;
        plot.m_axisCount = 2;
        plot.m_axes[0].m_fdNo = 2 * i;
        plot.m_axes[0].m_endValue = 25000;
        plot.m_axes[1].m_fdNo = 2 * i + 1;
        plot.m_axes[1].m_endValue = 25000;
        plot.m_historyLine.m_show = 1;
        doc->m_plots.push_back(plot);
    }
    return doc;
}

size_t LongestQueue(CMain& main, CBenchHost& host)
{
    size_t longest = 0;
    {
        std::lock_guard lock(main.m_queueLock);
        longest = main.m_lineQueue.size();
    }
    for (const auto& doc : host.m_docs) {
        std::lock_guard lock(doc->m_feedLock);
        longest = std::max(longest, doc->m_feedQueue.size());
    }
    return longest;
}

void BM_LongRunResidentMemory(benchmark::State& state)
{
    const int64_t total = state.range(0);
    const std::vector<QString> lines = Lines(65536);
    CBenchHost host;
    host.m_docs.push_back(FivePlotDocument());
    host.m_docs.push_back(FivePlotDocument());
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    main.m_internalData.SetRing(true, kRing);
    SetPacing(CPacing::Unpaced());

    int64_t baseline = 0;
    int64_t highest = 0;
    int64_t atEnd = 0;
    for (auto _ : state) {
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        baseline = 0;
        highest = 0;
        for (int64_t i = 0; i < total; ++i) {
            main.PushLine(lines[size_t(i) & 65535]);
            if ((i & 255) == 255) {
                while (LongestQueue(main, host) > kQueueHigh)
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
            if ((i + 1) % kSampleEvery == 0) {
                const int64_t rss = ResidentBytes();
                if (i + 1 == kBaselineLines)
                    baseline = rss;
                else if (i + 1 > kBaselineLines)
                    highest = std::max(highest, rss);
            }
        }
        main.StopThreads();
        atEnd = ResidentBytes();
        highest = std::max(highest, atEnd);
    }
    SetPacing(CPacing::Default());
    // Records carry their store row, which a full ring keeps at its last slot.
    const int64_t kept = std::min<int64_t>(total, kRing);
    if (host.m_docs[0]->m_currentRow != kept - 1 || host.m_docs[1]->m_currentRow != kept - 1
        || main.m_internalData.GetCount() != kept) {
        state.SkipWithError("not every line reached the store and both documents");
        return;
    }
    const double mb = 1024.0 * 1024.0;
    state.counters["rss_at_1M_mb"] = double(baseline) / mb;
    state.counters["rss_peak_after_1M_mb"] = double(highest) / mb;
    state.counters["rss_end_mb"] = double(atEnd) / mb;
    state.counters["growth_after_1M_pct"] = baseline > 0 ? 100.0 * double(highest - baseline) / double(baseline) : 0.0;
    state.SetItemsProcessed(int64_t(state.iterations()) * total);
}

} // namespace

int main(int argc, char** argv)
{
    // --lines=N is ours; the rest goes to the benchmark library.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--lines=", 8) == 0) {
            char* end = nullptr;
            const long long n = std::strtoll(argv[i] + 8, &end, 10);
            if (!end || *end || n <= kBaselineLines || n > INT32_MAX) {
                std::fprintf(stderr, "--lines wants a count above %lld and up to %d\n",
                             static_cast<long long>(kBaselineLines), INT32_MAX);
                return 2;
            }
            g_lines = n;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    benchmark::RegisterBenchmark("BM_LongRunResidentMemory", BM_LongRunResidentMemory)
        ->ArgName("lines")
        ->Arg(g_lines)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return RunRegisteredBenchmarks(argc, argv);
}
