#include "RunSupport.h"

#include "runtime/Main.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MainWorkerTest : public ::testing::Test
{
protected:
    CUiLoop m_loop;
    CFakeHost m_host;
    CMain m_main;

    void SetUp() override { m_main.m_pApp = &m_host; }

    CVantrelDoc& AddViewedDocument(int t, CRecordingNotifier& notifier)
    {
        CVantrelDoc& doc = m_host.AddDocument(t);
        doc.m_notifier = &notifier;
        return doc;
    }

    void Run(const std::vector<QString>& lines)
    {
        m_main.PrepareRun();
        m_main.StartThreads();
        for (const QString& line : lines)
            m_main.PushLine(line);
        m_main.StopThreads();
    }
};

QStringList Fields(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out.append(QString::fromUtf8(t));
    return out;
}

} // namespace

TEST_F(MainWorkerTest, EveryLinePushedBeforeStopReachesEveryDocumentOnceInOrder)
{
    CPacingScope pacing(FastPacing());
    CRecordingNotifier first(m_loop);
    CRecordingNotifier second(m_loop);
    AddViewedDocument(0, first);
    AddViewedDocument(1, second);
    CVantrelDoc& silent = m_host.AddDocument(0);

    m_main.PrepareRun();
    m_main.StartThreads();
    EXPECT_TRUE(m_main.IsAnyDocumentBusy());
    // Two producers, as the TCP server and the file player would be.
    std::thread other([&] {
        for (int i = 0; i < 300; ++i)
            m_main.PushLine(QStringLiteral("B,%1").arg(i));
    });
    for (int i = 0; i < 300; ++i) {
        m_main.PushLine(QStringLiteral("A,%1").arg(i));
        if (i % 50 == 0)
            m_loop.Pump();
    }
    other.join();
    m_main.StopThreads();

    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    EXPECT_TRUE(m_main.m_lineQueue.empty());
    EXPECT_EQ(m_main.m_internalData.GetCount(), 600);
    for (const CRecordingNotifier* n : {&first, &second}) {
        ASSERT_EQ(n->m_seen.size(), 600u);
        int nextA = 0;
        int nextB = 0;
        for (size_t i = 0; i < n->m_seen.size(); ++i) {
            const CSeenUpdate& s = n->m_seen[i];
            EXPECT_EQ(s.row, int32_t(i));
            EXPECT_TRUE(s.onUiThread);
            ASSERT_EQ(s.fields.size(), 2);
            // Each producer's lines keep their order.
            int& next = s.fields[0] == QLatin1String("A") ? nextA : nextB;
            EXPECT_EQ(s.fields[1].toInt(), next++);
        }
        EXPECT_EQ(n->m_seen.back().hint, ApplyAndRepaint);
    }
    EXPECT_EQ(silent.m_currentRow, 599);
    ForEachDocument(&m_host, [](CVantrelDoc& doc) {
        EXPECT_EQ(doc.m_editMode, EditMode::None);
        EXPECT_TRUE(doc.m_feedQueue.empty());
    });
}

TEST_F(MainWorkerTest, KeptRowsReplayFirstThenLiveLines)
{
    CPacingScope pacing(FastPacing());
    CRecordingNotifier notifier(m_loop);
    AddViewedDocument(0, notifier);
    m_main.m_internalData.Add(FieldRow{QStringLiteral("old0")});
    m_main.m_internalData.Add(FieldRow{QStringLiteral("old1")});

    m_main.PrepareRun();
    m_main.StartThreads();
    // A stop before the replay ends would leave the line queued for the next run.
    WaitPumping([&] { return m_main.IsReplayDone(); });
    m_main.PushLine(QStringLiteral("new"));
    m_main.StopThreads();

    ASSERT_EQ(notifier.m_seen.size(), 3u);
    EXPECT_EQ(notifier.m_seen[0].fields, Fields({"old0"}));
    EXPECT_EQ(notifier.m_seen[0].row, 0);
    EXPECT_EQ(notifier.m_seen[1].row, 1);
    EXPECT_EQ(notifier.m_seen[2].fields, Fields({"new"}));
    EXPECT_EQ(notifier.m_seen[2].row, 2);
    EXPECT_EQ(notifier.m_seen[2].hint, ApplyAndRepaint);
}

