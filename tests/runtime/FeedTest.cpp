#include "RunSupport.h"

#include "model/PlotInfo.h"

#include <gtest/gtest.h>

namespace {

CDocData Item(int32_t type, int32_t row, FieldRow fields = {})
{
    return CDocData(type, row, std::move(fields), nullptr);
}

void Enqueue(CVantrelDoc& doc, CDocData item)
{
    std::lock_guard lock(doc.m_feedLock);
    doc.m_feedQueue.push_back(std::move(item));
}

// All at once, so that the worker finds them in one batch.
void EnqueueAll(CVantrelDoc& doc, std::vector<CDocData> items)
{
    std::lock_guard lock(doc.m_feedLock);
    for (CDocData& item : items)
        doc.m_feedQueue.push_back(std::move(item));
}

std::vector<int32_t> Hints(const std::vector<CSeenUpdate>& seen)
{
    std::vector<int32_t> out;
    for (const CSeenUpdate& s : seen)
        out.push_back(s.hint);
    return out;
}

std::vector<int32_t> Rows(const std::vector<CSeenUpdate>& seen)
{
    std::vector<int32_t> out;
    for (const CSeenUpdate& s : seen)
        out.push_back(s.row);
    return out;
}

// Serves the UI thread until the notifier has seen count updates.
void PumpUntil(CUiLoop& loop, const CRecordingNotifier& notifier, size_t count)
{
    WaitPumping([&] { return notifier.m_seen.size() >= count; });
    loop.Pump();
}

class FeedTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    CUiLoop m_loop;
    CRecordingNotifier m_notifier{m_loop};
    CVantrelDoc m_doc;

    void SetUp() override { m_doc.m_notifier = &m_notifier; }
};

} // namespace

TEST_F(FeedTest, OnlyTheLastItemOfABatchRepaints)
{
    m_doc.ResetFeed();
    EnqueueAll(m_doc, {Item(ApplyAndRepaint, 0), Item(ApplyAndRepaint, 1), Item(ApplyAndRepaint, 2)});
    m_doc.StartFeed();
    EXPECT_EQ(m_doc.m_editMode, EditMode::Running);
    PumpUntil(m_loop, m_notifier, 3);
    // A later single item is a batch of its own and keeps its hint.
    Enqueue(m_doc, Item(ApplyAndRepaint, 3));
    PumpUntil(m_loop, m_notifier, 4);
    m_doc.StopFeed();

    EXPECT_EQ(Hints(m_notifier.m_seen), (std::vector<int32_t>{Apply, Apply, ApplyAndRepaint, ApplyAndRepaint}));
    EXPECT_EQ(Rows(m_notifier.m_seen), (std::vector<int32_t>{0, 1, 2, 3}));
    for (const CSeenUpdate& s : m_notifier.m_seen)
        EXPECT_TRUE(s.onUiThread);
    EXPECT_EQ(m_doc.m_editMode, EditMode::None);
    EXPECT_EQ(m_doc.m_pFeedThread, nullptr);
}

