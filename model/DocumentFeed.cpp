// The document's feed: its queue of records, the worker that applies them to the committed
// plots and bars, and the notification of the views.

#include "model/DocumentFeed.h"

#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"

#include <utility>

namespace {

// The design part of a reset. The worker runs it for a ResetAndApply item and must not
// touch m_feedStop there: clearing a stop request that arrived meanwhile would leave the
// UI thread waiting for ever.
void ResetDesignRunState(CVantrelDoc& doc)
{
    doc.m_firstAfterReset = 1;
    doc.m_currentRow = -1;
    for (CPlotInfo& plot : doc.m_plots)
        plot.ResetRunState();
    for (CBarInfo& bar : doc.m_bars)
        bar.ResetRunState();
}

} // namespace

void CVantrelDoc::ResetFeed()
{
    m_feedStop = FeedRunning;
    std::lock_guard lock(m_renderLock);
    ResetDesignRunState(*this);
}

void CVantrelDoc::EnqueueFeed(CDocData&& item)
{
    {
        std::lock_guard lock(m_feedLock);
        m_feedQueue.push_back(std::move(item));
    }
    m_feedWake.notify_one();
}

void CVantrelDoc::QueueResetFeed()
{
    EnqueueFeed(CDocData(FeedResetMarker, -1, FieldRow(), nullptr));
}

void CVantrelDoc::ApplyQueuedReset()
{
    std::lock_guard lock(m_renderLock);
    ResetDesignRunState(*this);
}

void CVantrelDoc::ApplyDocData(const CDocData& item)
{
    {
        // The reset writes the plots as well, so it is inside the lock too.
        std::lock_guard lock(m_renderLock);
        if (item.m_type == ResetAndApply)
            ResetDesignRunState(*this);
        m_currentRow = item.m_row;
        for (CPlotInfo& plot : m_plots)
            plot.UpdateFromRecord(item);
        for (CBarInfo& bar : m_bars)
            bar.UpdateFromRecord(item);
    }
    if (m_notifier)
        m_notifier->OnDocData(*this, item);
    std::lock_guard lock(m_renderLock);
    m_firstAfterReset = 0;
}

void CVantrelDoc::StartFeed()
{
    if (m_pFeedThread)
        return;
    m_editMode = EditMode::Running;
    m_feedStop = FeedRunning;
    m_pFeedThread = std::make_unique<std::thread>(&CVantrelDoc::DocumentWorker, this);
}

void CVantrelDoc::StopFeed()
{
    {
        // Under the lock, so that a worker about to wait cannot miss it.
        std::lock_guard lock(m_feedLock);
        m_feedStop = FeedStopRequested;
    }
    m_feedWake.notify_all();
    if (!m_pFeedThread) {
        // A document opened while a run went on has no worker; what was queued to it is
        // applied by one that drains at once.
        bool empty = false;
        {
            std::lock_guard lock(m_feedLock);
            empty = m_feedQueue.empty();
        }
        if (!empty)
            m_pFeedThread = std::make_unique<std::thread>(&CVantrelDoc::DocumentWorker, this);
    }
    if (m_pFeedThread) {
        // The worker may be waiting in a notification to this very thread.
        JoinPumping(m_pFeedThread, [this] { return m_feedStop.load() == FeedEnded; });
    }
    m_editMode = EditMode::None;
}

void CVantrelDoc::DocumentWorker(CVantrelDoc* doc)
{
    const CPacing pacing = GetPacing();
    std::deque<CDocData> batch;
    for (;;) {
        bool stop = false;
        {
            std::unique_lock lock(doc->m_feedLock);
            if (pacing.m_waitForWork) {
                doc->m_feedWake.wait(lock, [doc] {
                    return doc->m_feedStop.load() != FeedRunning || !doc->m_feedQueue.empty();
                });
            }
            stop = doc->m_feedStop.load() != FeedRunning;
            // Items that arrive meanwhile belong to the next batch.
            if (!stop)
                batch.swap(doc->m_feedQueue);
        }
        // Once stopped, whatever is queued goes through the drain below with its own hint.
        if (stop)
            break;
        if (batch.empty()) {
            PauseUs(pacing.feedIdleUs);
            continue;
        }
        // Only the last record of the batch may ask the views to repaint; a queued reset
        // is no record and changes no hint.
        size_t lastRecord = batch.size();
        for (size_t i = batch.size(); i-- > 0;) {
            if (batch[i].m_type != FeedResetMarker) {
                lastRecord = i;
                break;
            }
        }
        for (size_t i = 0; i < batch.size(); ++i) {
            CDocData& item = batch[i];
            if (item.m_type == FeedResetMarker) {
                doc->ApplyQueuedReset();
                continue;
            }
            // Once a stop is asked for, the rest of the batch goes at full speed: a stop
            // must not wait out a pause per queued item.
            if (!pacing.m_waitForWork && doc->m_feedStop.load() == FeedRunning)
                PauseUs(pacing.perFeedItemUs);
            if (i != lastRecord && item.m_type == ApplyAndRepaint)
                item.m_type = Apply;
            doc->ApplyDocData(item);
        }
        batch.clear();
    }

    {
        std::lock_guard lock(doc->m_feedLock);
        while (!doc->m_feedQueue.empty()) {
            const CDocData item = std::move(doc->m_feedQueue.front());
            doc->m_feedQueue.pop_front();
            if (item.m_type == FeedResetMarker)
                doc->ApplyQueuedReset();
            else
                doc->ApplyDocData(item);
        }
    }
    doc->m_feedStop = FeedEnded;
}
