#include "RunSupport.h"
#include "tests/support/DiskFaults.h"
#include "tests/support/TestSupport.h"

#include "runtime/Main.h"
#include "runtime/StateFile.h"
#include "platform/Archive.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/resource.h>

namespace {

QByteArray Int32(int32_t v)
{
    return Bytes({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF});
}

class StateFileTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    CFakeHost m_host;
    CMain m_main;

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_main.m_pApp = &m_host;
        m_host.m_window = CViewInfo(1, 2, 300, 400);
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A pipeline with something in every field of the state file.
    void Fill(CMain& main)
    {
        main.m_internalData.SetRing(true, 3);
        for (const char* row : {"a,1", "b,2", "c,3", "d,4"})
            main.m_internalData.Add(FieldRow(QString::fromLatin1(row).split(QLatin1Char(','))));
        main.m_saveCsv = 1;
        main.m_appendCsv = 0;
        main.m_saveInternal = 1;
        main.m_keepInternal = 0;
        main.m_includePrefixes = {QStringLiteral("測定"), QString()};
        main.m_excludePrefixes = {QStringLiteral("#")};
        main.m_calcFDs.push_back(CCalcFD(QStringLiteral("FD(0) > 1"), QStringLiteral("1"), QStringLiteral("2")));
        main.m_fdInfos.m_entries.push_back(CFDInfo(3, {QStringLiteral("温度")}));
    }

    void ExpectUnchanged(const CMain& main, const CMain& reference)
    {
        EXPECT_EQ(main.m_internalData.m_data, reference.m_internalData.m_data);
        EXPECT_EQ(main.m_internalData.m_next, reference.m_internalData.m_next);
        EXPECT_EQ(main.m_saveCsv, reference.m_saveCsv);
        EXPECT_EQ(main.m_keepInternal, reference.m_keepInternal);
        EXPECT_EQ(main.m_includePrefixes, reference.m_includePrefixes);
        EXPECT_EQ(main.m_calcFDs, reference.m_calcFDs);
        EXPECT_EQ(main.m_fdInfos, reference.m_fdInfos);
    }
};

} // namespace

TEST_F(StateFileTest, NoDocumentWritesTheStateFileAlone)
{
    const QString path = Path(QStringLiteral("s.vnx"));
    ASSERT_TRUE(SaveState(m_main, path));

    QByteArray expected = Bytes({0xFF, 0xFE, 0xFF, 7});
    for (char c : QByteArray("Vantrel"))
        expected += Bytes({c, 0});
    expected += Int32(0);                                      // version
    expected += Int32(0) + Int32(0) + Bytes({100, 0, 0, 0, 0, 0, 0, 0}) + QByteArray(8, '\0'); // store
    expected += Int32(0) + Int32(1) + Int32(1) + Int32(1);     // the four options
    expected += Int32(0) + Int32(0) + Int32(0) + Int32(0);     // prefixes, computed FDs, conversion list
    expected += Int32(1) + Int32(2) + Int32(300) + Int32(400); // main window
    expected += Int32(2) + Int32(0) + Int32(0);                // templates and their document counts
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("s.vnx")});
}

TEST_F(StateFileTest, SaveRestoreSaveGivesTheSameBytes)
{
    Fill(m_main);
    const QString path = Path(QStringLiteral("s.vnx"));
    ASSERT_TRUE(SaveState(m_main, path));

    CFakeHost otherHost;
    otherHost.m_window = CViewInfo();
    CMain other;
    other.m_pApp = &otherHost;
    ASSERT_TRUE(RestoreState(other, path));
    ExpectUnchanged(other, m_main);
    EXPECT_EQ(other.m_excludePrefixes, m_main.m_excludePrefixes);
    EXPECT_EQ(otherHost.m_window, CViewInfo(1, 2, 300, 400));
    EXPECT_EQ(other.m_templateCount, 2);

    const QString again = Path(QStringLiteral("again.vnx"));
    ASSERT_TRUE(SaveState(other, again));
    EXPECT_EQ(ReadAll(again), ReadAll(path));
}

TEST_F(StateFileTest, DocumentsAreSavedBesideAndReopenedInOrder)
{
    m_host.AddDocument(0).m_pictureWidth = 11;
    m_host.AddDocument(0).m_pictureWidth = 12;
    CVantrelDoc& stretch = m_host.AddDocument(1);
    stretch.m_pictureWidth = 21;
    stretch.m_filePath = QStringLiteral("/somewhere/own.t2");
    stretch.m_modified = 1;

    const QString path = Path(QStringLiteral("s.vnx"));
    ASSERT_TRUE(SaveState(m_main, path));
    QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"DOC1.t1", "DOC1.t2", "DOC2.t1", "s.vnx"}));
    EXPECT_EQ(stretch.m_filePath, QStringLiteral("/somewhere/own.t2"));
    EXPECT_EQ(stretch.m_modified, 1);

    ASSERT_TRUE(RestoreState(m_main, path));
    EXPECT_EQ(m_host.m_closeAllCalls, 1);
    EXPECT_EQ(m_host.m_opened, (std::vector<QString>{Path("DOC1.t1"), Path("DOC2.t1"), Path("DOC1.t2")}));
    ASSERT_EQ(m_host.m_docs[0].size(), 2u);
    EXPECT_EQ(m_host.m_docs[0][1]->m_pictureWidth, 12);
    ASSERT_EQ(m_host.m_docs[1].size(), 1u);
    EXPECT_EQ(m_host.m_docs[1][0]->m_pictureWidth, 21);

    // A second state in the same folder replaces the first one's documents.
    m_host.CloseAllDocuments();
    m_host.AddDocument(0).m_pictureWidth = 99;
    ASSERT_TRUE(SaveState(m_main, path));
    CVantrelDoc reread;
    ASSERT_TRUE(reread.OpenDocumentFile(Path("DOC1.t1")));
    EXPECT_EQ(reread.m_pictureWidth, 99);
}

