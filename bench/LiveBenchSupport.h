#pragma once

// What the live-input benchmarks share: a host for the documents, event-driven pacing, the
// demo's lines, percentiles, and the demo's scroll view timed from a line's send to the
// record applied and to the end of its repaint.

#include "bench/BenchHost.h"
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "platform/Cp932.h"
#include "platform/TextFile.h"
#include "render/UpdateHint.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"
#include "views/DocumentNotifier.h"
#include "views/VantrelView.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

namespace live_bench {

using Clock = std::chrono::steady_clock;

inline CPacing EventDriven()
{
    CPacing p = CPacing::Unpaced();
    p.m_waitForWork = true;
    p.feedIdleUs = 100; // document workers that still poll
    return p;
}

inline double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t i = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[i];
}

// A source's number, the line's number and ten numeric FDs, different for every line.
inline QByteArray BenchLine(int source, int64_t i)
{
    QByteArray line = QByteArray::number(source) + ',' + QByteArray::number(i);
    for (int k = 0; k < 10; ++k)
        line += ',' + QByteArray::number(double((i * 10 + k) % 100000) * 0.25, 'f', 2);
    return line;
}

inline QString DemoFile(const char* name)
{
    return QStringLiteral(VANTREL_DEMO_DIR "/") + QLatin1String(name);
}

// The demo's CSV lines as the pipeline takes them.
inline std::vector<QString> DemoTextLines()
{
    std::vector<QString> lines;
    CTextFile file;
    if (!file.Open(DemoFile("demo.csv"), CTextFile::Mode::Read))
        return lines;
    QString line;
    while (file.ReadLine(line))
        lines.push_back(line);
    return lines;
}

// The demo's CSV lines as code page 932 bytes, as a feeding program sends them.
inline std::vector<QByteArray> DemoLines()
{
    std::vector<QByteArray> lines;
    for (const QString& line : DemoTextLines())
        lines.push_back(EncodeCp932(line));
    return lines;
}

inline int64_t ThreadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

inline void PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Notes when the worker has applied a record, keyed by its store row, then hands it on.
class CTimedNotifier : public IDocumentNotifier
{
public:
    CTimedNotifier(IDocumentNotifier& next, size_t count)
        : m_appliedNs(count), m_next(next) {}
    void OnDocData(CVantrelDoc& doc, const CDocData& item) override
    {
        if (item.m_row >= 0 && size_t(item.m_row) < m_appliedNs.size())
            m_appliedNs[size_t(item.m_row)] = Clock::now().time_since_epoch().count();
        m_next.OnDocData(doc, item);
    }
    std::vector<std::atomic<int64_t>> m_appliedNs;

private:
    IDocumentNotifier& m_next;
};

// The demo document in a shown scroll view fed by the pipeline, event driven or paced; line
// i is the store's row i. The source marks each send with MarkSent.
class CDemoLatencyRig
{
public:
    CDemoLatencyRig(int count, bool eventDriven)
        : m_count(count), m_lines(DemoLines()), m_sentNs(size_t(count)), m_timed(m_notifier, size_t(count))
    {
        m_host.m_docs.push_back(std::make_unique<CVantrelDoc>());
        CVantrelDoc& doc = *m_host.m_docs[0];
        if (m_lines.empty() || !doc.OpenDocumentFile(DemoFile("demo.t2")) || doc.m_image.isNull())
            return;
        SetPacing(eventDriven ? EventDriven() : CPacing::Default());
        SetMessagePump(&PumpEvents);
        m_main.m_pApp = &m_host;
        m_main.m_keepInternal = 0;
        m_view = std::make_unique<CVantrelView>(doc);
        m_view->resize(1280, 800);
        m_view->show();
        while (!m_view->windowHandle() || !m_view->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        m_view->SetReplaySource({&m_main.m_storeLock, &m_main.m_internalData, &m_main.m_fdInfos});
        m_view->OnInitialUpdate();
        QCoreApplication::processEvents();
        m_notifier.SetHandler([this](CVantrelDoc& d, int32_t hint) {
            m_view->OnUpdate(hint);
            const int32_t row = d.m_currentRow;
            if (HintAction(ViewKind::Scroll, hint).m_repaint && row >= 0 && row < m_count)
                m_repaintMs.push_back(double(Clock::now().time_since_epoch().count() - m_sentNs[size_t(row)]) * 1e-6);
        });
        doc.m_notifier = &m_timed;
        m_ready = true;
    }
    ~CDemoLatencyRig()
    {
        if (!m_ready)
            return;
        m_host.m_docs[0]->m_notifier = nullptr;
        SetMessagePump(nullptr);
        SetPacing(CPacing::Default());
    }

    bool Ready() const { return m_ready; }
    CMain& Main() { return m_main; }
    int Count() const { return m_count; }
    const QByteArray& Line(int i) const { return m_lines[size_t(i) % m_lines.size()]; }
    void MarkSent(int i) { m_sentNs[size_t(i)] = Clock::now().time_since_epoch().count(); }
    bool LastApplied() const { return m_timed.m_appliedNs[size_t(m_count - 1)] != 0; }

    void Report(benchmark::State& state) const
    {
        std::vector<double> appliedMs;
        for (int i = 0; i < m_count; ++i) {
            if (m_timed.m_appliedNs[size_t(i)] != 0)
                appliedMs.push_back(double(m_timed.m_appliedNs[size_t(i)] - m_sentNs[size_t(i)]) * 1e-6);
        }
        state.counters["lines_sent"] = m_count;
        state.counters["applied_p50_ms"] = Percentile(appliedMs, 0.50);
        state.counters["applied_p99_ms"] = Percentile(appliedMs, 0.99);
        state.counters["repaint_p50_ms"] = Percentile(m_repaintMs, 0.50);
        state.counters["repaint_p99_ms"] = Percentile(m_repaintMs, 0.99);
        state.counters["repaints"] = double(m_repaintMs.size());
    }

private:
    int m_count;
    std::vector<QByteArray> m_lines;
    std::vector<std::atomic<int64_t>> m_sentNs;
    CBenchHost m_host;
    CMain m_main;
    CDocumentNotifier m_notifier;
    CTimedNotifier m_timed;
    std::unique_ptr<CVantrelView> m_view;
    std::vector<double> m_repaintMs;
    bool m_ready = false;
};

} // namespace live_bench
