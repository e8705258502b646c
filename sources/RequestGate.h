#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

#include <cstdint>

class QTcpSocket;

// The listener under the HTTP server. It sees every connection's bytes before the server does
// and refuses, with a status of its own, what the server would take unchecked: a request
// longer than the limit, which the server would buffer whole, and connections beyond a limit.
class CGatedTcpServer : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxRequestBytes = 64 * 1024;
    static constexpr int32_t kMaxConnections = 256;
    // How long a refused client may go on sending before the connection is dropped.
    static constexpr int kRefusedLingerMs = 2000;

    explicit CGatedTcpServer(QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Gate
    {
        qint64 m_seen = 0;
    };
    void OnReadyRead(QTcpSocket* socket);
    // Writes a complete response with this status and a plain-text reason, then drops the
    // connection once the client has stopped sending or after the linger time.
    void Refuse(QTcpSocket* socket, int status);

    QHash<QTcpSocket*, Gate> m_gates;
};

// "404 Not Found" and the like.
QByteArray HttpStatusText(int status);
