#pragma once

#include "fields/CalcFD.h"
#include "fields/FDInfo.h"
#include "model/ViewInfo.h"
#include "pipeline/Buffer.h"
#include "pipeline/DocData.h"
#include "runtime/DocumentHost.h"
#include "pipeline/FieldRow.h"
#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CArchive;
class IUserInteraction;

// The application's one line pipeline: its options and lists, the internal data store, the
// line queue and the main worker that turns lines into records for every document.
class CMain
{
public:
    CMain();
    CMain(const CMain&) = delete;
    CMain& operator=(const CMain&) = delete;
    virtual ~CMain();

    // The state file. Loading reads everything into temporaries first and changes nothing
    // unless the whole record was read; a failure throws CArchiveError.
    virtual void Serialize(CArchive& ar);

    // Any thread. PushLine always queues (the file player must not lose lines);
    // PushLineBounded drops the line and counts it while the queue is over its limits, so
    // that a sender faster than the worker cannot grow memory until the process dies.
    void PushLine(const QString& line);
    bool PushLineBounded(const QString& line);
    // Lines PushLineBounded dropped since PrepareRun.
    int64_t DiscardedLines() const { return m_discardedLines.load(std::memory_order_relaxed); }
    // Lines queued for the worker since PrepareRun.
    int64_t QueuedLines() const { return m_queuedLines.load(std::memory_order_relaxed); }
    // Typical lines hit the line limit first (about 150 MB of queue); the text limit keeps
    // long lines (a TCP line may be 65,535 bytes) to 128 MiB of UTF-16 as well.
    static constexpr int64_t kLineQueueLimit = 1'000'000;
    static constexpr int64_t kLineQueueTextLimit = int64_t(64) << 20; // UTF-16 code units
    int64_t m_lineQueueLimit = kLineQueueLimit;
    int64_t m_lineQueueTextLimit = kLineQueueTextLimit;

    // UI thread. Before a run: a run that stores without keeping starts from an empty store.
    void PrepareStoreForRun();
    void PrepareRun();
    void StartThreads();
    // Waits (serving the UI thread's messages) until every line pushed so far has reached
    // every document, then leaves the documents idle.
    void StopThreads();
    // A document that is not idle, or a running main worker (which reads the options, the
    // lists and the store even when no document is open).
    bool IsAnyDocumentBusy() const;
    bool IsWorkerRunning() const { return m_pWorker != nullptr; }
    // Whether the worker of the current run has replayed the kept rows (or had none to
    // replay). A stop before that leaves the pushed lines queued for the next run.
    bool IsReplayDone() const { return m_replayDone.load(); }

    // Main worker only (ProcessLine); main worker or the internal data player's thread
    // (Dispatch). With move the caller's fields are left empty.
    void ProcessLine(const QString& line);
    void Dispatch(int32_t row, int32_t type, FieldRow* fields, bool move);

    // Capture file, opened before a run while m_saveCsv is set; false: the run must not start.
    bool OpenCaptureFile(IUserInteraction& ui);
    // The same without the file chooser, for headless runs; error gets the message.
    bool OpenCaptureFileAt(const QString& path, bool append, QString* error = nullptr);
    void CloseCaptureFile();
    // Whether a capture write failed in the current run, and its message. Safe from any
    // thread while the worker runs.
    bool CaptureFailed(QString* error = nullptr) const;
    // Longest time captured lines stay in the file's buffer while lines keep coming; the
    // worker also flushes whenever it finds the line queue empty. A write failure therefore
    // shows while the run goes on, and a crash loses at most this much.
    static constexpr std::chrono::milliseconds kCaptureFlushInterval{100};

    // New ring settings from the options dialog.
    void ApplyRingOptions(bool ring, int64_t capacity);

    bool ExportInternalCsv(const QString& path, QString& error, const ProgressCallback& progress = {}) const;

    static void MainWorker(CMain* main);

    int32_t m_version = 0;
    CViewInfo m_windowInfo;
    CBuffer<FieldRow> m_internalData;
    int32_t m_saveCsv = 0;
    int32_t m_appendCsv = 1;
    int32_t m_saveInternal = 1;
    int32_t m_keepInternal = 1;
    QStringList m_includePrefixes;
    QStringList m_excludePrefixes;
    std::vector<CCalcFD> m_calcFDs;
    CFDInfos m_fdInfos;
    IDocumentHost* m_pApp = nullptr;
    QString m_dataFolder;
    int32_t m_templateCount = 0;
    std::vector<int32_t> m_docCounts;
    std::mutex m_queueLock;
    // Guards m_internalData against readers on other threads (a view replaying the store
    // after a resize) while the main worker adds to it. Taken alone, never around another lock.
    std::mutex m_storeLock;
    std::deque<QString> m_lineQueue;
    // Wakes an event-driven worker waiting for a line or the stop; used with m_queueLock.
    std::condition_variable m_queueWake;
    std::atomic<int32_t> m_stop{0};
    std::unique_ptr<std::thread> m_pWorker;
    CTextFile m_captureFile;
    // Set once per run by the main worker; m_captureError is written before the flag is
    // raised and never again until the next run, so a reader that sees the flag may read it.
    std::atomic<int32_t> m_captureFailed{0};
    QString m_captureError;

private:
    bool Accepts(const QString& line) const;
    void WriteCapture(const QString& line, const FieldRow& fields);
    // Main worker: flushes what WriteCapture left buffered when the queue was found empty
    // or the interval has passed since the last flush.
    void FlushCaptureIfDue(bool queueEmpty);
    void RecordCaptureFailure();
    // Under m_queueLock.
    void AppendLineLocked(const QString& line);
    QString TakeFrontLocked();

    // Main worker only.
    bool m_captureDirty = false;
    std::chrono::steady_clock::time_point m_lastCaptureFlush;
    std::atomic<bool> m_workerEnded{false};
    std::atomic<bool> m_replayDone{false};
    int64_t m_queuedText = 0; // UTF-16 code units in m_lineQueue, under m_queueLock
    std::atomic<int64_t> m_discardedLines{0};
    std::atomic<int64_t> m_queuedLines{0};
};

// The start of a line matches an entry of length n when its first n UTF-16 code units equal
// the entry; an empty entry matches every line.
bool LineStartsWith(const QString& line, const QString& entry);
