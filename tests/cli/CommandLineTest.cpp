#include "tests/cli/CliRunner.h"

#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

CliRun RunApp(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = ChildEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANTREL_APP_PATH), args);
    CliRun r;
    if (!p.waitForStarted(30000) || !p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

TEST(CliCommandLine, HelpVersionAndWrongOptionOnEveryCommand)
{
    for (const char* command : {"", "calc", "dump", "pack", "pipe", "render", "split"}) {
        const QStringList prefix = *command ? QStringList{QString::fromLatin1(command)} : QStringList{};
        const QByteArray usage = QByteArray("usage: vantrel-cli ") + (*command ? command : "COMMAND");
        SCOPED_TRACE(command);

        for (const char* help : {"--help", "-h"}) {
            const CliRun r = RunCli(prefix + QStringList{QString::fromLatin1(help)});
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_TRUE(r.out.startsWith(usage)) << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
        const CliRun version = RunCli(prefix + QStringList{QStringLiteral("--version")});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, QByteArray("vantrel-cli 1.0\n"));

        const CliRun wrong = RunCli(prefix + QStringList{QStringLiteral("--no-such-option")});
        EXPECT_EQ(wrong.exitCode, 2);
        EXPECT_TRUE(wrong.out.isEmpty());
        EXPECT_TRUE(wrong.err.contains("no-such-option")) << wrong.err.toStdString();
        EXPECT_TRUE(wrong.err.contains(usage)) << wrong.err.toStdString();
    }
    EXPECT_EQ(RunCli({QStringLiteral("nosuchcommand")}).exitCode, 2);
    EXPECT_EQ(RunCli({}).exitCode, 2);
    // A command's options are its own, not the program's.
    EXPECT_TRUE(RunCli({QStringLiteral("pipe"), QStringLiteral("--help")}).out.contains("--save-state"));

    const CliRun appHelp = RunApp({QStringLiteral("--help")});
    EXPECT_EQ(appHelp.exitCode, 0);
    EXPECT_TRUE(appHelp.out.contains("--csv")) << appHelp.out.toStdString();
    const CliRun appVersion = RunApp({QStringLiteral("--version")});
    EXPECT_EQ(appVersion.exitCode, 0);
    EXPECT_TRUE(appVersion.out.contains("1.0"));
    for (const QStringList& args : {QStringList{QStringLiteral("--no-such-option")}, QStringList{QStringLiteral("--csv")},
                                    QStringList{QStringLiteral("--lines"), QStringLiteral("0")},
                                    QStringList{QStringLiteral("--tcp"), QStringLiteral("--mqtt"), QStringLiteral("mqtt://h/t")},
                                    QStringList{QStringLiteral("--mqtt"), QStringLiteral("mqtt://u:pw@h/t")}}) {
        const CliRun r = RunApp(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliCommandLine, ValuesThatStartWithADashStayValues)
{
    // Negative field values after the condition.
    EXPECT_EQ(RunCli({QStringLiteral("calc"), QStringLiteral("1"), QStringLiteral("FD(0) + FD(1)"), QStringLiteral("0"),
                      QStringLiteral("-5"), QStringLiteral("-2.5")})
                  .out,
              QByteArray("{\"ok\":true,\"text\":\"-7.5\"}\n"));
    // --calc takes three values whatever they look like; an option's value may be "--calc".
    const CliRun pipe = RunCli({QStringLiteral("pipe"), QStringLiteral("--calc"), QStringLiteral("1"),
                                QStringLiteral("-1 * FD(1)"), QStringLiteral("0"), QStringLiteral("--include"),
                                QStringLiteral("--calc")},
                               "--calc,4\nx,4\n");
    EXPECT_EQ(pipe.exitCode, 0) << pipe.err.toStdString();
    EXPECT_TRUE(pipe.out.endsWith("{\"store\":[[\"--calc\",\"4\",\"-4\"]]}\n")) << pipe.out.toStdString();
    EXPECT_EQ(RunCli({QStringLiteral("pipe"), QStringLiteral("--calc=1"), QStringLiteral("1"), QStringLiteral("1")}).exitCode, 2);
}
