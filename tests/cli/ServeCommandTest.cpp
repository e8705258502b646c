#include "tests/cli/CliRunner.h"
#include "tests/support/HttpTestClient.h"
#include "tests/support/ServeProcess.h"
#include "tests/support/TestSupport.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kDemo = QStringLiteral(VANTREL_DEMO_DIR);

QStringList Serve(const QStringList& args)
{
    return QStringList{QStringLiteral("serve"), kDemo + QStringLiteral("/demo.t2")} + args;
}

TEST(ServeCommand, TheServedPictureIsTheHeadlessRenderOfTheSameRows)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rows.csv"));
    const QList<QByteArray> lines = ReadAll(kDemo + QStringLiteral("/demo.csv")).split('\n');
    ASSERT_GT(lines.size(), 200);
    WriteAll(csv, lines.mid(0, 200).join('\n') + '\n');
    const QString rendered = dir.filePath(QStringLiteral("render.png"));
    ASSERT_EQ(RunCli({QStringLiteral("render"), kDemo + QStringLiteral("/demo.t2"), QStringLiteral("--csv"), csv,
                      QStringLiteral("--size"), QStringLiteral("640x360"), QStringLiteral("--out"), rendered})
                  .exitCode,
              0);
    const QImage expected = QImage(rendered).convertToFormat(QImage::Format_RGB32);

    CServeProcess serve;
    ASSERT_TRUE(serve.Start(QStringLiteral(VANTREL_CLI_PATH),
                            Serve({QStringLiteral("--csv"), csv, QStringLiteral("--rate"), QStringLiteral("0"),
                                   QStringLiteral("--size"), QStringLiteral("640x360"), QStringLiteral("--http"),
                                   QStringLiteral("127.0.0.1:0")}),
                            ChildEnvironment()));
    EXPECT_TRUE(serve.Output().contains("at http://127.0.0.1:"));
    ASSERT_TRUE(PumpUntil(
        [&] {
            const QJsonObject status = HttpGet(serve.Url(QStringLiteral("/status"))).Json();
            return status.value(QStringLiteral("linesReceived")).toInt() == 200
                && status.value(QStringLiteral("rowsStored")).toInt() == 200;
        },
        20000));
    // The document's worker may still be drawing the last rows.
    QImage served;
    PumpUntil(
        [&] {
            served = QImage::fromData(HttpGet(serve.Url(QStringLiteral("/frame.png"))).m_body, "PNG")
                         .convertToFormat(QImage::Format_RGB32);
            return served == expected;
        },
        20000);
    EXPECT_EQ(served, expected);
    EXPECT_EQ(serve.Stop(), 0) << serve.Errors().toStdString();
}

TEST(ServeCommand, AnAddressBeyondTheLoopbackGetsAMadeUpToken)
{
    CServeProcess serve;
    ASSERT_TRUE(serve.Start(QStringLiteral(VANTREL_CLI_PATH), Serve({QStringLiteral("--http"), QStringLiteral("0.0.0.0:0")}),
                            ChildEnvironment()));
    const QString token = serve.Token();
    EXPECT_EQ(token.size(), 32);
    EXPECT_TRUE(serve.Output().contains("Token (made up for this run): " + token.toUtf8()));
    EXPECT_EQ(HttpGet(serve.Url(QStringLiteral("/status"))).m_status, 401);
    EXPECT_EQ(HttpGet(serve.Url(QStringLiteral("/status"), true)).m_status, 200);
    EXPECT_EQ(HttpGet(serve.Url(QStringLiteral("/frame.png")), {{"Authorization", "Bearer " + token.toUtf8()}}).m_status, 200);
    EXPECT_EQ(serve.Stop(), 0);
}

TEST(ServeCommand, WrongArgumentsAreRefused)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("--http"), QStringLiteral("somehost:80")},
        {QStringLiteral("--http"), QStringLiteral("70000")},
        {QStringLiteral("--http"), QStringLiteral("0"), QStringLiteral("--token"), QStringLiteral("short")},
        {QStringLiteral("--http"), QStringLiteral("0"), QStringLiteral("--rate"), QStringLiteral("5")},
        {QStringLiteral("--http"), QStringLiteral("0"), QStringLiteral("--fps"), QStringLiteral("0")},
        {QStringLiteral("--http"), QStringLiteral("0"), QStringLiteral("--view"), QStringLiteral("wide")},
        {QStringLiteral("--http"), QStringLiteral("0"), QStringLiteral("--mqtt"), QStringLiteral("http://x/t")},
    };
    for (const QStringList& args : cases) {
        const CliRun run = RunCli(Serve(args));
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("vantrel-cli serve")) << run.err.toStdString();
    }
    EXPECT_EQ(RunCli({QStringLiteral("serve"), QStringLiteral("--http"), QStringLiteral("0")}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("serve"), QStringLiteral("/no/such.t2"), QStringLiteral("--http"), QStringLiteral("0")}).exitCode, 1);
}

} // namespace
