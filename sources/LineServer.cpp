#include "sources/LineServer.h"

#include "platform/Cp932.h"
#include "runtime/Main.h"

#include <QTcpServer>

#include <algorithm>
#include <cstring>

#include <unistd.h>

QString LineFromChunk(const char* data, qsizetype size)
{
    if (size <= 0)
        return QString();
    const void* zero = std::memchr(data, 0, size_t(size));
    const qsizetype n = zero ? static_cast<const char*>(zero) - data : size;
    return DecodeCp932(data, n);
}

QString ConnectionText(int32_t count, const QString& none)
{
    return count > 0 ? QStringLiteral("%1個接続中").arg(count) : none;
}

QString MessageLine(const QString& message, int64_t discarded)
{
    if (discarded <= 0)
        return message;
    return QStringLiteral("%1 [過負荷のため%2行を破棄]").arg(message).arg(discarded);
}

// The listening socket: hands every pending connection to the server.
class CLineListener : public QTcpServer
{
public:
    explicit CLineListener(CLineServer* owner)
        : m_pOwner(owner) {}

protected:
    void incomingConnection(qintptr descriptor) override { m_pOwner->OnAccept(descriptor); }

private:
    CLineServer* m_pOwner;
};

MyAsyncSocket::MyAsyncSocket(CLineServer* owner)
    : m_pOwner(owner)
{
    // One read returns at most the receive buffer, as one receive call would.
    setReadBufferSize(CLineServer::kReceiveBufferSize);
    // The owner is the context: disconnecting the owner silences this socket.
    connect(this, &QTcpSocket::readyRead, owner, [this] { m_pOwner->OnReceive(this); });
    connect(this, &QTcpSocket::disconnected, owner, [this] { m_pOwner->OnClose(this); });
    connect(this, &QTcpSocket::errorOccurred, owner,
            [this](QAbstractSocket::SocketError error) { m_pOwner->OnError(this, error); });
}

CLineServer::CLineServer(CMain& main, QObject* parent)
    : QObject(parent), m_main(main), m_listener(std::make_unique<CLineListener>(this)),
      m_buffer(int(kReceiveBufferSize), Qt::Uninitialized)
{
}

CLineServer::~CLineServer()
{
    Close();
}

bool CLineServer::Listen(const QHostAddress& address, quint16 port)
{
    m_listener->setListenBacklogSize(kListenBacklog);
    const bool up = m_listener->listen(address, port);
    m_progressText = up ? QStringLiteral("未入力") : QStringLiteral("通信エラー");
    m_messageText = up ? QStringLiteral("未接続") : QStringLiteral("閉じてください");
    Q_EMIT textsChanged();
    return up;
}

bool CLineServer::IsListening() const
{
    return m_listener->isListening();
}

void CLineServer::Close()
{
    for (int32_t slot = 0; slot < kSlotCount; ++slot)
        RemoveConnection(slot);
    m_listener->close();
}

int32_t CLineServer::ConnectionCount() const
{
    return int32_t(std::count_if(m_clients.begin(), m_clients.end(), [](const MyAsyncSocket* s) { return s != nullptr; }));
}

int32_t CLineServer::SlotOf(const MyAsyncSocket* socket) const
{
    const auto it = std::find(m_clients.begin(), m_clients.end(), socket);
    return it == m_clients.end() ? -1 : int32_t(it - m_clients.begin());
}

void CLineServer::RemoveConnection(int32_t slot)
{
    MyAsyncSocket* socket = m_clients[size_t(slot)];
    if (!socket)
        return;
    m_clients[size_t(slot)] = nullptr;
    // Nothing from this socket may reach the server any more; it may be inside one of its
    // own notifications, hence the late deletion.
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
}

void CLineServer::SetMessage(const QString& text)
{
    m_messageText = text;
    Q_EMIT textsChanged();
}

void CLineServer::OnAccept(qintptr descriptor)
{
    int32_t slot = SlotOf(nullptr);
    if (slot < 0) {
        // A sixth client takes the place of the one in the last slot.
        slot = kSlotCount - 1;
        RemoveConnection(slot);
    }
    auto* socket = new MyAsyncSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(int(descriptor));
        delete socket;
        const int32_t c = ConnectionCount();
        SetMessage(c > 0 ? QStringLiteral("接続エラー!<%1個接続中>").arg(c) : QStringLiteral("接続エラー!!"));
        return;
    }
    m_clients[size_t(slot)] = socket;
    SetMessage(ConnectionText(ConnectionCount(), QString()));
}

void CLineServer::OnReceive(MyAsyncSocket* socket)
{
    const int32_t slot = SlotOf(socket);
    if (slot < 0)
        return;
    const qint64 available = socket->bytesAvailable();
    // A read of nothing (the peer closing) is no line.
    if (available <= 0)
        return;
    const qint64 n = socket->read(m_buffer.data(), std::min(available, kReceiveBufferSize));
    if (n < 0) {
        OnError(socket, QAbstractSocket::UnknownSocketError);
        return;
    }
    if (n >= kReceiveBufferSize) {
        RemoveConnection(slot);
        const int32_t c = ConnectionCount();
        SetMessage(c > 0 ? QStringLiteral("サイズオーバー!!<%1個接続中>").arg(c) : QStringLiteral("受信データサイズオーバー!"));
        return;
    }
    if (n == 0)
        return;

    const quint16 peerPort = socket->peerPort();
    if (m_main.PushLineBounded(LineFromChunk(m_buffer.constData(), n))) {
        ++m_lineCount;
        m_progressText = QStringLiteral("%1行入力済").arg(m_lineCount);
    }
    Q_EMIT textsChanged();
    Q_EMIT lineReceived(peerPort);
}

void CLineServer::OnClose(MyAsyncSocket* socket)
{
    const int32_t slot = SlotOf(socket);
    if (slot < 0)
        return;
    RemoveConnection(slot);
    SetMessage(ConnectionText(ConnectionCount(), QStringLiteral("未接続")));
}

void CLineServer::OnError(MyAsyncSocket* socket, QAbstractSocket::SocketError error)
{
    // The peer closing is reported once more as the disconnection.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    const int32_t slot = SlotOf(socket);
    if (slot < 0)
        return;
    RemoveConnection(slot);
    const int32_t c = ConnectionCount();
    SetMessage(c > 0 ? QStringLiteral("受信エラー!<%1個接続中>").arg(c) : QStringLiteral("受信エラー!!"));
}
