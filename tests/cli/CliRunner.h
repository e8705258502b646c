#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct CliRun
{
    int exitCode = -1; // -1 when the program did not start, crashed or hung
    QByteArray out;
    QByteArray err;
};

// Runs the built vantrel-cli with the given arguments and standard input.
inline CliRun RunCli(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QStringLiteral(VANTREL_CLI_PATH), args);
    CliRun r;
    if (!p.waitForStarted(30000))
        return r;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
