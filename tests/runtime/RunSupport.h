#pragma once

// A fake application for the pipeline's thread tests: a host with the two document
// templates, a "UI thread" whose messages are served only when the test pumps them, and a
// notifier that hands every update to that thread and waits, as the frame does.

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "model/ViewInfo.h"
#include "runtime/DocumentHost.h"
#include "pipeline/Pacing.h"

#include <QFileInfo>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CUiLoop
{
public:
    CUiLoop()
        : m_uiThread(std::this_thread::get_id())
    {
        s_current = this;
        SetMessagePump(&CUiLoop::PumpCurrent);
    }
    ~CUiLoop()
    {
        SetMessagePump(nullptr);
        s_current = nullptr;
    }

    // Runs fn on the UI thread and returns once it ran there.
    void Send(std::function<void()> fn)
    {
        std::unique_lock lock(m_lock);
        auto done = std::make_shared<bool>(false);
        m_tasks.push_back({std::move(fn), done});
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return *done; });
    }

    void Pump()
    {
        std::unique_lock lock(m_lock);
        while (!m_tasks.empty()) {
            Task task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task.fn();
            lock.lock();
            *task.done = true;
            m_changed.notify_all();
        }
    }

    // Blocks the UI thread (without serving) until some worker is waiting on it.
    void WaitForPendingSend()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [&] { return !m_tasks.empty(); });
    }

    bool OnUiThread() const { return std::this_thread::get_id() == m_uiThread; }

private:
    static void PumpCurrent()
    {
        if (s_current)
            s_current->Pump();
    }

    static inline CUiLoop* s_current = nullptr;
    std::thread::id m_uiThread;
    std::mutex m_lock;
    std::condition_variable m_changed;
    struct Task
    {
        std::function<void()> fn;
        std::shared_ptr<bool> done;
    };
    std::deque<Task> m_tasks;
};

struct CSeenUpdate
{
    int32_t hint;
    int32_t row;
    QStringList fields;
    int32_t currentRow;      // the document's state while its views handle the update
    int32_t firstAfterReset;
    bool onUiThread;
};

class CRecordingNotifier : public IDocumentNotifier
{
public:
    explicit CRecordingNotifier(CUiLoop& loop)
        : m_loop(loop) {}

    void OnDocData(CVantrelDoc& doc, const CDocData& item) override
    {
        m_loop.Send([&] {
            m_seen.push_back({item.m_type, item.m_row, item.m_fields.toStringList(), doc.m_currentRow,
                              doc.m_firstAfterReset, m_loop.OnUiThread()});
        });
    }

    // Written on the UI thread only; read by the test on that thread.
    std::vector<CSeenUpdate> m_seen;

private:
    CUiLoop& m_loop;
};

class CFakeHost : public IDocumentHost
{
public:
    int32_t TemplateCount() const override { return 2; }
    int32_t DocumentCount(int32_t t) const override { return static_cast<int32_t>(m_docs[size_t(t)].size()); }
    CVantrelDoc* Document(int32_t t, int32_t d) const override { return m_docs[size_t(t)][size_t(d)].get(); }

    bool OpenDocument(const QString& path) override
    {
        m_opened.push_back(path);
        const QString suffix = QFileInfo(path).suffix();
        const int t = suffix == QLatin1String("t1") ? 0 : suffix == QLatin1String("t2") ? 1 : -1;
        auto doc = std::make_unique<CVantrelDoc>();
        if (t < 0 || !doc->OpenDocumentFile(path))
            return false;
        m_docs[size_t(t)].push_back(std::move(doc));
        return true;
    }
    void CloseAllDocuments() override
    {
        ++m_closeAllCalls;
        m_docs[0].clear();
        m_docs[1].clear();
    }
    CViewInfo MainWindowPlacement() const override { return m_window; }
    void MoveMainWindow(const CViewInfo& rect) override
    {
        m_window = rect;
        ++m_moves;
    }

    CVantrelDoc& AddDocument(int t)
    {
        m_docs[size_t(t)].push_back(std::make_unique<CVantrelDoc>());
        return *m_docs[size_t(t)].back();
    }

    std::vector<std::unique_ptr<CVantrelDoc>> m_docs[2];
    std::vector<QString> m_opened;
    int m_closeAllCalls = 0;
    int m_moves = 0;
    CViewInfo m_window{10, 20, 810, 620};
};

// Sets the pacing for one test and puts the default back.
class CPacingScope
{
public:
    explicit CPacingScope(const CPacing& pacing) { SetPacing(pacing); }
    ~CPacingScope() { SetPacing(CPacing::Default()); }
};

// No pauses for work; a short idle pause keeps polling threads from spinning.
inline CPacing FastPacing()
{
    CPacing p = CPacing::Unpaced();
    p.idleUs = 100;
    p.feedIdleUs = 100;
    return p;
}