TEST_F(StateFileTest, MissingDocumentFilesAreReportedWithoutEndlessTrying)
{
    const QString path = Path(QStringLiteral("s.vnx"));
    m_host.AddDocument(0);
    m_host.AddDocument(0);
    m_host.AddDocument(0);
    ASSERT_TRUE(SaveState(m_main, path));
    ASSERT_TRUE(QFile::remove(Path("DOC2.t1")));

    // A count far beyond the files present, as a damaged file may hold.
    QByteArray bytes = ReadAll(path);
    bytes.replace(bytes.size() - 8, 4, Int32(2000000000));
    WriteAll(path, bytes);
    ASSERT_TRUE(RestoreState(m_main, path));
    EXPECT_EQ(m_host.m_opened,
              (std::vector<QString>{Path("DOC1.t1"), Path("DOC2.t1"), Path("DOC3.t1"), Path("DOC4.t1")}));
    EXPECT_EQ(m_host.m_docs[0].size(), 2u);
}

TEST_F(StateFileTest, EmptyWindowRectangleLeavesTheWindowAlone)
{
    m_host.m_window = CViewInfo(5, 5, 5, 100);
    const QString path = Path(QStringLiteral("s.vnx"));
    ASSERT_TRUE(SaveState(m_main, path));
    ASSERT_TRUE(RestoreState(m_main, path));
    EXPECT_EQ(m_host.m_moves, 0);
}

TEST_F(StateFileTest, DamagedOrForeignFileChangesNothing)
{
    CFakeHost savedHost;
    CMain saved;
    saved.m_pApp = &savedHost;
    savedHost.AddDocument(0);
    const QString good = Path(QStringLiteral("good.vnx"));
    ASSERT_TRUE(SaveState(saved, good));
    const QByteArray bytes = ReadAll(good);

    Fill(m_main);
    CMain reference;
    Fill(reference);
    m_host.AddDocument(1);

    const QString path = Path(QStringLiteral("bad.vnx"));
    const auto expectRejected = [&](const QByteArray& content, const char* what) {
        WriteAll(path, content);
        EXPECT_FALSE(RestoreState(m_main, path)) << what;
        ExpectUnchanged(m_main, reference);
        EXPECT_EQ(m_host.m_closeAllCalls, 0) << what;
        EXPECT_EQ(m_host.m_docs[1].size(), 1u) << what;
        EXPECT_EQ(m_host.m_moves, 0) << what;
    };

    for (qsizetype cut = 0; cut < bytes.size(); ++cut)
        expectRejected(bytes.left(cut), "cut");

    QByteArray foreign = bytes;
    foreign[4] = 'W'; // "Wantrel"
    expectRejected(foreign, "magic");
    QByteArray newer = bytes;
    newer.replace(18, 4, Int32(10001));
    expectRejected(newer, "version 10001");
    QByteArray negative = bytes;
    negative.replace(negative.size() - 8, 4, Int32(-1));
    expectRejected(negative, "negative document count");

    EXPECT_FALSE(RestoreState(m_main, Path(QStringLiteral("missing.vnx"))));
    ExpectUnchanged(m_main, reference);

    // Version 10000 is still read.
    QByteArray highest = bytes;
    highest.replace(18, 4, Int32(10000));
    WriteAll(path, highest);
    EXPECT_TRUE(RestoreState(m_main, path));
    EXPECT_EQ(m_main.m_version, 0);
}

TEST_F(StateFileTest, FailedDocumentFileDoesNotFailTheSave)
{
    const QString path = Path(QStringLiteral("s.vnx"));
    // A folder where the document file should go cannot be written as a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("DOC1.t1")));
    m_host.AddDocument(0);
    EXPECT_TRUE(SaveState(m_main, path));
    EXPECT_TRUE(QFile::exists(path));

    EXPECT_FALSE(SaveState(m_main, Path(QStringLiteral("no/such/folder/s.vnx"))));
}

