#include "sources/RequestGate.h"

#include <QTcpSocket>
#include <QTimer>

QByteArray HttpStatusText(int status)
{
    switch (status) {
    case 200: return "200 OK";
    case 400: return "400 Bad Request";
    case 401: return "401 Unauthorized";
    case 403: return "403 Forbidden";
    case 404: return "404 Not Found";
    case 405: return "405 Method Not Allowed";
    case 413: return "413 Content Too Large";
    case 503: return "503 Service Unavailable";
    default: return QByteArray::number(status);
    }
}

CGatedTcpServer::CGatedTcpServer(QObject* parent)
    : QTcpServer(parent)
{
}

void CGatedTcpServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    // Connected before the HTTP server's own handler, so the gate reads every chunk first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { m_gates.remove(socket); });
    m_gates.insert(socket, Gate());
    if (m_gates.size() <= kMaxConnections) {
        addPendingConnection(socket);
        return;
    }
    // The server never sees this one, so it is ours to delete.
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    Refuse(socket, 503);
}

void CGatedTcpServer::OnReadyRead(QTcpSocket* socket)
{
    const auto found = m_gates.find(socket);
    if (found == m_gates.end())
        return;
    Gate& gate = *found;
    // The server keeps a transaction open while a request is incomplete; none open means the
    // coming bytes start a new request.
    if (!socket->isTransactionStarted())
        gate.m_seen = 0;
    gate.m_seen += socket->bytesAvailable();
    if (gate.m_seen > kMaxRequestBytes)
        Refuse(socket, 413);
}

void CGatedTcpServer::Refuse(QTcpSocket* socket, int status)
{
    // Nothing more of this client reaches the server: its reading handler goes, its open
    // transaction is closed and every byte from now on is dropped. Its clean-up on
    // disconnection stays.
    disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    const auto drop = [socket] {
        if (socket->isTransactionStarted())
            socket->commitTransaction();
        socket->readAll();
    };
    connect(socket, &QTcpSocket::readyRead, socket, drop);
    drop();

    const QByteArray body = HttpStatusText(status) + '\n';
    QByteArray response = "HTTP/1.1 " + HttpStatusText(status) + "\r\n";
    response += "Content-Type: text/plain; charset=utf-8\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (status == 401)
        response += "WWW-Authenticate: Bearer\r\n";
    response += "Connection: close\r\n\r\n" + body;
    socket->write(response);
    socket->flush();
    // Closing while the client still sends would reset the connection before it read the
    // answer; it closes itself once it has, or goes after the linger time.
    QTimer::singleShot(kRefusedLingerMs, socket, [socket] { socket->abort(); });
}