TEST_F(MainWorkerTest, StopDuringReplayLeavesTheLineQueueUntouched)
{
    // Default pacing: 3 ms per replayed row keeps the worker replaying for seconds.
    CRecordingNotifier notifier(m_loop);
    AddViewedDocument(0, notifier);
    for (int i = 0; i < 1000; ++i)
        m_main.m_internalData.Add(FieldRow{QString::number(i)});
    m_main.PushLine(QStringLiteral("live1"));
    m_main.PushLine(QStringLiteral("live2"));

    m_main.PrepareRun();
    m_main.StartThreads();
    m_main.StopThreads();

    EXPECT_FALSE(m_main.IsReplayDone());
    ASSERT_EQ(m_main.m_lineQueue.size(), 2u);
    EXPECT_EQ(m_main.m_lineQueue.front(), QStringLiteral("live1"));
    EXPECT_EQ(m_main.m_internalData.GetCount(), 1000);
    EXPECT_LT(notifier.m_seen.size(), 1000u);
    for (const CSeenUpdate& s : notifier.m_seen)
        EXPECT_EQ(s.hint, Apply);
}

TEST_F(MainWorkerTest, RunWithoutDocumentsCountsAsBusyAndStillStores)
{
    CPacingScope pacing(FastPacing());
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    m_main.PrepareRun();
    m_main.StartThreads();
    EXPECT_TRUE(m_main.IsAnyDocumentBusy());
    m_main.PushLine(QStringLiteral("1,2"));
    m_main.StopThreads();
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    EXPECT_EQ(m_main.m_internalData.GetCount(), 1);
}

TEST_F(MainWorkerTest, DocumentOpenedDuringARunGetsItsRecordsAtStop)
{
    // Such a document has no worker; stopping applies what piled up and leaves it idle.
    CPacingScope pacing(FastPacing());
    m_main.PrepareRun();
    m_main.StartThreads();
    CRecordingNotifier notifier(m_loop);
    AddViewedDocument(1, notifier);
    m_main.PushLine(QStringLiteral("x"));
    m_main.StopThreads();
    ASSERT_EQ(notifier.m_seen.size(), 1u);
    EXPECT_EQ(m_host.m_docs[1][0]->m_editMode, EditMode::None);
}

TEST_F(MainWorkerTest, CaptureFailureIsRecordedOnceAndLinesStillFlow)
{
    CPacingScope pacing(FastPacing());
    CRecordingNotifier notifier(m_loop);
    AddViewedDocument(0, notifier);
    m_main.m_saveCsv = 1;
    m_main.m_keepInternal = 0; // no replay: every run handles its own lines only
    // Every write to /dev/full fails; enough text to overflow the file's buffer mid-run.
    ASSERT_TRUE(m_main.OpenCaptureFileAt(QStringLiteral("/dev/full"), false));
    const QString line = QString(1000, QLatin1Char('x'));
    std::vector<QString> lines(200, line);
    Run(lines);

    QString error;
    EXPECT_TRUE(m_main.CaptureFailed(&error));
    EXPECT_EQ(error, QStringLiteral("CSVファイル出力失敗!"));
    EXPECT_EQ(m_main.m_captureFailed.load(), 1);
    EXPECT_EQ(notifier.m_seen.size(), 200u);
    EXPECT_EQ(m_main.m_internalData.GetCount(), 200);
    EXPECT_TRUE(m_main.IsReplayDone());
    EXPECT_FALSE(m_main.m_captureFile.IsOpen());

    // The next run starts clean; capture without an open file fails at the first line.
    m_main.PrepareRun();
    EXPECT_FALSE(m_main.CaptureFailed());
    Run({QStringLiteral("y")});
    EXPECT_TRUE(m_main.CaptureFailed());
}

TEST_F(MainWorkerTest, CaptureWritesAcceptedLinesWithCrLf)
{
    CPacingScope pacing(FastPacing());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cap.csv"));
    m_main.m_saveCsv = 1;
    m_main.m_keepInternal = 0;
    m_main.m_excludePrefixes = {QStringLiteral("#")};
    ASSERT_TRUE(m_main.OpenCaptureFileAt(path, false));
    Run({QStringLiteral("a,\"b,c\""), QStringLiteral("#skip"), QStringLiteral("d")});
    EXPECT_FALSE(m_main.CaptureFailed());

    // Append mode keeps what is there.
    m_main.m_calcFDs.push_back(CCalcFD(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("0")));
    ASSERT_TRUE(m_main.OpenCaptureFileAt(path, true));
    Run({QStringLiteral("a,\"b,c\"")});

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("a,\"b,c\"\r\nd\r\na,\"b,c\",2\r\n"));
}

