#pragma once

#include "platform/TextFile.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class CMain;

// Plays a code page 932 CSV file into the pipeline: each Play sends the next lines, one per
// pause, and the reader pauses by itself after the last of them. The reader thread reports
// through progress(), which a window connects queued with itself as context.
class CCsvFilePlayer : public QObject
{
    Q_OBJECT
public:
    enum Progress : int32_t {
        LineSent = 0,     // a line of a batch, not its last
        BatchEnded = 1,   // the last line of a batch was sent
        InputEnded = 2,   // the file has no more lines; the reader has ended
        ReadFailed = 3,   // the file could not be read further; the reader has ended
    };

    explicit CCsvFilePlayer(CMain& main, QObject* parent = nullptr);
    ~CCsvFilePlayer() override;

    // Before Start; false when the file cannot be opened for reading.
    bool Open(const QString& path);
    // UI thread: empties the store when it stores without keeping, starts the pipeline's
    // run and the reader.
    void Start();
    // Any number of lines from 1 on; returns the batch number that progress() will carry.
    uint64_t Play(int32_t lines);
    void Pause();
    // UI thread, once: ends the reader (serving the UI thread's messages while waiting), then
    // the run, and closes the file. Every line sent before has reached every document.
    void Stop();

    bool IsStarted() const { return m_reader != nullptr; }
    bool IsStopped() const { return m_stopped; }
    // Pause between two lines and the wait for a new command; the default is the 10 ms of
    // the player.
    void SetLinePauseUs(int32_t us) { m_linePauseUs = us; }

Q_SIGNALS:
    // From the reader thread. sent: lines sent since the start; batch: the Play it belongs to.
    void progress(int kind, qint64 sent, quint64 batch);

private:
    void Read();

    CMain& m_main;
    CTextFile m_inputFile;
    int32_t m_linePauseUs = 10000;

    std::mutex m_lock; // guards the next four
    std::condition_variable m_wake;
    bool m_stopRequest = false;
    bool m_playing = false;
    int32_t m_batchLines = 1;
    uint64_t m_batchId = 0;

    std::unique_ptr<std::thread> m_reader;
    std::atomic<bool> m_readerEnded{false};
    bool m_stopped = false;
};
