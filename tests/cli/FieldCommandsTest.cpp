#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CliRun Split(const QByteArray& input)
{
    return RunCli({QStringLiteral("split")}, input);
}

CliRun Calc(const QStringList& args)
{
    return RunCli(QStringList{QStringLiteral("calc")} + args);
}

} // namespace

TEST(CliSplit, OneJsonArrayPerLine)
{
    const CliRun r = Split("1,\"2,3\",\"4\"\"5\"\nx,,y\n\n\"abc\n1,\"2,3\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("[\"1\",\"2,3\",\"4\\\"5\"]\n"
                                "[\"x\",\"\",\"y\"]\n"
                                "[\"\"]\n"
                                "[]\n"
                                "[\"1\"]\n"));
}

TEST(CliSplit, OnlyLfEndsALine)
{
    // The CR stays in the line (here it leaves the quoted field open); no final LF is
    // needed, and a final LF starts no empty line.
    EXPECT_EQ(Split("a,b\r\n\"q\"\r\nlast").out, QByteArray("[\"a\",\"b\\r\"]\n[]\n[\"last\"]\n"));
    EXPECT_EQ(Split("").out, QByteArray());
    EXPECT_EQ(Split("\n").out, QByteArray("[\"\"]\n"));
}

TEST(CliSplit, TextIsUtf8AndEscapedAsJson)
{
    EXPECT_EQ(Split("温度, \t\x01\\/\n").out, QByteArray("[\"温度\",\" \\t\\u0001\\\\/\"]\n"));
}

TEST(CliSplit, ArgumentsAreAUsageError)
{
    const CliRun r = RunCli({QStringLiteral("split"), QStringLiteral("x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("usage: vantrel-cli split")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliCalc, EvaluatesOnTheGivenFields)
{
    EXPECT_EQ(Calc({QStringLiteral("1"), QStringLiteral("FD(0) + FD(1)"), QStringLiteral("0"), QStringLiteral("3"),
                    QStringLiteral("4.5")}).out,
              QByteArray("{\"ok\":true,\"text\":\"7.5\"}\n"));
    EXPECT_EQ(Calc({QStringLiteral("FD(0) >= 10 && FD(1) != 0"), QStringLiteral("1"), QStringLiteral("FD(0) * 1e20"),
                    QStringLiteral("12"), QStringLiteral("0")}).out,
              QByteArray("{\"ok\":true,\"text\":\"1.2e+21\"}\n"));
    const CliRun failed = Calc({QStringLiteral("1"), QStringLiteral("FD(2)"), QStringLiteral("0"), QStringLiteral("3"),
                             QStringLiteral("4.5")});
    EXPECT_EQ(failed.exitCode, 0);
    EXPECT_EQ(failed.out, QByteArray("{\"ok\":false,\"text\":\"0\"}\n"));
}

TEST(CliCalc, ConversionListFromFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes({'2', ',', 0x89, 0xB7, 0x93, 0x78, '\r', '\n'}));
    f.close();
    const CliRun r = Calc({QStringLiteral("--fdmap"), path, QStringLiteral("1"), QStringLiteral("FD(0) * 10"),
                        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("{\"ok\":true,\"text\":\"30\"}\n"));

    const CliRun missing = Calc({QStringLiteral("--fdmap"), dir.filePath(QStringLiteral("none.csv")),
                              QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("入力CSVファイルをオープンできませんでした.")) << missing.err.toStdString();
}

TEST(CliCalc, CheckReportsEachText)
{
    const CliRun r = Calc({QStringLiteral("--check"), QStringLiteral("1 < = 2"), QStringLiteral("FD(9) * 2"),
                        QStringLiteral("1 / (FD(3) - 1)")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("{\"cond\":false,\"then\":true,\"else\":false}\n"));
}

TEST(CliCalc, WrongArgumentsPrintUsage)
{
    const QList<QStringList> wrong = {
        {},
        {QStringLiteral("1"), QStringLiteral("1")},
        {QStringLiteral("--check"), QStringLiteral("1"), QStringLiteral("1")},
        {QStringLiteral("--fdmap"), QStringLiteral("x.csv"), QStringLiteral("1"), QStringLiteral("1")},
    };
    for (const QStringList& args : wrong) {
        const CliRun r = Calc(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage: vantrel-cli calc")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
