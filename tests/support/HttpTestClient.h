#pragma once

// Blocking HTTP and WebSocket helpers for tests whose server runs on the calling thread:
// every wait serves that thread's events.

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QNetworkRequest>
#include <QUrl>
#include <QWebSocket>

#include "tests/support/TcpClient.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

struct CHttpReply
{
    int m_status = 0; // 0: no answer
    QByteArray m_body;
    std::vector<std::pair<QByteArray, QByteArray>> m_headers;

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

// One request on a connection of its own, read up to its Content-Length. A plain socket on
// this thread rather than a network access manager, whose own thread would put Qt's
// internals in the way of ThreadSanitizer.
inline CHttpReply HttpCall(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                           const std::vector<std::pair<QByteArray, QByteArray>>& headers = {}, int timeoutMs = 30000)
{
    QTcpSocket socket;
    socket.connectToHost(url.host(), quint16(url.port(80)));
    QByteArray request = verb + ' ' + url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (url.path().isEmpty())
        request.insert(verb.size() + 1, '/');
    request += " HTTP/1.1\r\nConnection: close\r\n";
    const bool hostGiven = std::any_of(headers.begin(), headers.end(), [](const auto& h) { return h.first.compare("Host", Qt::CaseInsensitive) == 0; });
    if (!hostGiven)
        request += "Host: " + url.authority().toUtf8() + "\r\n";
    for (const auto& [name, value] : headers)
        request += name + ": " + value + "\r\n";
    if (!body.isEmpty())
        request += "Content-Type: application/json\r\n";
    request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    socket.write(request);

    QByteArray received;
    CHttpReply reply;
    qsizetype headEnd = -1;
    qsizetype length = -1;
    const auto complete = [&] {
        received += socket.readAll();
        if (headEnd < 0 && (headEnd = received.indexOf("\r\n\r\n")) >= 0) {
            const QList<QByteArray> lines = received.left(headEnd).split('\n');
            reply.m_status = lines.front().split(' ').value(1).toInt();
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    reply.m_headers.emplace_back(lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed());
            }
            bool ok = false;
            length = reply.Header("Content-Length").toLongLong(&ok);
            if (!ok)
                length = -1;
        }
        const bool closed = socket.state() == QAbstractSocket::UnconnectedState;
        return (headEnd >= 0 && length >= 0 && received.size() - headEnd - 4 >= length) || closed;
    };
    PumpUntil(complete, timeoutMs);
    if (headEnd >= 0)
        reply.m_body = received.mid(headEnd + 4, length >= 0 ? length : -1);
    else
        reply.m_status = 0;
    return reply;
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
