#include "PlayerSupport.h"

#include "sources/CsvFilePlayer.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Kind = CCsvFilePlayer::Progress;

class CsvFilePlayerTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    QTemporaryDir m_dir;
    CPlayerRig m_rig;
    CListNotifier& m_doc = m_rig.AddDocument();
    CProgressLog m_log;
    std::unique_ptr<CCsvFilePlayer> m_player;

    void Start(const QByteArray& bytes, int32_t linePauseUs = 1000)
    {
        m_player = std::make_unique<CCsvFilePlayer>(m_rig.m_main);
        m_player->SetLinePauseUs(linePauseUs);
        m_log.Listen(m_player.get(), &CCsvFilePlayer::progress);
        const QString path = m_dir.filePath(QStringLiteral("in.csv"));
        WriteAll(path, bytes);
        ASSERT_TRUE(m_player->Open(path));
        m_player->Start();
    }

    // Plays and serves the progress until that batch or the input ended.
    quint64 PlayAndWait(int32_t lines)
    {
        const quint64 id = m_player->Play(lines);
        EXPECT_TRUE(ServeUntil([&] { return m_log.Has(Kind::BatchEnded, id) || m_log.Has(Kind::InputEnded, id); }));
        return id;
    }
};

} // namespace

TEST_F(CsvFilePlayerTest, BatchesOfNAndTheEndFoundWhenALineIsAsked)
{
    // Six lines: an empty line is a line, and so is a last line without a line end. N = 1
    // sends exactly one line; once the batches have used up the file, the next PLAY finds
    // the end at once.
    Start("1\r\n\n3\n4\n5\nlast");
    const quint64 a = PlayAndWait(1);
    const quint64 b = PlayAndWait(2);
    const quint64 c = PlayAndWait(3);
    const quint64 d = PlayAndWait(3);
    m_player->Stop();

    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{Kind::BatchEnded, 1, a},
                                                            {Kind::LineSent, 2, b},
                                                            {Kind::BatchEnded, 3, b},
                                                            {Kind::LineSent, 4, c},
                                                            {Kind::LineSent, 5, c},
                                                            {Kind::BatchEnded, 6, c},
                                                            {Kind::InputEnded, 6, d}}));
    EXPECT_EQ(m_doc.Texts(), (QStringList{"1", "", "3", "4", "5", "last"}));
    EXPECT_FALSE(m_rig.m_main.IsAnyDocumentBusy());
}

TEST_F(CsvFilePlayerTest, PauseStopsAfterTheLineBeingSentAndPlayStartsAFreshBatch)
{
    Start("1\n2\n3\n4\n5\n6\n", 2000000); // room to pause between two lines, even on a slow machine
    const quint64 first = m_player->Play(4);
    ASSERT_TRUE(ServeUntil([&] { return !m_log.m_entries.empty(); }));
    m_player->Pause();
    ServeUntil([] { return false; }, 400);
    EXPECT_EQ(m_log.m_entries.size(), 1u);

    const quint64 second = PlayAndWait(2);
    m_player->Stop();
    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{Kind::LineSent, 1, first},
                                                            {Kind::LineSent, 2, second},
                                                            {Kind::BatchEnded, 3, second}}));
    EXPECT_EQ(m_doc.Texts(), (QStringList{"1", "2", "3"}));
}

TEST_F(CsvFilePlayerTest, StartEmptiesTheStoreOnlyWhenItStoresWithoutKeeping)
{
    struct Case
    {
        int32_t save, keep;
        int64_t rowsAfterStart;
    } const cases[] = {{1, 0, 0}, {1, 1, 2}, {0, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "store " << c.save << " keep " << c.keep);
        m_rig.m_main.m_internalData.RemoveAll();
        m_rig.Store(2);
        m_rig.m_main.m_saveInternal = c.save;
        m_rig.m_main.m_keepInternal = c.keep;
        Start("x\n");
        EXPECT_EQ(m_rig.m_main.m_internalData.GetCount(), c.rowsAfterStart); // before any PLAY
        EXPECT_TRUE(m_rig.m_main.IsWorkerRunning());
        m_player->Stop();
    }
}
