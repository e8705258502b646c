#include "pipeline/Capture.h"

#include "pipeline/SplitLine.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

} // namespace

TEST(Capture, LineUnchangedWithoutComputedFDsElseJoinedWithoutQuoting)
{
    const QString line = QStringLiteral(R"(a,"b,c")");
    FieldRow fields;
    SplitLine(line, fields);
    EXPECT_EQ(CaptureLine(line, fields, false), line);
    fields.append(u"7");
    EXPECT_EQ(CaptureLine(line, fields, true), QStringLiteral("a,b,c,7"));
}

TEST(Capture, ExportWritesFullRingOldestFirstInShiftJisWithCrLf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.csv"));

    CBuffer<FieldRow> data;
    data.SetRing(true, 3);
    data.Add(FieldRow{QStringLiteral("lost")});
    data.Add(FieldRow{QStringLiteral("日本"), QStringLiteral("1")});
    data.Add(FieldRow());
    data.Add(FieldRow{QStringLiteral("x,y"), QString(), QStringLiteral("z")});

    QString error;
    ASSERT_TRUE(ExportInternalCsv(data, path, error)) << error.toStdString();
    EXPECT_EQ(ReadAll(path), Bytes({0x93, 0xFA, 0x96, 0x7B, ',', '1', 0x0D, 0x0A, // 日本,1
                                 0x0D, 0x0A,                                       // empty row
                                 'x', ',', 'y', ',', ',', 'z', 0x0D, 0x0A}));
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
