#pragma once

// Blocking HTTP and WebSocket helpers for tests whose server runs on the calling thread:
// every wait serves that thread's events.

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QWebSocket>

#include "tests/support/TcpClient.h"

#include <functional>
#include <utility>
#include <vector>

struct CHttpReply
{
    int m_status = 0; // 0: no answer
    QByteArray m_body;
    QList<QNetworkReply::RawHeaderPair> m_headers;

    QByteArray Header(const QByteArray& name) const
    {
        for (const auto& [key, value] : m_headers) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }
    QJsonObject Json() const { return QJsonDocument::fromJson(m_body).object(); }
};

inline CHttpReply HttpCall(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                           const std::vector<std::pair<QByteArray, QByteArray>>& headers = {}, int timeoutMs = 30000)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = manager.sendCustomRequest(request, verb, body);
    PumpUntil([reply] { return reply->isFinished(); }, timeoutMs);
    CHttpReply out;
    out.m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.m_body = reply->readAll();
    out.m_headers = reply->rawHeaderPairs();
    reply->abort();
    delete reply;
    return out;
}

inline CHttpReply HttpGet(const QUrl& url, const std::vector<std::pair<QByteArray, QByteArray>>& headers = {})
{
    return HttpCall("GET", url, {}, headers);
}

// A viewer of the live view: counts the pictures it gets and confirms each one only when
// told to.
class CTestViewer
{
public:
    explicit CTestViewer(bool confirmAtOnce)
        : m_confirmAtOnce(confirmAtOnce)
    {
        QObject::connect(&m_socket, &QWebSocket::binaryMessageReceived, [this](const QByteArray& frame) {
            m_frames.push_back(frame);
            if (m_confirmAtOnce)
                Confirm();
        });
    }
    bool Open(const QUrl& url, const QByteArray& cookie = {})
    {
        QNetworkRequest request(url);
        if (!cookie.isEmpty())
            request.setRawHeader("Cookie", cookie);
        bool settled = false;
        const QMetaObject::Connection connected = QObject::connect(&m_socket, &QWebSocket::connected, [&] { settled = true; });
        const QMetaObject::Connection failed = QObject::connect(&m_socket, &QWebSocket::disconnected, [&] { settled = true; });
        m_socket.open(request);
        PumpUntil([&] { return settled; });
        QObject::disconnect(connected);
        QObject::disconnect(failed);
        return m_socket.state() == QAbstractSocket::ConnectedState;
    }
    void Confirm() { m_socket.sendTextMessage(QStringLiteral("next")); }
    const std::vector<QByteArray>& Frames() const { return m_frames; }
    QWebSocket& Socket() { return m_socket; }

private:
    QWebSocket m_socket;
    bool m_confirmAtOnce;
    std::vector<QByteArray> m_frames;
};
