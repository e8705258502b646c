#pragma once

// A plain blocking TCP client on the loopback, as the programs that feed the line server
// are, and a wait that serves the calling thread's events meanwhile (the server runs there).

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class CTcpClient
{
public:
    CTcpClient() = default;
    CTcpClient(const CTcpClient&) = delete;
    CTcpClient& operator=(const CTcpClient&) = delete;
    ~CTcpClient() { Close(); }

    bool Connect(quint16 port)
    {
        Close();
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_fd < 0)
            return false;
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    }

    // The whole buffer in as few send calls as the kernel allows (one for what fits its
    // buffers).
    bool Send(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }

    // What arrives within the time, up to 64 KiB; empty on timeout or close.
    QByteArray ReceiveSome(int timeoutMs)
    {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return {};
        QByteArray bytes(65536, Qt::Uninitialized);
        const ssize_t n = ::recv(m_fd, bytes.data(), size_t(bytes.size()), 0);
        bytes.resize(n > 0 ? n : 0);
        return bytes;
    }

    // Whether the server has closed this connection (without waiting).
    bool IsClosedByPeer() const
    {
        char c;
        const ssize_t n = ::recv(m_fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
        return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    }

    quint16 LocalPort() const
    {
        sockaddr_in addr{};
        socklen_t len = sizeof addr;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        return ntohs(addr.sin_port);
    }

    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// Serves this thread's events until done() holds; false after timeoutMs.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    // Wakes the event loop now and then, so that done() is checked without socket activity.
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
