// Speed of line splitting and ring storing, and the memory a stored row takes.
#include "pipeline/Buffer.h"
#include "pipeline/FieldRow.h"
#include "pipeline/SplitLine.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every operator new is counted with the size malloc really hands out plus its chunk header,
// so that bytes per row include allocator overhead.
namespace {
std::atomic<int64_t> g_liveBytes{0};

int64_t ChunkBytes(void* p) { return static_cast<int64_t>(malloc_usable_size(p) + sizeof(size_t)); }

void* CountedAlloc(size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes.fetch_add(ChunkBytes(p), std::memory_order_relaxed);
    return p;
}

void CountedFree(void* p) noexcept
{
    if (!p)
        return;
    g_liveBytes.fetch_sub(ChunkBytes(p), std::memory_order_relaxed);
    std::free(p);
}
} // namespace

void* operator new(size_t n) { return CountedAlloc(n); }
void* operator new[](size_t n) { return CountedAlloc(n); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { CountedFree(p); }

namespace {

const QString kTenNumeric = QStringLiteral("123.45,678.90,-12.5,0.0001,99999,3.14159,2.71828,1e-05,42,-7.25");

// Ten FDs of six ASCII characters, different for every i.
QString SixCharLine(int i)
{
    QString line;
    for (int k = 0; k < 10; ++k) {
        if (k > 0)
            line += QLatin1Char(',');
        line += QStringLiteral("%1").arg((i * 10 + k) % 1000000, 6, 10, QLatin1Char('0'));
    }
    return line;
}

void BM_SplitLineTenNumeric(benchmark::State& state)
{
    for (auto _ : state) {
        FieldRow row;
        SplitLine(kTenNumeric, row);
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_SplitLineTenNumeric);

void BM_SplitLineTenWithQuotes(benchmark::State& state)
{
    const QString line = QStringLiteral(R"(123.45,"678,90",-12.5,0.0001,"a""b",3.14159,2.71828,1e-05,42,-7.25)");
    for (auto _ : state) {
        FieldRow row;
        SplitLine(line, row);
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_SplitLineTenWithQuotes);

// The worker stores a copy and dispatches the original; a full ring overwrites in place.
void BM_BufferAddRing(benchmark::State& state)
{
    std::vector<FieldRow> rows(64);
    for (int i = 0; i < 64; ++i)
        SplitLine(i % 3 ? SixCharLine(i) : kTenNumeric, rows[static_cast<size_t>(i)]);
    CBuffer<FieldRow> store;
    store.SetRing(true, 100000);
    for (int i = 0; i < 100000; ++i)
        store.Add(rows[static_cast<size_t>(i % 64)]);
    size_t i = 0;
    for (auto _ : state) {
        store.Add(rows[i++ & 63]);
        benchmark::DoNotOptimize(store.m_next);
    }
}
BENCHMARK(BM_BufferAddRing);

void BM_SplitAndStore(benchmark::State& state)
{
    CBuffer<FieldRow> store;
    store.SetRing(true, 100000);
    for (auto _ : state) {
        FieldRow row;
        SplitLine(kTenNumeric, row);
        store.Add(row);
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_SplitAndStore);

void BM_FieldRowAt(benchmark::State& state)
{
    FieldRow row;
    SplitLine(kTenNumeric, row);
    qsizetype i = 0;
    for (auto _ : state) {
        QString s = row.at(i);
        benchmark::DoNotOptimize(s);
        i = i == 9 ? 0 : i + 1;
    }
}
BENCHMARK(BM_FieldRowAt);

// Whole-store memory: the row blocks, the vector slots and the vector's spare room.
void BM_BytesPerStoredRow(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<QString> lines;
    lines.reserve(1000);
    for (int i = 0; i < 1000; ++i)
        lines.push_back(SixCharLine(i));
    for (auto _ : state) {
        const int64_t before = g_liveBytes.load();
        const struct mallinfo2 mallocBefore = mallinfo2();
        {
            CBuffer<FieldRow> store;
            if (state.range(1))
                store.SetRing(true, n);
            for (int i = 0; i < n; ++i) {
                FieldRow row;
                SplitLine(lines[static_cast<size_t>(i % 1000)], row);
                store.Add(row);
            }
            const struct mallinfo2 mallocAfter = mallinfo2();
            state.counters["bytes_per_row"] = double(g_liveBytes.load() - before) / n;
            state.counters["malloc_bytes_per_row"] = double(int64_t(mallocAfter.uordblks + mallocAfter.hblkhd)
                                                         - int64_t(mallocBefore.uordblks + mallocBefore.hblkhd))
                / n;
        }
    }
}
BENCHMARK(BM_BytesPerStoredRow)->Args({1000000, 0})->Args({1000000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
