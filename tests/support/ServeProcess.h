#pragma once

// vantrel-cli serve as a child process: started, asked for its address, stopped as a user
// would stop it (SIGTERM).

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <csignal>

class CServeProcess
{
public:
    ~CServeProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    // Starts the server and waits for the address it prints; false when it ends or stays
    // silent instead.
    bool Start(const QString& program, const QStringList& args, const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        m_process.start(program, args);
        if (!m_process.waitForStarted(30000))
            return false;
        static const QRegularExpression serving(QStringLiteral("^Serving .* at (http://\\S+)$"), QRegularExpression::MultilineOption);
        while (m_process.waitForReadyRead(30000)) {
            m_out += m_process.readAllStandardOutput();
            const QRegularExpressionMatch m = serving.match(QString::fromUtf8(m_out));
            if (m.hasMatch()) {
                m_url = QUrl(m.captured(1));
                return true;
            }
        }
        return false;
    }

    // The server's address with this path, on the loopback; the token only when asked for.
    QUrl Url(const QString& path, bool withToken = false) const
    {
        QUrl url = m_url;
        url.setHost(QStringLiteral("127.0.0.1"));
        url.setPath(path);
        if (!withToken)
            url.setQuery(QString());
        return url;
    }
    QString Token() const { return QUrlQuery(m_url).queryItemValue(QStringLiteral("token")); }
    QByteArray Output() { return m_out += m_process.readAllStandardOutput(); }

    // SIGTERM; the exit code, or -1 when it did not end cleanly.
    int Stop()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(30000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }
    QByteArray Errors() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    QByteArray m_out;
    QUrl m_url;
};
