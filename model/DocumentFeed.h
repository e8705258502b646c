#pragma once

#include "model/Enums.h"
#include "pipeline/DocData.h"

#include <cstdint>

class CVantrelDoc;

// The first view's frame of a document, told after each applied record. It is called on the
// document's worker thread and must return only once the views have handled the update
// (the worker waits, which is what keeps its next writes away from the drawing). An
// implementation that hands the call to the UI thread relies on that thread serving its
// messages while it waits for the worker (see WaitPumping).
//
// item is the record as applied; item.m_type is the hint for the views, which the worker
// lowers from ApplyAndRepaint to Apply for all but the last item of a batch.
class IDocumentNotifier
{
public:
    virtual ~IDocumentNotifier() = default;
    virtual void OnDocData(CVantrelDoc& doc, const CDocData& item) = 0;
};

// Locks of a document: m_feedLock guards its queue; m_renderLock is held while the worker
// writes the plots, bars, m_currentRow and m_firstAfterReset, and is taken by whoever reads
// them to draw, inside OnDocData or not. Nobody takes m_feedLock while holding m_renderLock.

// The m_type of a queued reset (QueueResetFeed): never applied as a record and never shown
// to the views.
inline constexpr int32_t FeedResetMarker = -1;

// Values of CVantrelDoc::m_feedStop: running, stop requested, and the worker's last act
// after its drain, which tells the waiting UI thread that joining will not block.
enum FeedStopState : int32_t { FeedRunning = 0, FeedStopRequested = 1, FeedEnded = 2 };