TEST_F(StateFileTest, SaveOnAFaultyDiskKeepsThePreviousStateAndWritesNoDocument)
{
    CMain previousMain;
    Fill(previousMain);
    CArchive previous;
    previousMain.Serialize(previous);

    m_host.AddDocument(0);
    for (int i = 0; i < 2000; ++i)
        m_main.m_internalData.Add(FieldRow{QString::number(i)});
    ForEachDiskFault(QStringLiteral("s.vnx"), previous.Bytes(), [&](CDiskFaultScope& scope) {
        QString error;
        EXPECT_FALSE(SaveState(m_main, scope.Target(), &error));
        EXPECT_FALSE(error.isEmpty());
        scope.Lift();
        EXPECT_EQ(ReadAll(scope.Target()), scope.Previous());
        EXPECT_FALSE(QFile::exists(StateDocumentPath(StateFolder(scope.Target()), 1, 1)));
    });
}

TEST_F(StateFileTest, SaveKilledHalfWayLeavesThePreviousStateReadable)
{
    const QString path = Path(QStringLiteral("Vantrel.dat"));
    Fill(m_main);
    ASSERT_TRUE(SaveState(m_main, path));
    const QByteArray previous = ReadAll(path);

    // The process dies in the middle of writing the new state: the file size limit sends
    // SIGXFSZ once the first kilobyte is written.
    m_main.m_internalData = CBuffer<FieldRow>();
    for (int i = 0; i < 2000; ++i)
        m_main.m_internalData.Add(FieldRow{QString::number(i)});
    const auto saveUntilKilled = [&] {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        rlimit small{};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 1024;
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        SaveState(m_main, path);
        std::_Exit(0);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(saveUntilKilled(), ::testing::KilledBySignal(SIGXFSZ), "");

    EXPECT_EQ(ReadAll(path), previous);
    CMain restored;
    ASSERT_TRUE(RestoreState(restored, path));
    CMain reference;
    Fill(reference);
    ExpectUnchanged(restored, reference);
}

namespace {

// Every report of a long operation, and a stop at the n-th one (0: never).
struct CProgressLog
{
    std::vector<std::pair<int64_t, int64_t>> calls;
    size_t stopAt = 0;

    ProgressCallback Callback()
    {
        return [this](int64_t done, int64_t total) {
            calls.emplace_back(done, total);
            return stopAt == 0 || calls.size() < stopAt;
        };
    }

    void ExpectGrowingTo(int64_t total) const
    {
        ASSERT_GT(calls.size(), 2u);
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].second, total);
            if (i > 0)
                EXPECT_GE(calls[i].first, calls[i - 1].first);
        }
        EXPECT_LT(calls.front().first, total);
        EXPECT_EQ(calls.back().first, total);
    }
};

} // namespace

TEST_F(StateFileTest, SaveAndRestoreReportRowsAndAStopChangesNoFileAndNoState)
{
    const QString path = Path(QStringLiteral("s.vnx"));
    m_host.AddDocument(0);
    Fill(m_main);
    ASSERT_TRUE(SaveState(m_main, path));
    const QByteArray previousState = ReadAll(path);
    const QByteArray previousDoc = ReadAll(StateDocumentPath(StateFolder(path), 1, 1));
    const QStringList previousEntries = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);

    m_main.m_internalData.StoreRingSettings(false, 100);
    const int64_t rows = 5000;
    m_main.m_internalData.RemoveAll();
    for (int64_t i = 0; i < rows; ++i)
        m_main.m_internalData.Add(FieldRow{QString::number(i), QStringLiteral("値")});
    const std::vector<FieldRow> store = m_main.m_internalData.m_data;

    CProgressLog full;
    const QString other = Path(QStringLiteral("other.vnx"));
    ASSERT_TRUE(SaveState(m_main, other, nullptr, full.Callback()));
    full.ExpectGrowingTo(rows);
    QFile::remove(other);

    // A stop in the rows, at their last report and while the bytes are written.
    for (size_t stopAt : {size_t(1), size_t(2), full.calls.size() - 1, full.calls.size()}) {
        SCOPED_TRACE(stopAt);
        CProgressLog log;
        log.stopAt = stopAt;
        QString error = QStringLiteral("x");
        EXPECT_FALSE(SaveState(m_main, path, &error, log.Callback()));
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(log.calls.size(), stopAt);
        EXPECT_EQ(ReadAll(path), previousState);
        EXPECT_EQ(ReadAll(StateFolder(path) + QStringLiteral("DOC1.t1")), previousDoc);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), previousEntries);
        EXPECT_EQ(m_main.m_internalData.m_data, store);
    }

    // Restoring: a stop while reading leaves the pipeline as it was.
    ASSERT_TRUE(SaveState(m_main, other));
    CMain restored;
    restored.m_pApp = &m_host;
    Fill(restored);
    CMain reference;
    Fill(reference);
    CProgressLog readLog;
    readLog.stopAt = 2;
    EXPECT_FALSE(RestoreState(restored, other, readLog.Callback()));
    ExpectUnchanged(restored, reference);

    CProgressLog restoreLog;
    ASSERT_TRUE(RestoreState(restored, other, restoreLog.Callback()));
    restoreLog.ExpectGrowingTo(rows);
    EXPECT_EQ(restored.m_internalData.m_data, store);
}
