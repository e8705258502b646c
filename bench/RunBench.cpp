// Lines per second through the pipeline, unpaced: ProcessLine alone into the store (with no
// and with two computed FDs, with and without capture), the main worker alone from PushLine
// into the store (capture off and on, so that its flushing is counted), and whole runs from
// PushLine to a document with 50 plots.
#include "bench/BenchHost.h"
#include "model/VantrelDoc.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"
#include "pipeline/Pacing.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// Ten numeric FDs, different for every i.
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

void AddTwoCalcFDs(CMain& main)
{
    main.m_calcFDs.push_back(CCalcFD(QStringLiteral("FD(0) > 100"), QStringLiteral("FD(1) + FD(2)"), QStringLiteral("0")));
    main.m_calcFDs.push_back(CCalcFD(QStringLiteral("1"), QStringLiteral("FD(10) * 2"), QStringLiteral("-1")));
}

// Capture into a fresh file in a folder of its own; false (and the benchmark skipped) when
// it cannot be opened.
bool StartCapture(benchmark::State& state, CMain& main, const QTemporaryDir& dir)
{
    main.m_saveCsv = 1;
    if (dir.isValid() && main.OpenCaptureFileAt(dir.filePath(QStringLiteral("cap.csv")), false))
        return true;
    state.SkipWithError("cannot open the capture file");
    return false;
}

void BM_ProcessLine(benchmark::State& state, bool withCalc, bool capture)
{
    const std::vector<QString> lines = Lines(4096);
    CBenchHost host;
    CMain main;
    main.m_pApp = &host;
    main.m_internalData.SetRing(true, 1 << 20);
    if (withCalc)
        AddTwoCalcFDs(main);
    QTemporaryDir dir;
    if (capture && !StartCapture(state, main, dir))
        return;
    size_t n = 0;
    for (auto _ : state)
        main.ProcessLine(lines[n++ % lines.size()]);
    state.SetItemsProcessed(state.iterations());
    main.CloseCaptureFile();
}
BENCHMARK_CAPTURE(BM_ProcessLine, NoCalcFD, false, false);
BENCHMARK_CAPTURE(BM_ProcessLine, NoCalcFDCapture, false, true);
BENCHMARK_CAPTURE(BM_ProcessLine, TwoCalcFDs, true, false);

// The main worker alone, no document: lines pushed while it runs, into a ring store, with
// the capture file off (0) or on (1). Each iteration is one run of 200,000 lines.
void BM_WorkerIntoStore(benchmark::State& state)
{
    SetPacing(CPacing::Unpaced());
    const int kLines = 200000;
    const std::vector<QString> lines = Lines(kLines);
    CBenchHost host;
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    main.m_internalData.SetRing(true, 1 << 20);
    QTemporaryDir dir;
    for (auto _ : state) {
        if (state.range(0) && !StartCapture(state, main, dir))
            break;
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        for (const QString& line : lines)
            main.PushLine(line);
        main.StopThreads();
    }
    if (main.m_internalData.GetCount() != kLines || main.CaptureFailed())
        state.SkipWithError("not every line was stored and captured");
    state.SetItemsProcessed(state.iterations() * kLines);
    SetPacing(CPacing::Default());
}
BENCHMARK(BM_WorkerIntoStore)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One run per iteration: push every line, stop, and wait until the document has applied all.
// The argument is the document's plot count.
void BM_WholeRun(benchmark::State& state)
{
    const int plots = int(state.range(0));
    SetPacing(CPacing::Unpaced());
    const int kLines = 50000;
    const std::vector<QString> lines = Lines(kLines);
    CBenchHost host;
    auto doc = std::make_unique<CVantrelDoc>();
    for (int i = 0; i < plots; ++i) {
        CPlotInfo plot;
        plot.m_id = i;
        plot.m_axisCount = 2;
        plot.m_axes[0].m_fdNo = 1 + i % 9;
        plot.m_axes[1].m_fdNo = 1 + (i + 3) % 9;
        doc->m_plots.push_back(plot);
    }
    host.m_docs.push_back(std::move(doc));
    CMain main;
    main.m_pApp = &host;
    main.m_keepInternal = 0;
    main.m_internalData.SetRing(true, 1 << 20);

    for (auto _ : state) {
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
        for (const QString& line : lines)
            main.PushLine(line);
        main.StopThreads();
    }
    if (host.m_docs[0]->m_currentRow != kLines - 1)
        state.SkipWithError("not every line reached the document");
    state.SetItemsProcessed(state.iterations() * kLines);
    SetPacing(CPacing::Default());
}
BENCHMARK(BM_WholeRun)->Arg(50)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
