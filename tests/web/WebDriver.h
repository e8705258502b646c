#pragma once

// A W3C WebDriver client for Debian's chromedriver driving headless Chromium: enough to open
// a page, run a script, take a screenshot and read the browser's console.

#include "tests/support/HttpTestClient.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QTcpServer>

class CWebDriver
{
public:
    static constexpr char kDriver[] = "/usr/bin/chromedriver";
    static constexpr char kBrowser[] = "/usr/bin/chromium";

    static bool IsInstalled() { return QFile::exists(QLatin1String(kDriver)) && QFile::exists(QLatin1String(kBrowser)); }

    ~CWebDriver()
    {
        if (!m_session.isEmpty())
            Call("DELETE", QString());
        m_driver.kill();
        m_driver.waitForFinished(10000);
    }

    // Starts the driver and a browser session with a window of this size.
    bool Start(QSize window)
    {
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost))
                return false;
            m_port = probe.serverPort();
        }
        m_driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_driver.setStandardOutputFile(QProcess::nullDevice());
        m_driver.start(QLatin1String(kDriver), {QStringLiteral("--port=%1").arg(m_port)});
        if (!m_driver.waitForStarted(30000))
            return false;
        if (!PumpUntil([this] { return HttpGet(Endpoint(QStringLiteral("/status"))).Json().value(QStringLiteral("value")).toObject().value(QStringLiteral("ready")).toBool(); }, 30000))
            return false;
        const QJsonArray args = {
            QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
            QStringLiteral("--disable-dev-shm-usage"), QStringLiteral("--no-first-run"),
            QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height())};
        const QJsonObject capabilities{
            {QStringLiteral("browserName"), QStringLiteral("chrome")},
            {QStringLiteral("goog:chromeOptions"), QJsonObject{{QStringLiteral("binary"), QLatin1String(kBrowser)},
                                                              {QStringLiteral("args"), args}}},
            {QStringLiteral("goog:loggingPrefs"), QJsonObject{{QStringLiteral("browser"), QStringLiteral("ALL")}}}};
        const QJsonObject body{{QStringLiteral("capabilities"), QJsonObject{{QStringLiteral("alwaysMatch"), capabilities}}}};
        const CHttpReply reply = HttpCall("POST", Endpoint(QStringLiteral("/session")), QJsonDocument(body).toJson(), {}, 60000);
        m_session = reply.Json().value(QStringLiteral("value")).toObject().value(QStringLiteral("sessionId")).toString();
        if (m_session.isEmpty())
            m_lastError = reply.m_body;
        return !m_session.isEmpty();
    }

    bool Navigate(const QUrl& url)
    {
        return Call("POST", QStringLiteral("/url"), {{QStringLiteral("url"), url.toString()}}).m_status == 200;
    }
    QJsonValue Execute(const QString& script)
    {
        const CHttpReply reply = Call("POST", QStringLiteral("/execute/sync"),
                                      {{QStringLiteral("script"), script}, {QStringLiteral("args"), QJsonArray()}});
        return reply.Json().value(QStringLiteral("value"));
    }
    QImage Screenshot()
    {
        const QString base64 = Call("GET", QStringLiteral("/screenshot")).Json().value(QStringLiteral("value")).toString();
        return QImage::fromData(QByteArray::fromBase64(base64.toLatin1()), "PNG").convertToFormat(QImage::Format_RGB32);
    }
    // The console's entries since the last call: {level, message} objects.
    QJsonArray ConsoleEntries()
    {
        return Call("POST", QStringLiteral("/se/log"), {{QStringLiteral("type"), QStringLiteral("browser")}})
            .Json()
            .value(QStringLiteral("value"))
            .toArray();
    }
    QByteArray LastError() const { return m_lastError; }

private:
    QUrl Endpoint(const QString& path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }
    CHttpReply Call(const QByteArray& verb, const QString& path, const QJsonObject& body = {})
    {
        const QByteArray bytes = verb == "GET" || verb == "DELETE" ? QByteArray() : QJsonDocument(body).toJson();
        return HttpCall(verb, Endpoint(QStringLiteral("/session/") + m_session + path), bytes, {}, 60000);
    }

    QProcess m_driver;
    quint16 m_port = 0;
    QString m_session;
    QByteArray m_lastError;
};
