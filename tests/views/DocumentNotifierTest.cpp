#include "ViewSupport.h"

#include "model/Enums.h"
#include "pipeline/Pacing.h"
#include "views/DocumentNotifier.h"
#include "views/StretchView.h"
#include "views/VantrelView.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

struct CSeen
{
    int32_t hint;
    bool onUiThread;
    int32_t currentRow; // the document as the handler saw it
};

void PumpEvents()
{
    QCoreApplication::processEvents();
}

// The UI thread's waits serve its events, as the application's do.
class CPumpScope
{
public:
    CPumpScope() { SetMessagePump(&PumpEvents); }
    ~CPumpScope() { SetMessagePump(nullptr); }
};

} // namespace

TEST(DocumentNotifier, WorkerWaitsUntilTheUiThreadHandledEachUpdate)
{
    CVantrelDoc doc;
    CDocumentNotifier notifier;
    std::vector<CSeen> seen;
    notifier.SetHandler([&](CVantrelDoc& d, int32_t hint) {
        seen.push_back({hint, QThread::currentThread() == qApp->thread(), d.m_currentRow});
    });

    constexpr int kCalls = 200;
    std::atomic<bool> done{false};
    std::atomic<int> returnedEarly{0};
    std::thread worker([&] {
        for (int i = 0; i < kCalls; ++i) {
            doc.m_currentRow = i; // the worker's write, before it notifies
            notifier.OnDocData(doc, CDocData(i % 2 ? Apply : ApplyAndRepaint, i, {}, nullptr));
            // Returning means the handler ran: its record is there.
            if (seen.size() != size_t(i + 1))
                ++returnedEarly;
        }
        done = true;
    });
    WaitPumping([&] {
        PumpEvents();
        return done.load();
    });
    worker.join();

    EXPECT_EQ(returnedEarly.load(), 0);
    ASSERT_EQ(seen.size(), size_t(kCalls));
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(seen[size_t(i)].hint, i % 2 ? Apply : ApplyAndRepaint);
        EXPECT_TRUE(seen[size_t(i)].onUiThread);
        EXPECT_EQ(seen[size_t(i)].currentRow, i);
    }

    // On its own thread the handler runs at once, with no event served.
    seen.clear();
    notifier.OnDocData(doc, CDocData(4, 0, {}, nullptr));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].hint, 4);
    EXPECT_TRUE(seen[0].onUiThread);
}

TEST(DocumentNotifier, FeedReachesEveryViewAndStopsWithoutDeadlock)
{
    CPumpScope pump;
    const CBuffer<FieldRow> rows = TrailRows(12);
    auto doc = TrailDocument();
    CVantrelView scroll(*doc);
    CStretchView stretch(*doc);
    for (CViewWidget* view : {static_cast<CViewWidget*>(&scroll), static_cast<CViewWidget*>(&stretch)}) {
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        view->OnInitialUpdate();
    }
    QCoreApplication::processEvents();
    CPaintCounter scrollPaints(scroll.viewport());
    CPaintCounter stretchPaints(stretch.viewport());

    CDocumentNotifier notifier;
    std::vector<int32_t> hints;
    notifier.SetHandler([&](CVantrelDoc&, int32_t hint) {
        hints.push_back(hint);
        scroll.OnUpdate(hint);
        stretch.OnUpdate(hint);
    });
    doc->m_notifier = &notifier;
    doc->ResetFeed();
    {
        // Queued at once, so that the worker takes them as one batch.
        std::lock_guard lock(doc->m_feedLock);
        for (int r = 0; r < 3; ++r)
            doc->m_feedQueue.push_back(RowItem(rows, r));
    }
    doc->StartFeed();
    WaitPumping([&] { return hints.size() >= 3; });
    {
        // Some of these may still be queued at the stop; the drain delivers them with their own hint.
        std::lock_guard lock(doc->m_feedLock);
        for (int r = 3; r < 12; ++r)
            doc->m_feedQueue.push_back(RowItem(rows, r));
    }
    doc->StopFeed();

    EXPECT_EQ(doc->m_editMode, EditMode::None);
    EXPECT_EQ(doc->m_currentRow, 11);
    ASSERT_EQ(hints.size(), 12u);
    EXPECT_EQ(std::vector<int32_t>(hints.begin(), hints.begin() + 3), (std::vector<int32_t>{Apply, Apply, ApplyAndRepaint}));
    const auto repaints = std::count(hints.begin(), hints.end(), ApplyAndRepaint);
    EXPECT_EQ(scrollPaints.m_paints, repaints);
    EXPECT_EQ(stretchPaints.m_paints, repaints);
    EXPECT_EQ(Shown(stretch.viewport()), stretch.Layers().Overlay());
    doc->m_notifier = nullptr;
}
