#include "fields/FDInfo.h"

#include "platform/Archive.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CFDInfos Table(std::initializer_list<CFDInfo> entries)
{
    CFDInfos t;
    t.m_entries = entries;
    return t;
}

} // namespace

TEST(FDInfosMapFD, EmptyTableAndIdentityEntriesMapToThemselves)
{
    const CFDInfos empty;
    EXPECT_EQ(empty.MapFD(0), 0);
    EXPECT_EQ(empty.MapFD(7), 7);
    const CFDInfos t = Table({CFDInfo(0), CFDInfo(1)});
    EXPECT_EQ(t.MapFD(1), 1);
}

TEST(FDInfosMapFD, MapsInsideTableAndPassesThroughOutsideIt)
{
    const CFDInfos t = Table({CFDInfo(3), CFDInfo(3), CFDInfo(0)});
    EXPECT_EQ(t.MapFD(0), 3);
    EXPECT_EQ(t.MapFD(1), 3);
    EXPECT_EQ(t.MapFD(2), 0);
    EXPECT_EQ(t.MapFD(3), 3);
    EXPECT_EQ(t.MapFD(100), 100);
    EXPECT_EQ(t.MapFD(-1), -1);
    EXPECT_EQ(t.MapFD(INT32_MIN), INT32_MIN);
}

TEST(FDInfosSerialize, StoresTheExactByteLayout)
{
    CFDInfos t = Table({CFDInfo(2, {QStringLiteral("ab")}), CFDInfo(-1)});
    CArchive ar;
    t.Serialize(ar);
    const QByteArray expected = Bytes({2, 0, 0, 0,                                  // entry count
                                       2, 0, 0, 0, 1, 0, 0, 0,                      // target, 1 text
                                       0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b', 0,         // "ab"
                                       0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});       // -1, no texts
    EXPECT_EQ(ar.Bytes(), expected);

    CArchive in(ar.Bytes());
    CFDInfos loaded = Table({CFDInfo(9)});
    loaded.Serialize(in);
    EXPECT_EQ(loaded, t);
    EXPECT_EQ(in.Remaining(), 0);
}

