// A large internal data store (10,000,000 rows of ten FDs by default; --rows=N for another
// size): the state save and restore with the file size, the CSV export with its size, the
// internal data player's GO to the last row into a document of five plots, and a stretch
// view's replay after a resize. The store is built once and shared by every benchmark, so
// that the program needs memory for one store (and one more copy while a restore reads or
// a replay copies it).
#include "bench/BenchHost.h"
#include "bench/BenchMain.h"
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "render/ViewLayers.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"
#include "runtime/StateFile.h"
#include "sources/InternalDataPlayer.h"
#include "sources/PlayerRules.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int64_t kDefaultRows = 10'000'000;
constexpr int kFDs = 10;
constexpr int kPlots = kFDs / 2;

// FD f of row r: a triangle wave between 0.00 and 100.00, a different speed per FD, so
// that trails move a little at every row as measured data does.
int FDValue(int64_t r, int f)
{
    const int64_t t = (r * (f + 3) + f * 1777) % 20000;
    return int(t < 10000 ? t : 20000 - t);
}

// Writes "v/100" with two decimals; returns the characters written.
int WriteHundredths(char16_t* out, int v)
{
    char16_t digits[8];
    int n = 0;
    int whole = v / 100;
    do {
        digits[n++] = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    int k = 0;
    while (n > 0)
        out[k++] = digits[--n];
    out[k++] = u'.';
    out[k++] = char16_t(u'0' + v / 10 % 10);
    out[k++] = char16_t(u'0' + v % 10);
    return k;
}

struct CLargeStore
{
    CBenchHost m_host;
    CMain m_main;
    int64_t m_rows = 0;
    QTemporaryDir m_dir;
    QString m_statePath;
};

int64_t g_rows = kDefaultRows;
std::unique_ptr<CLargeStore> g_store;

CLargeStore& Store()
{
    if (g_store)
        return *g_store;
    g_store = std::make_unique<CLargeStore>();
    CLargeStore& s = *g_store;
    s.m_rows = g_rows;
    s.m_main.m_pApp = nullptr;
    s.m_main.m_internalData.m_data.reserve(size_t(g_rows));
    char16_t text[kFDs * 8];
    for (int64_t r = 0; r < g_rows; ++r) {
        int n = 0;
        for (int f = 0; f < kFDs; ++f) {
            if (f > 0)
                text[n++] = u',';
            n += WriteHundredths(text + n, FDValue(r, f));
        }
        FieldRow row;
        row.appendSeparated(QStringView(text, n));
        row.squeeze();
        s.m_main.m_internalData.Add(std::move(row));
    }
    s.m_statePath = s.m_dir.filePath(QStringLiteral("state.bin"));
    return s;
}

// Five plots over FD pairs (0,1) ... (8,9), with trails; the odd ones leave a marker per row.
void AddPlots(CVantrelDoc& doc)
{
    doc.m_pictureWidth = 1600;
    doc.m_pictureHeight = 900;
    doc.m_image = QImage(1600, 900, QImage::Format_RGB32);
    doc.m_image.fill(qRgb(220, 228, 236));
    for (int i = 0; i < kPlots; ++i) {
        CPlotInfo plot;
        plot.m_id = i + 1;
        plot.m_displayKind = i % 2 ? DisplayKind::History : DisplayKind::Latest;
        plot.m_size = 6;
        plot.m_fill = 1;
        plot.m_color = 0x0000C0 + i * 0x200000;
        plot.m_axisCount = 2;
        CAxisInfo& x = plot.m_axes[0];
        x.m_fdNo = 2 * i;
        x.m_startX = 100, x.m_startY = 900, x.m_endX = 1500, x.m_endY = 900, x.m_endValue = 100;
        CAxisInfo& y = plot.m_axes[1];
        y.m_fdNo = 2 * i + 1;
        y.m_startX = 100, y.m_startY = 900, y.m_endX = 100, y.m_endY = 100, y.m_endValue = 100;
        plot.ComputeOrigin();
        plot.m_historyLine.m_show = 1;
        plot.m_historyLine.m_color = plot.m_color;
        doc.m_plots.push_back(plot);
    }
}

bool CheckRows(benchmark::State& state, const CLargeStore& s)
{
    if (s.m_main.m_internalData.GetCount() == s.m_rows && s.m_dir.isValid())
        return true;
    state.SkipWithError("the store was not built");
    return false;
}

void BM_StateSave(benchmark::State& state)
{
    CLargeStore& s = Store();
    if (!CheckRows(state, s))
        return;
    QString error;
    for (auto _ : state) {
        if (!SaveState(s.m_main, s.m_statePath, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    const double bytes = double(QFileInfo(s.m_statePath).size());
    state.counters["rows"] = double(s.m_rows);
    state.counters["file_bytes"] = bytes;
    state.counters["file_bytes_per_row"] = bytes / double(s.m_rows);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_StateRestore(benchmark::State& state)
{
    CLargeStore& s = Store();
    if (!CheckRows(state, s))
        return;
    if (!QFileInfo::exists(s.m_statePath) && !SaveState(s.m_main, s.m_statePath)) {
        state.SkipWithError("cannot write the state file");
        return;
    }
    for (auto _ : state) {
        // Takes over a store equal to the one it replaces.
        if (!RestoreState(s.m_main, s.m_statePath)) {
            state.SkipWithError("the state file was not restored");
            return;
        }
    }
    if (s.m_main.m_internalData.GetCount() != s.m_rows)
        state.SkipWithError("the restored store has a different row count");
    const double bytes = double(QFileInfo(s.m_statePath).size());
    state.counters["rows"] = double(s.m_rows);
    state.counters["file_bytes"] = bytes;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_ExportCsv(benchmark::State& state)
{
    CLargeStore& s = Store();
    if (!CheckRows(state, s))
        return;
    const QString path = s.m_dir.filePath(QStringLiteral("export.csv"));
    QString error;
    for (auto _ : state) {
        if (!s.m_main.ExportInternalCsv(path, error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    const double bytes = double(QFileInfo(path).size());
    QFile::remove(path);
    state.counters["rows"] = double(s.m_rows);
    state.counters["file_bytes"] = bytes;
    state.SetItemsProcessed(int64_t(state.iterations()) * s.m_rows);
}

// From the GO command to the last row applied by the document, with no pauses. The
// document worker waits for work rather than yielding after every row, so that the figure is
// the player's and the feed's own cost and not the scheduler's on a busy machine.
void BM_PlayerGoToLastRow(benchmark::State& state)
{
    CLargeStore& s = Store();
    if (!CheckRows(state, s))
        return;
    CPacing pacing = CPacing::Unpaced();
    pacing.m_waitForWork = true;
    SetPacing(pacing);
    s.m_host.m_docs.clear();
    s.m_host.m_docs.push_back(std::make_unique<CVantrelDoc>());
    CVantrelDoc& doc = *s.m_host.m_docs[0];
    AddPlots(doc);
    s.m_main.m_pApp = &s.m_host;

    int64_t position = 0;
    for (auto _ : state) {
        CInternalDataPlayer player(s.m_main);
        player.SetRowPauseUs(0);
        std::atomic<bool> ended{false};
        std::atomic<int64_t> reached{0};
        QObject::connect(&player, &CInternalDataPlayer::progress, &player,
                         [&](bool endOfBatch, qint64 pos, quint64) {
                             if (endOfBatch) {
                                 reached = pos;
                                 ended = true;
                             }
                         },
                         Qt::DirectConnection);
        player.Start();
        player.Command(ReplayGo, int32_t(s.m_rows), 1);
        WaitPumping([&] { return ended.load(); });
        player.Stop(); // drains the document's queue
        position = reached;
    }
    const bool applied = doc.m_currentRow == s.m_rows - 1;
    s.m_main.m_pApp = nullptr;
    s.m_host.m_docs.clear();
    SetPacing(CPacing::Default());
    if (position != s.m_rows || !applied)
        state.SkipWithError("GO did not reach the last row");
    state.counters["rows"] = double(s.m_rows);
    state.SetItemsProcessed(int64_t(state.iterations()) * s.m_rows);
}

// A resize of a running stretch view: the store is copied and every row applied again to
// copies of the five plots, drawing their trails on the new base layer.
void BM_StretchReplayAfterResize(benchmark::State& state)
{
    CLargeStore& s = Store();
    if (!CheckRows(state, s))
        return;
    CVantrelDoc doc;
    AddPlots(doc);
    CViewLayers view(doc, ViewKind::Stretch);
    view.SetReplaySource({&s.m_main.m_storeLock, &s.m_main.m_internalData, &s.m_main.m_fdInfos});
    view.SetClientSize(QSize(1280, 800));
    view.CreateLayers();
    // As after the last stored row was applied by the feed.
    doc.ResetFeed();
    doc.m_editMode = EditMode::Running;
    const int64_t last = s.m_rows - 1;
    doc.ApplyDocData(CDocData(ApplyAndRepaint, int32_t(last), s.m_main.m_internalData.GetAt(last), nullptr));

    bool wide = false;
    for (auto _ : state) {
        view.OnSize(wide ? QSize(1280, 800) : QSize(1000, 700));
        wide = !wide;
        benchmark::DoNotOptimize(view.Base().constBits());
    }
    state.counters["rows"] = double(s.m_rows);
    state.SetItemsProcessed(int64_t(state.iterations()) * s.m_rows);
}

void Register(int64_t rows)
{
    const auto large = [rows](benchmark::internal::Benchmark* b) {
        b->ArgName("rows")->Arg(rows)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    large(benchmark::RegisterBenchmark("BM_StateSave", BM_StateSave));
    large(benchmark::RegisterBenchmark("BM_StateRestore", BM_StateRestore));
    large(benchmark::RegisterBenchmark("BM_ExportCsv", BM_ExportCsv));
    large(benchmark::RegisterBenchmark("BM_PlayerGoToLastRow", BM_PlayerGoToLastRow));
    large(benchmark::RegisterBenchmark("BM_StretchReplayAfterResize", BM_StretchReplayAfterResize));
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --rows=N is ours; the rest goes to the benchmark library.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            char* end = nullptr;
            const long long n = std::strtoll(argv[i] + 7, &end, 10);
            if (!end || *end || n < 1 || n > INT32_MAX) {
                std::fprintf(stderr, "--rows wants a row count from 1 to %d\n", INT32_MAX);
                return 2;
            }
            g_rows = n;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    QGuiApplication app(argc, argv);
    Register(g_rows);
    const int status = RunRegisteredBenchmarks(argc, argv);
    g_store.reset();
    return status;
}
