#include "PlayerSupport.h"

#include "sources/InternalDataPlayer.h"
#include "sources/PlayerRules.h"

#include <gtest/gtest.h>

namespace {

// Stored rows first..last (numbered from 1) as a document's views see them when nothing
// else was queued with them.
std::vector<CSeenRecord> Rows(int first, int last, bool reset)
{
    std::vector<CSeenRecord> out;
    for (int r = first; r <= last; ++r) {
        const int32_t hint = r == last ? ApplyAndRepaint : (r == first && reset) ? ResetAndApply : Apply;
        out.push_back({hint, r - 1, QStringLiteral("r%1").arg(r), reset && r == first ? 1 : 0});
    }
    return out;
}

std::vector<CSeenRecord> Join(std::initializer_list<std::vector<CSeenRecord>> parts)
{
    std::vector<CSeenRecord> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

class InternalDataPlayerTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    CPlayerRig m_rig;
    CListNotifier& m_first = m_rig.AddDocument(0);
    CListNotifier& m_second = m_rig.AddDocument(1);
    CProgressLog m_log;
    std::unique_ptr<CInternalDataPlayer> m_player;
    size_t m_records = 0;

    void Start(int rows, int32_t rowPauseUs = 500)
    {
        m_rig.Store(rows);
        m_player = std::make_unique<CInternalDataPlayer>(m_rig.m_main);
        m_player->SetRowPauseUs(rowPauseUs);
        m_log.Listen(m_player.get(), &CInternalDataPlayer::progress);
        m_player->Start();
    }

    // One command to its end, and its rows applied by both documents, so that the next
    // batch cannot share a worker batch with it. Returns the new position.
    qint64 Run(int32_t command, int32_t count, int32_t start, size_t rows)
    {
        const quint64 id = m_player->Command(command, count, start);
        EXPECT_TRUE(ServeUntil([&] { return m_log.Has(1, id); }));
        m_records += rows;
        EXPECT_TRUE(ServeUntil([&] { return m_first.Seen().size() >= m_records && m_second.Seen().size() >= m_records; }));
        return m_log.m_entries.back().count;
    }

    void StopAndExpect(const std::vector<CSeenRecord>& expected)
    {
        m_player->Stop();
        EXPECT_EQ(m_first.Seen(), expected);
        EXPECT_EQ(m_second.Seen(), expected);
        EXPECT_FALSE(m_rig.m_main.IsAnyDocumentBusy());
    }
};

} // namespace

TEST_F(InternalDataPlayerTest, PlayPlayBackGoOnTenRows)
{
    m_rig.m_main.m_captureFailed = 1;
    Start(10);
    EXPECT_EQ(m_rig.m_main.m_captureFailed.load(), 0);
    EXPECT_TRUE(m_rig.m_main.IsAnyDocumentBusy());
    EXPECT_FALSE(m_rig.m_main.IsWorkerRunning());

    EXPECT_EQ(Run(ReplayPlay, 3, 1, 3), 3);
    EXPECT_EQ(Run(ReplayPlay, 3, 1, 3), 6);
    EXPECT_EQ(Run(ReplayBack, 3, 1, 3), 3);
    EXPECT_EQ(Run(ReplayGo, 8, 1, 8), 8);
    StopAndExpect(Join({Rows(1, 3, true), Rows(4, 6, false), Rows(1, 3, true), Rows(1, 8, true)}));
    EXPECT_EQ(m_rig.m_main.m_internalData.GetCount(), 10); // only read
}

TEST_F(InternalDataPlayerTest, TheStartRowDecidesWhereABatchStartsOver)
{
    Start(10);
    EXPECT_EQ(Run(ReplayPlay, 2, 4, 2), 5);  // from position 0 too
    EXPECT_EQ(Run(ReplayPlay, 2, 7, 2), 8);  // position 5, start row 7
    EXPECT_EQ(Run(ReplayPlay, 5, 4, 2), 10); // start row behind: goes on, up to the end
    // BACK past the start row: the start row alone, so only the queued reset starts over.
    EXPECT_EQ(Run(ReplayBack, 20, 2, 1), 2);
    // Nothing left to play: the command ends at once instead of running for ever.
    EXPECT_EQ(Run(ReplayGo, 1, 5, 0), 2);
    StopAndExpect(Join({Rows(4, 5, true), Rows(7, 8, true), Rows(9, 10, false), Rows(2, 2, true)}));
}

TEST_F(InternalDataPlayerTest, PauseKeepsTheRowsSentSoFar)
{
    // A long pause between rows, so that a slow machine still pauses before the second.
    Start(10, 2000000);
    const quint64 id = m_player->Command(ReplayGo, 10, 1);
    ASSERT_TRUE(ServeUntil([&] { return !m_log.m_entries.empty(); }));
    m_player->Pause();
    ServeUntil([] { return false; }, 400);
    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{0, 1, id}}));
    StopAndExpect({{ResetAndApply, 0, QStringLiteral("r1"), 1}});
}
