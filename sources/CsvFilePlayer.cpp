#include "sources/CsvFilePlayer.h"

#include "pipeline/Pacing.h"
#include "runtime/Main.h"

#include <chrono>

CCsvFilePlayer::CCsvFilePlayer(CMain& main, QObject* parent)
    : QObject(parent), m_main(main)
{
}

CCsvFilePlayer::~CCsvFilePlayer()
{
    // Neither the reader nor the run may outlive the player.
    if (m_reader && !m_stopped)
        Stop();
}

bool CCsvFilePlayer::Open(const QString& path)
{
    return m_inputFile.Open(path, CTextFile::Mode::Read);
}

void CCsvFilePlayer::Start()
{
    if (m_reader)
        return;
    m_main.PrepareStoreForRun();
    m_main.PrepareRun();
    m_main.StartThreads();
    {
        std::lock_guard lock(m_lock);
        m_stopRequest = false;
        m_playing = false;
    }
    m_readerEnded = false;
    m_reader = std::make_unique<std::thread>(&CCsvFilePlayer::Read, this);
}

uint64_t CCsvFilePlayer::Play(int32_t lines)
{
    uint64_t id = 0;
    {
        std::lock_guard lock(m_lock);
        m_batchLines = lines;
        m_playing = true;
        id = ++m_batchId;
    }
    m_wake.notify_all();
    return id;
}

void CCsvFilePlayer::Pause()
{
    std::lock_guard lock(m_lock);
    m_playing = false;
}

void CCsvFilePlayer::Stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    {
        std::lock_guard lock(m_lock);
        m_playing = false;
        m_stopRequest = true;
    }
    m_wake.notify_all();
    if (m_reader) {
        JoinPumping(m_reader, [this] { return m_readerEnded.load(); });
        m_main.StopThreads();
    }
    m_inputFile.Close();
}

void CCsvFilePlayer::Read()
{
    const auto pause = std::chrono::microseconds(m_linePauseUs);
    int64_t sent = 0;
    QString line;
    for (;;) {
        int32_t batch = 0;
        uint64_t id = 0;
        {
            // Lines the user does not play are never read.
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopRequest || m_playing; });
            if (m_stopRequest)
                break;
            batch = m_batchLines;
            id = m_batchId;
            if (batch < 1)
                m_playing = false; // an empty batch ends at once rather than spinning
        }
        if (batch < 1)
            Q_EMIT progress(BatchEnded, sent, id);
        for (int32_t i = 0; i < batch; ++i) {
            if (!m_inputFile.ReadLine(line)) {
                {
                    std::lock_guard lock(m_lock);
                    m_playing = false;
                }
                Q_EMIT progress(m_inputFile.HasError() ? ReadFailed : InputEnded, sent, id);
                m_readerEnded = true;
                return;
            }
            m_main.PushLine(line);
            ++sent;
            const bool last = i == batch - 1;
            if (last) {
                std::lock_guard lock(m_lock);
                // A Play that came after a Pause is a batch of its own and is left standing.
                if (m_batchId == id)
                    m_playing = false;
            }
            Q_EMIT progress(last ? BatchEnded : LineSent, sent, id);
            bool go = false;
            {
                // Also after the last line of a batch: at most one line per pause, however
                // fast PLAY is pressed again.
                std::unique_lock lock(m_lock);
                m_wake.wait_for(lock, pause, [this] { return m_stopRequest; });
                go = !last && m_playing && !m_stopRequest && m_batchId == id;
            }
            if (!go)
                break;
        }
    }
    m_readerEnded = true;
}
