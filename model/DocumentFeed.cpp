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
    std::lock_guard lock(m_feedLock);
    m_feedQueue.push_back(std::move(item));
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
    m_feedStop = FeedStopRequested;
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
        WaitPumping([this] { return m_feedStop.load() == FeedEnded; });
        m_pFeedThread->join();
        m_pFeedThread.reset();
    }
    m_editMode = EditMode::None;
}

void CVantrelDoc::DocumentWorker(CVantrelDoc* doc)
{
    const CPacing pacing = GetPacing();
    CDocData item;
    for (;;) {
        bool stop = false;
        size_t n = 0;
        {
            std::lock_guard lock(doc->m_feedLock);
            stop = doc->m_feedStop.load() != FeedRunning;
            n = doc->m_feedQueue.size();
        }
        // Once stopped, whatever is queued goes through the drain below with its own hint.
        if (stop)
            break;
        if (n == 0) {
            PauseUs(pacing.feedIdleUs);
            continue;
        }
        // Items that arrive meanwhile belong to the next batch; only the last item of this
        // one may ask the views to repaint.
        for (size_t k = n; k >= 1; --k) {
            {
                std::lock_guard lock(doc->m_feedLock);
                item = std::move(doc->m_feedQueue.front());
                doc->m_feedQueue.pop_front();
            }
            PauseUs(pacing.perFeedItemUs);
            if (k > 1 && item.m_type == ApplyAndRepaint)
                item.m_type = Apply;
            doc->ApplyDocData(item);
        }
    }

    {
        std::lock_guard lock(doc->m_feedLock);
        while (!doc->m_feedQueue.empty()) {
            item = std::move(doc->m_feedQueue.front());
            doc->m_feedQueue.pop_front();
            doc->ApplyDocData(item);
        }
    }
    doc->m_feedStop = FeedEnded;
}
