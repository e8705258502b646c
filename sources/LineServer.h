#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <array>
#include <cstdint>
#include <memory>

class CLineListener;
class CLineServer;
class CMain;

constexpr quint16 kLineServerPort = 57077;

// One received chunk is one line: its bytes up to the first zero byte, decoded from code
// page 932. A chunk that ends inside a two-byte character gives U+FFFD for that byte;
// nothing carries over to the next chunk.
QString LineFromChunk(const char* data, qsizetype size);
inline QString LineFromChunk(const QByteArray& chunk) { return LineFromChunk(chunk.constData(), chunk.size()); }

// "%d個接続中" for count > 0, else the text the caller chooses for no connection.
QString ConnectionText(int32_t count, const QString& none);
// The message line as the window shows it: the latest connection event, and the lines
// dropped under overload once there are any.
QString MessageLine(const QString& message, int64_t discarded);

// An accepted connection; it forwards its notifications to the server that owns it.
class MyAsyncSocket : public QTcpSocket
{
public:
    explicit MyAsyncSocket(CLineServer* owner);

    CLineServer* m_pOwner;
};

// The TCP line server: listens on one port, keeps up to five clients and hands every chunk
// one read returns to the pipeline as one line. Runs on the thread it lives on (the UI
// thread); nothing is sent back.
class CLineServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int32_t kSlotCount = 5;
    static constexpr int32_t kListenBacklog = 5;
    // One read takes at most this much; a read that fills it means the sender's line is too
    // long, and that client is closed.
    static constexpr qint64 kReceiveBufferSize = 65536;

    explicit CLineServer(CMain& main, QObject* parent = nullptr);
    ~CLineServer() override;

    // Sets the opening texts: "未入力" and "未接続" when listening, else "通信エラー" and
    // "閉じてください". The desktop listens on any IPv4 address; tests use the loopback.
    bool Listen(const QHostAddress& address = QHostAddress(QHostAddress::AnyIPv4), quint16 port = kLineServerPort);
    bool IsListening() const;
    // Closes every connection and the listener; no notification arrives afterwards.
    void Close();

    int32_t ConnectionCount() const;
    // Lines pushed to the pipeline since the server was made (lines dropped under overload
    // are counted by the pipeline).
    int64_t LineCount() const { return m_lineCount; }
    const QString& ProgressText() const { return m_progressText; }
    const QString& MessageText() const { return m_messageText; }
    // The connection in a slot, or null.
    MyAsyncSocket* Client(int32_t slot) const { return m_clients[size_t(slot)]; }

    // Forwarded by the sockets.
    void OnAccept(qintptr descriptor);
    void OnReceive(MyAsyncSocket* socket);
    void OnClose(MyAsyncSocket* socket);
    void OnError(MyAsyncSocket* socket, QAbstractSocket::SocketError error);

Q_SIGNALS:
    void textsChanged();
    // After every chunk read from a client and handed on (pushed or dropped); peerPort names
    // the client.
    void lineReceived(quint16 peerPort);

private:
    int32_t SlotOf(const MyAsyncSocket* socket) const;
    void RemoveConnection(int32_t slot);
    void SetMessage(const QString& text);

    CMain& m_main;
    std::unique_ptr<CLineListener> m_listener;
    std::array<MyAsyncSocket*, kSlotCount> m_clients{};
    QByteArray m_buffer;
    int64_t m_lineCount = 0;
    QString m_progressText;
    QString m_messageText;
};
