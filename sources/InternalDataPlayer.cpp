#include "sources/InternalDataPlayer.h"

#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "runtime/Main.h"
#include "sources/PlayerRules.h"

#include <chrono>

CInternalDataPlayer::CInternalDataPlayer(CMain& main, QObject* parent)
    : QObject(parent), m_main(main)
{
}

CInternalDataPlayer::~CInternalDataPlayer()
{
    // Neither the reader nor the document workers may outlive the player.
    if (m_reader && !m_stopped)
        Stop();
}

void CInternalDataPlayer::Start()
{
    if (m_reader)
        return;
    {
        std::lock_guard store(m_main.m_storeLock);
        m_total = m_main.m_internalData.GetCount();
    }
    m_main.m_captureFailed = 0;
    m_main.m_captureError.clear();
    // The document half of a run; the main worker stays idle.
    ForEachDocument(m_main.m_pApp, [](CVantrelDoc& doc) { doc.ResetFeed(); });
    ForEachDocument(m_main.m_pApp, [](CVantrelDoc& doc) { doc.StartFeed(); });
    {
        std::lock_guard lock(m_lock);
        m_stopRequest = false;
        m_command = ReplayNone;
    }
    m_readerEnded = false;
    m_reader = std::make_unique<std::thread>(&CInternalDataPlayer::Read, this);
}

uint64_t CInternalDataPlayer::Command(int32_t command, int32_t count, int32_t start)
{
    uint64_t id = 0;
    {
        std::lock_guard lock(m_lock);
        m_cmdCount = count;
        m_cmdStart = start;
        m_command = command;
        id = ++m_commandId;
    }
    m_wake.notify_all();
    return id;
}

void CInternalDataPlayer::Pause()
{
    std::lock_guard lock(m_lock);
    m_command = ReplayNone;
}

void CInternalDataPlayer::Stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    {
        std::lock_guard lock(m_lock);
        m_stopRequest = true;
    }
    m_wake.notify_all();
    if (m_reader) {
        JoinPumping(m_reader, [this] { return m_readerEnded.load(); });
        ForEachDocument(m_main.m_pApp, [](CVantrelDoc& doc) { doc.StopFeed(); });
    }
}

void CInternalDataPlayer::Read()
{
    const auto pause = std::chrono::microseconds(m_rowPauseUs);
    const int64_t total = m_total;
    int64_t pos = 0; // rows sent, also the store index of the next row
    for (;;) {
        int32_t command = ReplayNone;
        int32_t count = 0;
        int32_t start = 0;
        uint64_t id = 0;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopRequest || m_command != ReplayNone; });
            if (m_stopRequest)
                break;
            command = m_command;
            count = m_cmdCount;
            start = m_cmdStart;
            id = m_commandId;
        }

        const std::optional<CReplayBatch> batch = ReplayBatch(command, pos, count, start, total);
        if (!batch) {
            // Nothing to send: the command ends at once instead of being tried for ever.
            {
                std::lock_guard lock(m_lock);
                if (m_commandId == id)
                    m_command = ReplayNone;
            }
            Q_EMIT progress(true, pos, id);
            continue;
        }

        // The reset waits in each document's queue behind the rows already queued there,
        // so that no plot is reset while a row is being applied to it.
        if (batch->m_reset)
            ForEachDocument(m_main.m_pApp, [](CVantrelDoc& doc) { doc.QueueResetFeed(); });

        for (int64_t i = batch->m_first; i <= batch->m_last; ++i) {
            FieldRow row;
            {
                std::lock_guard store(m_main.m_storeLock);
                row = m_main.m_internalData.GetAt(i);
            }
            m_main.Dispatch(static_cast<int32_t>(i), ReplayRowHint(*batch, i), &row, true);
            pos = i + 1;
            const bool last = i == batch->m_last;
            if (last) {
                std::lock_guard lock(m_lock);
                // A command given after a Pause is left standing.
                if (m_commandId == id)
                    m_command = ReplayNone;
            }
            Q_EMIT progress(last, pos, id);
            bool go = false;
            {
                std::unique_lock lock(m_lock);
                m_wake.wait_for(lock, pause, [this] { return m_stopRequest; });
                go = !last && !m_stopRequest && m_command != ReplayNone && m_commandId == id;
            }
            if (!go)
                break;
        }
    }
    m_readerEnded = true;
}
