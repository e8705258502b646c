#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class CMain;

// Replays the internal data store to the documents in batches (PLAY, BACK, GO), resetting
// them first where a batch starts over. Rows skip the pipeline: they already carry their
// computed FDs. The reader thread reports through progress(), which a window connects
// queued with itself as context.
class CInternalDataPlayer : public QObject
{
    Q_OBJECT
public:
    explicit CInternalDataPlayer(CMain& main, QObject* parent = nullptr);
    ~CInternalDataPlayer() override;

    // UI thread: clears the run's capture failure, resets every document and starts its
    // worker (not the main worker), then the reader.
    void Start();
    // A ReplayCommand with 指定行 and 開始行; returns the batch number progress() will carry.
    uint64_t Command(int32_t command, int32_t count, int32_t start);
    void Pause();
    // UI thread, once: ends the reader (serving the UI thread's messages while waiting) and
    // then every document's worker, which applies whatever was queued.
    void Stop();

    // Rows in the store; it does not change while the player runs.
    int64_t Total() const { return m_total; }
    bool IsStarted() const { return m_reader != nullptr; }
    bool IsStopped() const { return m_stopped; }
    // Pause between two rows; the default is the 10 ms of the player.
    void SetRowPauseUs(int32_t us) { m_rowPauseUs = us; }

Q_SIGNALS:
    // From the reader thread, after each row: endOfBatch for the last row of a batch (or a
    // command that had no row to send); position: rows sent, which is the 1-based number of
    // the last row sent.
    void progress(bool endOfBatch, qint64 position, quint64 batch);

private:
    void Read();

    CMain& m_main;
    int64_t m_total = 0;
    int32_t m_rowPauseUs = 10000;

    std::mutex m_lock; // guards the next five
    std::condition_variable m_wake;
    bool m_stopRequest = false;
    int32_t m_command = 0;
    int32_t m_cmdCount = 0;
    int32_t m_cmdStart = 0;
    uint64_t m_commandId = 0;

    std::unique_ptr<std::thread> m_reader;
    std::atomic<bool> m_readerEnded{false};
    bool m_stopped = false;
};