TEST_F(MainWorkerTest, CaptureReachesTheDiskAndFailsWhileTheRunGoesOn)
{
    // Paced as the application runs: the worker finds the queue empty between lines.
    CPacingScope pacing(CPacing::Default());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cap.csv"));
    m_main.m_saveCsv = 1;
    m_main.m_keepInternal = 0;
    const auto waitFor = [](auto done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return done();
    };

    // One short line is on the disk long before the run stops.
    ASSERT_TRUE(m_main.OpenCaptureFileAt(path, false));
    m_main.PrepareRun();
    m_main.StartThreads();
    m_main.PushLine(QStringLiteral("first"));
    EXPECT_TRUE(waitFor([&] { return QFile(path).size() == 7; }));
    EXPECT_TRUE(m_main.IsWorkerRunning());
    m_main.StopThreads();

    // A failing disk shows with the first short line, while the run still goes.
    ASSERT_TRUE(m_main.OpenCaptureFileAt(QStringLiteral("/dev/full"), false));
    m_main.PrepareRun();
    m_main.StartThreads();
    m_main.PushLine(QStringLiteral("x"));
    EXPECT_TRUE(waitFor([&] { return m_main.CaptureFailed(); }));
    EXPECT_TRUE(m_main.IsWorkerRunning());
    m_main.StopThreads();

    // While the queue never runs empty (a line per millisecond, two seconds queued) the
    // lines are flushed at the interval all the same.
    CPacing slow = CPacing::Unpaced();
    slow.afterLineUs = 1000;
    CPacingScope slowPacing(slow);
    ASSERT_TRUE(m_main.OpenCaptureFileAt(path, false));
    m_main.PrepareRun();
    for (int i = 0; i < 2000; ++i)
        m_main.PushLine(QStringLiteral("busy"));
    m_main.StartThreads();
    EXPECT_TRUE(waitFor([&] { return QFile(path).size() > 0; }));
    {
        std::lock_guard lock(m_main.m_queueLock);
        EXPECT_FALSE(m_main.m_lineQueue.empty());
    }
    m_main.StopThreads();
    EXPECT_EQ(QFile(path).size(), 2000 * 6);
}

TEST_F(MainWorkerTest, EventDrivenWorkerWakesForEachLineAndGivesTheSameRecords)
{
    CPacing pacing = CPacing::Unpaced();
    pacing.m_waitForWork = true;
    pacing.feedIdleUs = 100;
    CPacingScope scope(pacing);
    CRecordingNotifier notifier(m_loop);
    CVantrelDoc& doc = AddViewedDocument(0, notifier);
    m_main.m_internalData.Add(FieldRow{QStringLiteral("kept")});

    m_main.PrepareRun();
    m_main.StartThreads();
    const auto currentRow = [&] {
        std::lock_guard lock(doc.m_renderLock);
        return doc.m_currentRow;
    };
    // Each line alone reaches the document while the run goes on: the idle worker was woken.
    for (int i = 0; i < 3; ++i) {
        m_main.PushLine(QStringLiteral("L,%1").arg(i));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        WaitPumping([&] { return currentRow() == i + 1 || std::chrono::steady_clock::now() > until; });
        ASSERT_EQ(currentRow(), i + 1);
    }
    m_main.PushLine(QStringLiteral("last"));
    m_main.StopThreads();

    ASSERT_EQ(notifier.m_seen.size(), 5u);
    EXPECT_EQ(notifier.m_seen[0].fields, Fields({"kept"}));
    EXPECT_EQ(notifier.m_seen[0].hint, Apply);
    EXPECT_EQ(notifier.m_seen[2].fields, Fields({"L", "1"}));
    EXPECT_EQ(notifier.m_seen[4].fields, Fields({"last"}));
    EXPECT_EQ(notifier.m_seen[4].row, 4);
    EXPECT_EQ(notifier.m_seen[4].hint, ApplyAndRepaint);
}

TEST(MainPushLineBounded, DropsAndCountsOverTheLineOrTextLimit)
{
    CMain main;
    main.m_lineQueueLimit = 2;
    main.m_lineQueueTextLimit = 10;
    EXPECT_TRUE(main.PushLineBounded(QStringLiteral("abcd")));
    EXPECT_FALSE(main.PushLineBounded(QStringLiteral("1234567"))); // 4 + 7 > 10 code units
    EXPECT_TRUE(main.PushLineBounded(QStringLiteral("123456")));
    EXPECT_FALSE(main.PushLineBounded(QStringLiteral("x"))); // two lines queued
    EXPECT_EQ(main.DiscardedLines(), 2);
    EXPECT_EQ(main.m_lineQueue.size(), 2u);
    // The unbounded push (the file player's) never drops.
    main.PushLine(QStringLiteral("file line"));
    EXPECT_EQ(main.m_lineQueue.size(), 3u);

    // Lines the worker took make room again; a new run starts its count from zero.
    main.m_keepInternal = 0;
    main.PrepareRun();
    EXPECT_EQ(main.DiscardedLines(), 0);
    main.StartThreads();
    main.StopThreads();
    EXPECT_TRUE(main.PushLineBounded(QStringLiteral("1234567890")));
    EXPECT_EQ(main.m_internalData.GetCount(), 3);
}