TEST_F(FeedTest, StopDrainsWithEveryItemsOwnHint)
{
    m_doc.ResetFeed();
    m_doc.StartFeed();
    Enqueue(m_doc, Item(ApplyAndRepaint, 0));
    // The worker now waits on this thread; whatever is queued meanwhile is still there
    // when the stop request comes.
    m_loop.WaitForPendingSend();
    for (int i = 1; i <= 5; ++i)
        Enqueue(m_doc, Item(i == 3 ? Apply : ApplyAndRepaint, i));
    m_doc.StopFeed();

    EXPECT_EQ(Hints(m_notifier.m_seen),
              (std::vector<int32_t>{ApplyAndRepaint, ApplyAndRepaint, ApplyAndRepaint, Apply, ApplyAndRepaint,
                                    ApplyAndRepaint}));
    EXPECT_EQ(Rows(m_notifier.m_seen), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(m_doc.m_feedQueue.empty());
    EXPECT_EQ(m_doc.m_editMode, EditMode::None);
}

TEST_F(FeedTest, ResetAndApplyInMidBatchResetsThenApplies)
{
    CPlotInfo plot;
    m_doc.m_plots.push_back(plot);
    m_doc.ResetFeed();
    EXPECT_EQ(m_doc.m_currentRow, -1);
    EXPECT_EQ(m_doc.m_firstAfterReset, 1);

    Enqueue(m_doc, Item(ApplyAndRepaint, 7, {QStringLiteral("1"), QStringLiteral("2")}));
    Enqueue(m_doc, Item(ApplyAndRepaint, 8, {QStringLiteral("1"), QStringLiteral("2")}));
    m_doc.StartFeed();
    PumpUntil(m_loop, m_notifier, 2);
    EXPECT_EQ(m_doc.m_plots[0].m_firstRecord, 0);

    EnqueueAll(m_doc, {Item(ApplyAndRepaint, 9), Item(ResetAndApply, 0, {QStringLiteral("3")}),
                       Item(ApplyAndRepaint, 1)});
    PumpUntil(m_loop, m_notifier, 5);
    m_doc.StopFeed();

    const auto& seen = m_notifier.m_seen;
    ASSERT_EQ(seen.size(), 5u);
    // The first item after the start still sees the reset flag; the next one does not.
    EXPECT_EQ(seen[0].firstAfterReset, 1);
    EXPECT_EQ(seen[1].firstAfterReset, 0);
    EXPECT_EQ(Hints(seen), (std::vector<int32_t>{Apply, ApplyAndRepaint, Apply, ResetAndApply, ApplyAndRepaint}));
    EXPECT_EQ(seen[3].currentRow, 0);
    EXPECT_EQ(seen[3].firstAfterReset, 1);
    EXPECT_EQ(seen[4].currentRow, 1);
    EXPECT_EQ(seen[4].firstAfterReset, 0);
    EXPECT_EQ(m_doc.m_firstAfterReset, 0);
}

TEST_F(FeedTest, ResetAndApplyDoesNotSwallowAStopRequest)
{
    // The stop request arrives while the batch is under way; the reset item that follows
    // must leave it standing, or the UI thread would wait for the worker for ever.
    m_doc.ResetFeed();
    EnqueueAll(m_doc, {Item(ApplyAndRepaint, 0), Item(ResetAndApply, 1)});
    m_doc.StartFeed();
    m_loop.WaitForPendingSend();
    m_doc.m_feedStop = FeedStopRequested;
    m_loop.Pump();
    m_loop.WaitForPendingSend(); // the reset item has been applied
    EXPECT_EQ(m_doc.m_feedStop.load(), FeedStopRequested);
    m_doc.StopFeed();
    EXPECT_EQ(Rows(m_notifier.m_seen), (std::vector<int32_t>{0, 1}));
}

TEST_F(FeedTest, DocumentWithoutViewIsUpdatedSilently)
{
    m_doc.m_notifier = nullptr;
    m_doc.m_plots.push_back(CPlotInfo());
    m_doc.ResetFeed();
    m_doc.StartFeed();
    Enqueue(m_doc, Item(ApplyAndRepaint, 4, {QStringLiteral("1")}));
    Enqueue(m_doc, Item(ApplyAndRepaint, 5, {QStringLiteral("2")}));
    m_doc.StopFeed();
    EXPECT_EQ(m_doc.m_currentRow, 5);
    EXPECT_EQ(m_doc.m_firstAfterReset, 0);
    EXPECT_EQ(m_doc.m_plots[0].m_firstRecord, 0);
}

TEST_F(FeedTest, StopWithoutWorkerAppliesWhatIsQueuedAndLeavesIdle)
{
    m_doc.StopFeed(); // nothing queued, no worker: idle, nothing happens
    EXPECT_EQ(m_doc.m_editMode, EditMode::None);
    EXPECT_TRUE(m_notifier.m_seen.empty());

    for (int i = 0; i < 5; ++i)
        Enqueue(m_doc, Item(ApplyAndRepaint, i));
    m_doc.StopFeed();
    EXPECT_EQ(Hints(m_notifier.m_seen), std::vector<int32_t>(5, ApplyAndRepaint));
    EXPECT_EQ(Rows(m_notifier.m_seen), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(m_doc.m_pFeedThread, nullptr);
    EXPECT_EQ(m_doc.m_editMode, EditMode::None);
}

TEST_F(FeedTest, ResetFeedForgetsThePlotsRunState)
{
    CPlotInfo plot;
    plot.m_sizeValueKind = ValueKind::Max;
    m_doc.m_plots.push_back(plot);
    m_doc.m_plots[0].m_firstRecord = 0;
    m_doc.m_plots[0].m_sizeValue = 5.0;
    m_doc.m_currentRow = 12;
    m_doc.m_feedStop = FeedEnded;

    m_doc.ResetFeed();
    EXPECT_EQ(m_doc.m_feedStop.load(), FeedRunning);
    EXPECT_EQ(m_doc.m_currentRow, -1);
    EXPECT_EQ(m_doc.m_firstAfterReset, 1);
    EXPECT_EQ(m_doc.m_plots[0].m_firstRecord, 1);
    EXPECT_EQ(m_doc.m_plots[0].m_sizeValue, -1.7976931348623157e308);
}

TEST_F(FeedTest, QueuedResetTakesItsTurnAndChangesNoHint)
{
    m_doc.m_plots.push_back(CPlotInfo());
    m_doc.ResetFeed();
    m_doc.StartFeed();
    m_doc.EnqueueFeed(Item(ApplyAndRepaint, 0, {QStringLiteral("1")}));
    m_loop.WaitForPendingSend();
    // Queued while the worker is busy: the reset must wait for row 1 and come before row 2.
    m_doc.EnqueueFeed(Item(ApplyAndRepaint, 1, {QStringLiteral("2")}));
    m_doc.QueueResetFeed();
    PumpUntil(m_loop, m_notifier, 2);
    m_doc.EnqueueFeed(Item(ApplyAndRepaint, 2, {QStringLiteral("3")}));
    PumpUntil(m_loop, m_notifier, 3);
    m_doc.StopFeed();

    const auto& seen = m_notifier.m_seen;
    ASSERT_EQ(seen.size(), 3u);
    // The reset is no record: row 1, last of its batch, keeps its repaint.
    EXPECT_EQ(Hints(seen), (std::vector<int32_t>{ApplyAndRepaint, ApplyAndRepaint, ApplyAndRepaint}));
    EXPECT_EQ(seen[1].firstAfterReset, 0);
    EXPECT_EQ(seen[1].currentRow, 1);
    EXPECT_EQ(seen[2].firstAfterReset, 1);
    EXPECT_EQ(m_doc.m_feedStop.load(), FeedEnded);
}

namespace {

// One feed history with fixed batches: a single item, then six items (with a queued reset
// among them) found at once, then a stop with two items still queued.
std::vector<CSeenUpdate> FeedHistory(const CPacing& pacing)
{
    CPacingScope scope(pacing);
    CUiLoop loop;
    CRecordingNotifier notifier(loop);
    CVantrelDoc doc;
    doc.m_notifier = &notifier;
    doc.m_plots.push_back(CPlotInfo());
    doc.ResetFeed();
    doc.StartFeed();

    doc.EnqueueFeed(Item(ApplyAndRepaint, 0, {QStringLiteral("a")}));
    loop.WaitForPendingSend();
    doc.EnqueueFeed(Item(ApplyAndRepaint, 1, {QStringLiteral("b")}));
    doc.EnqueueFeed(Item(Apply, 2));
    doc.QueueResetFeed();
    doc.EnqueueFeed(Item(ResetAndApply, 3));
    doc.EnqueueFeed(Item(ApplyAndRepaint, 4));
    doc.EnqueueFeed(Item(ApplyAndRepaint, 5));
    PumpUntil(loop, notifier, 6);
    doc.EnqueueFeed(Item(ApplyAndRepaint, 6));
    loop.WaitForPendingSend();
    doc.EnqueueFeed(Item(ApplyAndRepaint, 7));
    doc.EnqueueFeed(Item(ApplyAndRepaint, 8));
    doc.StopFeed();
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    return notifier.m_seen;
}

} // namespace

TEST(FeedWaitForWork, SameRecordsAndHintsAsThePacedWorker)
{
    const std::vector<CSeenUpdate> paced = FeedHistory(FastPacing());
    // Pauses this long would time the test out: the waiting worker must not use them.
    CPacing waiting = CPacing::Default();
    waiting.feedIdleUs = 600'000'000;
    waiting.perFeedItemUs = 600'000'000;
    waiting.m_waitForWork = true;
    const std::vector<CSeenUpdate> woken = FeedHistory(waiting);

    EXPECT_EQ(Hints(paced), (std::vector<int32_t>{ApplyAndRepaint, Apply, Apply, ResetAndApply, Apply, ApplyAndRepaint,
                                                  ApplyAndRepaint, ApplyAndRepaint, ApplyAndRepaint}));
    EXPECT_EQ(Rows(paced), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(woken.size(), paced.size());
    for (size_t i = 0; i < paced.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(woken[i].hint, paced[i].hint);
        EXPECT_EQ(woken[i].row, paced[i].row);
        EXPECT_EQ(woken[i].fields, paced[i].fields);
        EXPECT_EQ(woken[i].currentRow, paced[i].currentRow);
        EXPECT_EQ(woken[i].firstAfterReset, paced[i].firstAfterReset);
    }
}
