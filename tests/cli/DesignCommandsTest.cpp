#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CliDumpPack, HandWrittenDesignPacksAndDumpsBack)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("d.json"));
    WriteAll(json, R"({"type": "document", "m_backgroundPath": "bg.jpg", "m_pictureHeight": 600,
                       "plots": [{"m_id": 1, "m_comment": "温度"}], "connections": [{"m_plotIds": [1, 2]}]})");
    const QString doc = dir.filePath(QStringLiteral("d.t1"));
    const CliRun pack = RunCli({QStringLiteral("pack"), json, doc});
    ASSERT_EQ(pack.exitCode, 0) << pack.err.toStdString();

    const CliRun dump = RunCli({QStringLiteral("dump"), doc});
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.out.contains("\"m_backgroundPath\": \"bg.jpg\",\n  \"m_pictureHeight\": 600,"));
    EXPECT_TRUE(dump.out.contains("\"m_comment\": \"温度\""));
    EXPECT_TRUE(dump.out.contains("\"m_plotIds\": [1, 2]"));

    // The dump packs to the very same bytes, under either document extension.
    WriteAll(json, dump.out);
    const QString again = dir.filePath(QStringLiteral("again.T2"));
    ASSERT_EQ(RunCli({QStringLiteral("pack"), json, again}).exitCode, 0);
    EXPECT_EQ(ReadAll(again), ReadAll(doc));
}

TEST(CliDumpPack, DamagedFileGivesOneLineWithFileReasonAndOffset)
{
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.vnf"));
    WriteAll(cut, Bytes({1, 0, 0, 0, 0}));
    const CliRun r = RunCli({QStringLiteral("dump"), cut});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, "vantrel-cli dump: " + cut.toUtf8() + ": count 1 does not fit in the 1 bytes left at byte offset 0\n");

    const CliRun wrongType = RunCli({QStringLiteral("dump"), dir.filePath(QStringLiteral("x.txt"))});
    EXPECT_EQ(wrongType.exitCode, 2);
}

TEST(CliDumpPack, PackRefusesBadJsonAndWritesNothing)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("bad.json"));
    WriteAll(json, R"({"bars": [{"m_anchor": true}]})");
    const QString out = dir.filePath(QStringLiteral("out.vnf"));
    const CliRun r = RunCli({QStringLiteral("pack"), json, out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("$.bars[0].m_anchor: expected an integer"));
    EXPECT_FALSE(QFile::exists(out));
}
