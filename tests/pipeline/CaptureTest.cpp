#include "pipeline/Capture.h"

#include "pipeline/CsvFields.h"
#include "pipeline/SplitLine.h"
#include "tests/support/DiskFaults.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

} // namespace

TEST(Capture, LineUnchangedWithoutComputedFDsElseJoinedAndQuotedWhereNeeded)
{
    const QString line = QStringLiteral(R"(a,"b,c")");
    FieldRow fields;
    SplitLine(line, fields);
    EXPECT_EQ(CaptureLine(line, fields, false), line);
    fields.append(u"7");
    EXPECT_EQ(CaptureLine(line, fields, true), QStringLiteral(R"(a,"b,c",7)"));
}

TEST(Capture, JoinedFieldsSplitBackIntoTheSameFields)
{
    const struct {
        QStringList fields;
        QString joined;
    } cases[] = {
        {{"1.5", "", "abc def", "日本", " x "}, "1.5,,abc def,日本, x "}, // written as before
        {{"b,c"}, R"("b,c")"},
        {{"a\"b", "\"", "x\""}, R"("a""b","""","x""")"},
        {{"\"open", "q\",x"}, R"("""open","q"",x")"},
        {{"line\nbreak", "cr\r"}, "\"line\nbreak\",\"cr\r\""},
        {{""}, ""},
    };
    for (const auto& c : cases) {
        const FieldRow row(c.fields);
        const QString joined = JoinCsvFields(row);
        EXPECT_EQ(joined, c.joined);
        FieldRow back;
        SplitLine(joined, back);
        // A quote right before a comma ends a quoted field: that content cannot come back.
        if (c.fields.last() != QStringLiteral("q\",x")) {
            EXPECT_EQ(back, row) << joined.toStdString();
        }
    }

    // A run of quotes collapses to one when split.
    FieldRow back;
    SplitLine(JoinCsvFields(FieldRow{QStringLiteral("a\"\"b")}), back);
    EXPECT_EQ(back, FieldRow{QStringLiteral("a\"b")});
}

TEST(Capture, ExportWritesFullRingOldestFirstInShiftJisWithCrLf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.csv"));

    CBuffer<FieldRow> data;
    data.SetRing(true, 4);
    data.Add(FieldRow{QStringLiteral("lost")});
    data.Add(FieldRow{QStringLiteral("日本"), QStringLiteral("1")});
    data.Add(FieldRow());
    data.Add(FieldRow{QStringLiteral("x,y"), QString(), QStringLiteral("z")});
    data.Add(FieldRow{QStringLiteral("q\"")});

    QString error;
    ASSERT_TRUE(ExportInternalCsv(data, path, error)) << error.toStdString();
    EXPECT_EQ(ReadAll(path), Bytes({0x93, 0xFA, 0x96, 0x7B, ',', '1', 0x0D, 0x0A, // 日本,1
                                 0x0D, 0x0A,                                       // empty row
                                 '"', 'x', ',', 'y', '"', ',', ',', 'z', 0x0D, 0x0A,
                                 '"', 'q', '"', '"', '"', 0x0D, 0x0A}));
}

TEST(Capture, ExportOfEmptyStoreTruncatesToEmptyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old content\r\n");
    }
    QString error;
    EXPECT_TRUE(ExportInternalCsv(CBuffer<FieldRow>(), path, error));
    EXPECT_EQ(ReadAll(path), QByteArray());
}

TEST(Capture, ExportReportsOpenAndWriteFailuresWithThePath)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no such folder/100%s.csv"));
    QString error;
    EXPECT_FALSE(ExportInternalCsv(CBuffer<FieldRow>(), missing, error));
    EXPECT_EQ(error, QStringLiteral("出力CSVファイルオープンエラー\n(") + missing + QStringLiteral(")"));

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    CBuffer<FieldRow> data;
    data.Add(FieldRow{QStringLiteral("1"), QStringLiteral("2")});
    error.clear();
    EXPECT_FALSE(ExportInternalCsv(data, QStringLiteral("/dev/full"), error));
    EXPECT_EQ(error, QStringLiteral("出力エラー\n(/dev/full)"));
}

TEST(Capture, ExportOnAFaultyDiskKeepsThePreviousFileAndNamesTheStep)
{
    // A write that fails is an output error; a folder that takes no new file an open error.
    CBuffer<FieldRow> data;
    for (int i = 0; i < 5000; ++i)
        data.Add(FieldRow{QString::number(i), QStringLiteral("値")});
    ForEachDiskFault(QStringLiteral("out.csv"), "previous export\r\n", [&](CDiskFaultScope& scope) {
        const QString prefix = scope.Fault() == DiskFault::FullDisk ? QStringLiteral("出力エラー\n(")
                                                                    : QStringLiteral("出力CSVファイルオープンエラー\n(");
        QString error;
        EXPECT_FALSE(ExportInternalCsv(data, scope.Target(), error));
        EXPECT_EQ(error, prefix + scope.Target() + QLatin1Char(')'));
        scope.Lift();
        EXPECT_EQ(ReadAll(scope.Target()), scope.Previous());
    });
}

TEST(Capture, ExportReportsRowsAndAStopKeepsThePreviousFileAndNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    const QByteArray previous = "previous export\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    CBuffer<FieldRow> data;
    const int64_t rows = 5000;
    for (int64_t i = 0; i < rows; ++i)
        data.Add(FieldRow{QString::number(i), QStringLiteral("値")});

    // The complete export last: it replaces the previous file.
    for (const int64_t stopAfter : {int64_t(2048), rows, int64_t(0)}) {
        SCOPED_TRACE(stopAfter);
        std::vector<std::pair<int64_t, int64_t>> calls;
        const auto progress = [&](int64_t done, int64_t total) {
            calls.emplace_back(done, total);
            return stopAfter == 0 || done < stopAfter;
        };
        QString error = QStringLiteral("x");
        const bool ok = ExportInternalCsv(data, path, error, progress);
        ASSERT_FALSE(calls.empty());
        for (size_t i = 1; i < calls.size(); ++i)
            EXPECT_GT(calls[i].first, calls[i - 1].first);
        EXPECT_EQ(calls.back().second, rows);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.csv")});
        if (stopAfter == 0) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(calls.front().first, 0);
            EXPECT_EQ(calls.back().first, rows);
            EXPECT_TRUE(ReadAll(path).startsWith("0,"));
            EXPECT_EQ(ReadAll(path).count('\n'), rows);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(calls.back().first, stopAfter);
            EXPECT_EQ(ReadAll(path), previous);
        }
    }
}
