#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <unistd.h>

struct CliRun
{
    int exitCode = -1; // -1 when the program did not start, crashed or hung
    QByteArray out;
    QByteArray err;
};

// The programs' environment as a desktop session has it: with a private runtime folder, so
// that Qt's platform start-up does not warn on standard error where the tests read it.
inline QProcessEnvironment ChildEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
        const QString dir = QDir::tempPath() + QStringLiteral("/vantrel-test-runtime-") + QString::number(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    }
    return env;
}

// Runs the built vantrel-cli with the given arguments and standard input.
inline CliRun RunCli(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.setProcessEnvironment(ChildEnvironment());
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
