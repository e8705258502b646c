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

    void SetUp() override
    {
        m_rig.m_main.m_saveInternal = 1;
        m_rig.m_main.m_keepInternal = 0;
        m_player = std::make_unique<CCsvFilePlayer>(m_rig.m_main);
        m_player->SetLinePauseUs(1000);
        QObject::connect(
            m_player.get(), &CCsvFilePlayer::progress, &m_log,
            [this](int kind, qint64 sent, quint64 batch) { m_log.m_entries.push_back({kind, sent, batch}); },
            Qt::QueuedConnection);
    }

    void TearDown() override { m_player.reset(); }

    void Start(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("in.csv"));
        WriteAll(path, bytes);
        ASSERT_TRUE(m_player->Open(path));
        m_player->Start();
    }

    // Plays and serves the progress until that batch ended or the input did.
    quint64 PlayAndWait(int32_t lines)
    {
        const quint64 id = m_player->Play(lines);
        EXPECT_TRUE(ServeUntil([&] {
            return m_log.Has(Kind::BatchEnded, id) || m_log.Has(Kind::InputEnded, id);
        }));
        return id;
    }
};

} // namespace

TEST_F(CsvFilePlayerTest, OneLinePerPlayAndUnplayedLinesAreNeverRead)
{
    Start("a,1\r\nb,2\nc,3\n");
    const quint64 first = PlayAndWait(1);
    const quint64 second = PlayAndWait(1);
    m_player->Stop();

    EXPECT_EQ(m_log.m_entries,
              (std::vector<CProgressEntry>{{Kind::BatchEnded, 1, first}, {Kind::BatchEnded, 2, second}}));
    EXPECT_EQ(m_doc.Texts(), (std::vector<QString>{QStringLiteral("a,1"), QStringLiteral("b,2")}));
    EXPECT_EQ(m_rig.m_main.m_internalData.GetCount(), 2);
    EXPECT_FALSE(m_rig.m_main.IsAnyDocumentBusy());
}

TEST_F(CsvFilePlayerTest, EndOfFileIsFoundWhenALineIsAsked)
{
    // Six lines with N = 3: two full batches, then the third PLAY finds the end at once. An
    // empty line is a line, and so is a last line without a line end.
    Start("1\n\n3\n4\n5\nlast");
    const quint64 a = PlayAndWait(3);
    const quint64 b = PlayAndWait(3);
    const quint64 c = PlayAndWait(3);
    m_player->Stop();

    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{Kind::LineSent, 1, a},
                                                            {Kind::LineSent, 2, a},
                                                            {Kind::BatchEnded, 3, a},
                                                            {Kind::LineSent, 4, b},
                                                            {Kind::LineSent, 5, b},
                                                            {Kind::BatchEnded, 6, b},
                                                            {Kind::InputEnded, 6, c}}));
    EXPECT_EQ(m_doc.Texts(), (std::vector<QString>{QStringLiteral("1"), QString(), QStringLiteral("3"),
                                                   QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("last")}));
}

TEST_F(CsvFilePlayerTest, EmptyFileEndsAtTheFirstPlay)
{
    Start(QByteArray());
    const quint64 id = PlayAndWait(5);
    m_player->Stop();
    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{Kind::InputEnded, 0, id}}));
    EXPECT_EQ(m_doc.Count(), 0u);
}

TEST_F(CsvFilePlayerTest, PauseStopsAfterTheLineBeingSentAndPlayStartsAFreshBatch)
{
    m_player->SetLinePauseUs(300000); // room to pause between two lines
    Start("1\n2\n3\n4\n5\n6\n");
    const quint64 first = m_player->Play(4);
    ASSERT_TRUE(ServeUntil([&] { return !m_log.m_entries.empty(); }));
    m_player->Pause();
    ServeFor(400);
    EXPECT_EQ(m_log.m_entries.size(), 1u);

    // A PLAY right after a PAUSE is a new batch of N lines, not the rest of the old one.
    const quint64 second = PlayAndWait(2);
    m_player->Stop();
    EXPECT_EQ(m_log.m_entries, (std::vector<CProgressEntry>{{Kind::LineSent, 1, first},
                                                            {Kind::LineSent, 2, second},
                                                            {Kind::BatchEnded, 3, second}}));
    EXPECT_EQ(m_doc.Texts(), (std::vector<QString>{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
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
        SetUp();
        m_rig.m_main.m_internalData.RemoveAll();
        m_rig.Store(2);
        m_rig.m_main.m_saveInternal = c.save;
        m_rig.m_main.m_keepInternal = c.keep;
        Start("x\n");
        // Before any line is played.
        EXPECT_EQ(m_rig.m_main.m_internalData.GetCount(), c.rowsAfterStart);
        EXPECT_TRUE(m_rig.m_main.IsWorkerRunning());
        m_player->Stop();
        m_player.reset();
    }
}

TEST(CsvFilePlayer, MissingFileDoesNotOpen)
{
    CMain main;
    CCsvFilePlayer player(main);
    EXPECT_FALSE(player.Open(QStringLiteral("/nonexistent/in.csv")));
    EXPECT_FALSE(player.IsStarted());
}
