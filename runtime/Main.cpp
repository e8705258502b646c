#include "runtime/Main.h"

#include "model/VantrelDoc.h"
#include "pipeline/Capture.h"
#include "pipeline/Pacing.h"
#include "pipeline/SplitLine.h"
#include "platform/SafeFormat.h"
#include "platform/UserInteraction.h"

#include <utility>

CMain::CMain() = default;

CMain::~CMain()
{
    // A worker must never outlive the object it reads.
    if (m_pWorker)
        StopThreads();
}

void CMain::AppendLineLocked(const QString& line)
{
    m_lineQueue.push_back(line);
    m_queuedText += line.size();
    m_queuedLines.fetch_add(1, std::memory_order_relaxed);
}

QString CMain::TakeFrontLocked()
{
    QString line = std::move(m_lineQueue.front());
    m_lineQueue.pop_front();
    m_queuedText -= line.size();
    return line;
}

void CMain::PushLine(const QString& line)
{
    {
        std::lock_guard lock(m_queueLock);
        AppendLineLocked(line);
    }
    m_queueWake.notify_one();
}

bool CMain::PushLineBounded(const QString& line)
{
    {
        std::lock_guard lock(m_queueLock);
        if (int64_t(m_lineQueue.size()) >= m_lineQueueLimit || m_queuedText + line.size() > m_lineQueueTextLimit) {
            m_discardedLines.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
        AppendLineLocked(line);
    }
    m_queueWake.notify_one();
    return true;
}

void CMain::PrepareStoreForRun()
{
    if (m_saveInternal && !m_keepInternal) {
        std::lock_guard store(m_storeLock);
        m_internalData.RemoveAll();
    }
}

void CMain::PrepareRun()
{
    m_stop = 0;
    m_discardedLines = 0;
    m_queuedLines = 0;
    m_captureFailed = 0;
    m_captureError.clear();
    ForEachDocument(m_pApp, [](CVantrelDoc& doc) { doc.ResetFeed(); });
}

void CMain::StartThreads()
{
    if (m_pWorker)
        return;
    // Document workers first, so that they exist before the first record is dispatched.
    ForEachDocument(m_pApp, [](CVantrelDoc& doc) { doc.StartFeed(); });
    m_workerEnded = false;
    m_replayDone = false;
    m_pWorker = std::make_unique<std::thread>(&CMain::MainWorker, this);
}

void CMain::StopThreads()
{
    {
        // Under the lock, so that a worker about to wait cannot miss the wake-up.
        std::lock_guard lock(m_queueLock);
        m_stop = 1;
    }
    m_queueWake.notify_all();
    if (m_pWorker) {
        JoinPumping(m_pWorker, [this] { return m_workerEnded.load(); });
    }
    CloseCaptureFile();
    ForEachDocument(m_pApp, [](CVantrelDoc& doc) { doc.StopFeed(); });
}

bool CMain::IsAnyDocumentBusy() const
{
    if (m_pWorker)
        return true;
    bool busy = false;
    ForEachDocument(m_pApp, [&](CVantrelDoc& doc) { busy = busy || doc.m_editMode != 0; });
    return busy;
}

void CMain::MainWorker(CMain* main)
{
    const CPacing pacing = GetPacing();
    const bool waitForWork = pacing.m_waitForWork;
    const auto pause = [waitForWork](int32_t us) {
        if (!waitForWork)
            PauseUs(us);
    };

    // Replay what the store keeps, oldest first; the count may grow meanwhile only through
    // this thread, so it is read again at every step.
    if (main->m_saveInternal && main->m_keepInternal) {
        for (int64_t i = 0; i < main->m_internalData.GetCount(); ++i) {
            if (main->m_stop) {
                main->m_workerEnded = true; // the line queue stays as it is
                return;
            }
            FieldRow row = main->m_internalData.GetAt(i);
            main->Dispatch(static_cast<int32_t>(i), Apply, &row, true);
            pause(pacing.perReplayedRowUs);
        }
    }
    main->m_replayDone = true;
    main->m_lastCaptureFlush = std::chrono::steady_clock::now();

    for (;;) {
        bool stop = false;
        bool taken = false;
        QString line;
        {
            std::unique_lock lock(main->m_queueLock);
            if (waitForWork && main->m_lineQueue.empty() && !main->m_stop) {
                // Idle: the captured lines reach the disk before the worker sleeps.
                lock.unlock();
                main->FlushCaptureIfDue(true);
                lock.lock();
                main->m_queueWake.wait(lock, [main] { return main->m_stop || !main->m_lineQueue.empty(); });
            }
            stop = main->m_stop != 0;
            if (!stop && !main->m_lineQueue.empty()) {
                line = main->TakeFrontLocked();
                taken = true;
            }
        }
        if (stop)
            break;
        if (taken) {
            main->ProcessLine(line);
            main->FlushCaptureIfDue(false);
            pause(pacing.afterLineUs);
        } else {
            main->FlushCaptureIfDue(true);
            pause(pacing.idleUs);
        }
    }

    // Drain under the queue lock, so that a concurrent push waits rather than being left
    // behind. Dispatch takes each document's feed lock in turn inside; nothing takes the
    // queue lock while holding a feed lock.
    {
        std::lock_guard lock(main->m_queueLock);
        while (!main->m_lineQueue.empty()) {
            const QString line = main->TakeFrontLocked();
            main->ProcessLine(line);
            main->FlushCaptureIfDue(false);
        }
    }
    // The rest is flushed when the capture file is closed.
    main->m_workerEnded = true;
}

bool LineStartsWith(const QString& line, const QString& entry)
{
    const qsizetype n = entry.size();
    return n <= line.size() && QStringView(line).first(n) == QStringView(entry);
}

bool CMain::Accepts(const QString& line) const
{
    if (!m_includePrefixes.isEmpty()) {
        for (const QString& entry : m_includePrefixes) {
            if (LineStartsWith(line, entry))
                return true;
        }
        return false;
    }
    for (const QString& entry : m_excludePrefixes) {
        if (LineStartsWith(line, entry))
            return false;
    }
    return true;
}

void CMain::ProcessLine(const QString& line)
{
    const bool accept = (m_saveCsv || m_saveInternal) && Accepts(line);

    FieldRow fields;
    SplitLine(line, fields);
    // Each computed FD sees the ones before it.
    for (const CCalcFD& calc : m_calcFDs) {
        double value = 0.0;
        calc.Evaluate(value, &fields, &m_fdInfos);
        fields.append(FormatG(value));
    }

    if (accept && m_saveCsv)
        WriteCapture(line, fields);

    int32_t row = -1;
    if (m_saveInternal) {
        std::lock_guard store(m_storeLock);
        if (accept)
            m_internalData.Add(fields);
        row = static_cast<int32_t>(m_internalData.GetCount() - 1);
    }
    Dispatch(row, ApplyAndRepaint, &fields, true);
}

void CMain::Dispatch(int32_t row, int32_t type, FieldRow* fields, bool move)
{
    CDocData item;
    item.m_type = type;
    item.m_row = row;
    item.m_pFDInfos = &m_fdInfos;
    if (fields) {
        if (move)
            item.m_fields = std::move(*fields);
        else
            item.m_fields = *fields;
    }

    // Every document but the last gets a copy; the last one takes the item itself.
    CVantrelDoc* previous = nullptr;
    ForEachDocument(m_pApp, [&](CVantrelDoc& doc) {
        if (previous)
            previous->EnqueueFeed(CDocData(item));
        previous = &doc;
    });
    if (previous)
        previous->EnqueueFeed(std::move(item));
}

void CMain::WriteCapture(const QString& line, const FieldRow& fields)
{
    QString text = CaptureLine(line, fields, !m_calcFDs.empty());
    text.append(QLatin1Char('\n'));
    if (!m_captureFile.IsOpen() || !m_captureFile.WriteString(text))
        RecordCaptureFailure();
    m_captureDirty = true;
}

void CMain::FlushCaptureIfDue(bool queueEmpty)
{
    if (!m_captureDirty)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!queueEmpty && now - m_lastCaptureFlush < kCaptureFlushInterval)
        return;
    if (m_captureFile.IsOpen() && !m_captureFile.Flush())
        RecordCaptureFailure();
    m_captureDirty = false;
    m_lastCaptureFlush = now;
}

