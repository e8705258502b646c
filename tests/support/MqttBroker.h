#pragma once

// A private MQTT broker for tests: the mosquitto program on 127.0.0.1 at a free port, with a
// configuration written here (never the system's service), persistent sessions kept in a
// temporary folder across a restart; and a plain publisher over the client library.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <mosquitto.h>

#include <atomic>
#include <mutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

inline QString MosquittoProgram()
{
    for (const char* path : {"/usr/sbin/mosquitto", "/usr/bin/mosquitto"}) {
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    }
    return QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
}

namespace mqtt_test {

inline quint16 FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    quint16 port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

inline bool Accepts(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0)
        ::close(fd);
    return up;
}

inline void InitLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

} // namespace mqtt_test

class CMqttBroker
{
public:
    CMqttBroker() = default;
    CMqttBroker(const CMqttBroker&) = delete;
    CMqttBroker& operator=(const CMqttBroker&) = delete;
    ~CMqttBroker() { Stop(); }

    static bool Available() { return !MosquittoProgram().isEmpty(); }

    // With a user and password, anonymous clients are refused.
    bool Start(const QString& user = QString(), const QString& password = QString())
    {
        if (!m_dir.isValid())
            return false;
        m_port = mqtt_test::FreePort();
        QByteArray config = "listener " + QByteArray::number(m_port) + " 127.0.0.1\n"
                            "persistence true\n"
                            "persistence_location " + QFile::encodeName(m_dir.path()) + "/\n"
                            "max_queued_messages 0\n"
                            "log_dest none\n"
                            // Acknowledgements at once: otherwise a publisher's window of QoS 1
                            // messages waits for its peer's delayed ACK, tens of ms a time.
                            "set_tcp_nodelay true\n"
                            // Run as root, the broker would switch to its own user, which cannot
                            // reach this private folder.
                            "user " + CurrentUser() + "\n";
        if (user.isEmpty()) {
            config += "allow_anonymous true\n";
        } else {
            const QString passwords = m_dir.filePath(QStringLiteral("passwords"));
            QFile file(passwords);
            if (!file.open(QIODevice::WriteOnly) || file.write((user + u':' + password + u'\n').toUtf8()) < 0)
                return false;
            file.close();
            // The broker takes hashed passwords only; its own tool hashes the file in place.
            if (QProcess::execute(QStringLiteral("mosquitto_passwd"), {QStringLiteral("-U"), passwords}) != 0)
                return false;
            config += "allow_anonymous false\npassword_file " + QFile::encodeName(passwords) + "\n";
        }
        QFile file(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
            return false;
        file.close();
        return Run();
    }

    // Ends the broker as a service stop would: it writes its sessions first.
    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // The same broker again on the same port, with the sessions it saved.
    bool Restart()
    {
        Stop();
        return Run();
    }

    quint16 Port() const { return m_port; }

private:
    static QByteArray CurrentUser()
    {
        const passwd* entry = ::getpwuid(::geteuid());
        return entry ? QByteArray(entry->pw_name) : QByteArray("root");
    }

    bool Run()
    {
        m_process.setProgram(MosquittoProgram());
        m_process.setArguments({QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
        // Its only words are the warning about running as root.
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 5000) {
            if (mqtt_test::Accepts(m_port))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(10);
        }
        return false;
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};

// A publisher as the programs that feed the input are: connects, publishes, and can wait
// until the broker has acknowledged every QoS 1 message.
class CMqttPublisher
{
public:
    CMqttPublisher() { mqtt_test::InitLibrary(); }
    CMqttPublisher(const CMqttPublisher&) = delete;
    CMqttPublisher& operator=(const CMqttPublisher&) = delete;
    ~CMqttPublisher()
    {
        if (m_mosq) {
            mosquitto_disconnect(m_mosq);
            mosquitto_loop_stop(m_mosq, false);
            mosquitto_destroy(m_mosq);
        }
    }

    bool Connect(quint16 port)
    {
        m_mosq = mosquitto_new(nullptr, true, this);
        if (!m_mosq)
            return false;
        // No limit of its own on messages in flight: as fast as the broker takes them.
        mosquitto_int_option(m_mosq, MOSQ_OPT_SEND_MAXIMUM, 65535);
        mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
        mosquitto_publish_callback_set(m_mosq, [](mosquitto*, void* self, int) {
            static_cast<CMqttPublisher*>(self)->m_acked.fetch_add(1);
        });
        return mosquitto_connect(m_mosq, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS
            && mosquitto_loop_start(m_mosq) == MOSQ_ERR_SUCCESS;
    }

    bool Publish(const QByteArray& topic, const QByteArray& payload, int qos = 1)
    {
        // The library keeps unacknowledged messages in a list it walks on every
        // acknowledgement; hundreds of thousands outstanding would make the publisher, not the
        // broker or the input, the slow part.
        while (qos > 0 && m_sent - m_acked.load() >= kMaxUnacknowledged)
            QThread::usleep(50);
        const int rc = mosquitto_publish(m_mosq, nullptr, topic.constData(), int(payload.size()), payload.constData(), qos, false);
        if (rc == MOSQ_ERR_SUCCESS)
            ++m_sent;
        return rc == MOSQ_ERR_SUCCESS;
    }

    // Every message published so far acknowledged (QoS 0 ones count when written).
    bool WaitAcked(int timeoutMs = 20000)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (m_acked.load() < m_sent) {
            if (elapsed.elapsed() > timeoutMs)
                return false;
            QThread::msleep(1);
        }
        return true;
    }

private:
    static constexpr int64_t kMaxUnacknowledged = 1000;

    mosquitto* m_mosq = nullptr;
    int64_t m_sent = 0;
    std::atomic<int64_t> m_acked{0};
};