TEST(FDInfosSerialize, TruncatedOrImpossibleInputThrowsAndKeepsTable)
{
    CFDInfos t = Table({CFDInfo(2, {QStringLiteral("説明")}), CFDInfo(5)});
    CArchive ar;
    t.Serialize(ar);
    const CFDInfos before = Table({CFDInfo(7, {QStringLiteral("old")})});
    for (qsizetype cut = 0; cut < ar.Bytes().size(); ++cut) {
        CFDInfos target = before;
        CArchive in(ar.Bytes().left(cut));
        EXPECT_THROW(target.Serialize(in), CArchiveError) << "cut at " << cut;
        EXPECT_EQ(target, before);
    }
    // A huge description count must be refused before anything is allocated.
    CArchive huge(Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    CFDInfos target = before;
    EXPECT_THROW(target.Serialize(huge), CArchiveError);
    EXPECT_EQ(target, before);
}

class FDInfosCsv : public ::testing::Test
{
protected:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(FDInfosCsv, WritesCodePage932WithCrLf)
{
    const CFDInfos t = Table({CFDInfo(0), CFDInfo(3, {QStringLiteral("温度"), QStringLiteral("外気")})});
    QString error = QStringLiteral("unchanged");
    ASSERT_TRUE(t.WriteCsv(Path("out.csv"), error));
    EXPECT_EQ(error, QStringLiteral("unchanged"));
    EXPECT_EQ(ReadAll(Path("out.csv")),
              Bytes({'0', '\r', '\n', '3', ',', 0x89, 0xB7, 0x93, 0x78, ',', 0x8A, 0x4F, 0x8B, 0x43, '\r', '\n'}));
}

TEST_F(FDInfosCsv, WriteToMissingFolderReportsOpenError)
{
    const QString path = Path("no/such/dir.csv");
    QString error;
    EXPECT_FALSE(Table({CFDInfo(0)}).WriteCsv(path, error));
    EXPECT_EQ(error, QStringLiteral("出力CSVファイルオープンエラー\n(%1)").arg(path));
}

TEST_F(FDInfosCsv, ReadsCodePage932WithCrLfBack)
{
    WriteAll(Path("in.csv"), Bytes({'0', '\r', '\n', '3', ',', 0x89, 0xB7, 0x93, 0x78, ',', 0x8A, 0x4F, 0x8B, 0x43,
                                    '\r', '\n', ' ', '5', 'a', 'b', 'c', ',', 'x'}));
    CFDInfos t;
    QString error = QStringLiteral("unchanged");
    ASSERT_TRUE(t.ReadCsv(Path("in.csv"), error));
    EXPECT_EQ(error, QStringLiteral("unchanged"));
    // strtol-like first field: leading space skipped, "abc" after the digits ignored.
    EXPECT_EQ(t, Table({CFDInfo(0), CFDInfo(3, {QStringLiteral("温度"), QStringLiteral("外気")}),
                        CFDInfo(5, {QStringLiteral("x")})}));
}

TEST_F(FDInfosCsv, DescriptionsWithCommaOrQuoteAreQuotedAndReadBack)
{
    const CFDInfos t = Table({CFDInfo(1, {QStringLiteral("a,b"), QStringLiteral("say \"hi\""),
                                          QStringLiteral("ソ")})});
    QString error;
    ASSERT_TRUE(t.WriteCsv(Path("rt.csv"), error));
    EXPECT_EQ(ReadAll(Path("rt.csv")), QByteArray("1,\"a,b\",\"say \"\"hi\"\"\",\x83\x5C\r\n"));
    CFDInfos back;
    ASSERT_TRUE(back.ReadCsv(Path("rt.csv"), error));
    EXPECT_EQ(back, t);

    // A run of quotes cannot come back: splitting collapses it to one.
    ASSERT_TRUE(Table({CFDInfo(1, {QStringLiteral("\"q\"\"x\"")})}).WriteCsv(Path("rt.csv"), error));
    ASSERT_TRUE(back.ReadCsv(Path("rt.csv"), error));
    EXPECT_EQ(back, Table({CFDInfo(1, {QStringLiteral("\"q\"x\"")})}));
}

TEST_F(FDInfosCsv, FailedImportsReportTheLineAndKeepTheOldTable)
{
    const CFDInfos old = Table({CFDInfo(4, {QStringLiteral("old")})});
    struct Case
    {
        QByteArray content;
        QString message;
    };
    const Case cases[] = {
        {"", QStringLiteral("ゼロ件でした．")},
        {"0\r\n1\r\n-1,x\r\n", QStringLiteral("3行目の先頭フィールドが負の整数でした．")},
        {"0\r\n\"abc\r\n", QStringLiteral("2行目がフィールドに分解できませんでした．")},
        {"x,1\r\n", QStringLiteral("1行目の先頭フィールドが整数に変換できませんでした．")},
        {"\r\n", QStringLiteral("1行目の先頭フィールドが整数に変換できませんでした．")},
        {"0\n2147483648\n", QStringLiteral("2行目の先頭フィールドが整数に変換できませんでした．")},
        {"99999999999999999999\n", QStringLiteral("1行目の先頭フィールドが整数に変換できませんでした．")},
        {"\x82\x54\n", QStringLiteral("1行目の先頭フィールドが整数に変換できませんでした．")}, // full-width 5
    };
    for (const Case& c : cases) {
        WriteAll(Path("bad.csv"), c.content);
        CFDInfos t = old;
        QString error;
        EXPECT_FALSE(t.ReadCsv(Path("bad.csv"), error)) << c.content.toStdString();
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(t, old);
    }
    CFDInfos t = old;
    QString error;
    EXPECT_FALSE(t.ReadCsv(Path("missing.csv"), error));
    EXPECT_EQ(error, QStringLiteral("入力CSVファイルをオープンできませんでした."));
    EXPECT_EQ(t, old);
}

TEST_F(FDInfosCsv, ImportAcceptsInt32LimitAndIdentityEntries)
{
    WriteAll(Path("ok.csv"), "0\n2147483647\n-0\n");
    CFDInfos t;
    QString error;
    ASSERT_TRUE(t.ReadCsv(Path("ok.csv"), error));
    EXPECT_EQ(t, Table({CFDInfo(0), CFDInfo(2147483647), CFDInfo(0)}));
    EXPECT_EQ(t.MapFD(0), 0);
}