void CMain::RecordCaptureFailure()
{
    // Only the main worker records failures; the first of a run wins.
    if (m_captureFailed.load(std::memory_order_relaxed))
        return;
    m_captureError = QStringLiteral("CSVファイル出力失敗!");
    m_captureFailed.store(1, std::memory_order_release);
}

bool CMain::CaptureFailed(QString* error) const
{
    if (!m_captureFailed.load(std::memory_order_acquire))
        return false;
    if (error)
        *error = m_captureError;
    return true;
}

bool CMain::OpenCaptureFile(IUserInteraction& ui)
{
    FileDialogRequest request;
    request.filter = QStringLiteral("csv File (*.csv)|*.csv||");
    request.title = QStringLiteral("出力するCSVファイル名を指定してください");
    request.defaultExtension = QStringLiteral("csv");
    request.flags = FileDialogPathMustExist | (m_appendCsv ? 0u : FileDialogOverwritePrompt);
    const std::optional<QString> path = ui.SaveFile(request);
    if (!path)
        return false;
    if (!OpenCaptureFileAt(*path, m_appendCsv != 0)) {
        ui.ShowError(m_appendCsv ? QStringLiteral("CSVファイルをオープンできませんでした.")
                                 : QStringLiteral("出力CSVファイルをオープンできませんでした."));
        return false;
    }
    return true;
}

bool CMain::OpenCaptureFileAt(const QString& path, bool append, QString* error)
{
    return m_captureFile.Open(path, append ? CTextFile::Mode::Append : CTextFile::Mode::CreateTruncate, error);
}

void CMain::CloseCaptureFile()
{
    if (!m_captureFile.IsOpen())
        return;
    // Lines still buffered that cannot reach the disk are a failed capture too. The worker
    // has ended, so this thread may record it.
    if (!m_captureFile.Flush())
        RecordCaptureFailure();
    m_captureFile.Close();
    // Some file systems report a lost write only when the file is closed.
    if (m_captureFile.HasError())
        RecordCaptureFailure();
}

void CMain::ApplyRingOptions(bool ring, int64_t capacity)
{
    if (m_saveInternal && m_keepInternal) {
        m_internalData.SetRing(ring, capacity);
        return;
    }
    // Nothing is kept, so the settings are only stored; the store must still stay
    // consistent, since a later run may keep and replay it.
    m_internalData.StoreRingSettings(ring, capacity);
}

bool CMain::ExportInternalCsv(const QString& path, QString& error, const ProgressCallback& progress) const
{
    return ::ExportInternalCsv(m_internalData, path, error, progress);
}
