#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

#include <cstdint>
#include <functional>
#include <optional>

class QTcpSocket;

// The head of an HTTP request, as far as the gate needs it.
struct CRequestHead
{
    QByteArray m_method;
    QByteArray m_path;
    QByteArray m_query;
    QByteArray m_cookie;
    QByteArray m_authorization;
    bool m_upgrade = false; // "Upgrade: websocket"
};
// A complete head, up to and including the empty line; nothing when it is not one.
std::optional<CRequestHead> ParseRequestHead(const QByteArray& head);

// The listener under the HTTP server. It sees every connection's bytes before the server does
// and refuses, with a status of its own, what the server would take unchecked: a request
// longer than the limit (which the server would buffer whole) and a WebSocket upgrade that
// the check turns down (the server hands upgrades on without asking).
class CGatedTcpServer : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxRequestBytes = 64 * 1024;
    static constexpr int32_t kMaxConnections = 256;
    // How long a refused client may go on sending before the connection is dropped.
    static constexpr int kRefusedLingerMs = 2000;

    // An HTTP status to refuse the upgrade with, or 0 to let it through.
    using UpgradeCheck = std::function<int(const CRequestHead&)>;

    explicit CGatedTcpServer(UpgradeCheck check, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Gate
    {
        qint64 m_seen = 0;
        QByteArray m_head;
        bool m_headDone = false;
    };
    void OnReadyRead(QTcpSocket* socket);
    // Writes a complete response with this status and a plain-text reason, then drops the
    // connection once the client has stopped sending or after the linger time.
    void Refuse(QTcpSocket* socket, int status);

    UpgradeCheck m_check;
    QHash<QTcpSocket*, Gate> m_gates;
};

// "404 Not Found" and the like.
QByteArray HttpStatusText(int status);
