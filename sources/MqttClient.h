#pragma once

#include "sources/MqttSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

class CMain;
struct mosquitto;
struct mosquitto_message;

// One message is one line: the payload up to its first zero byte, decoded from code page 932
// (invalid bytes give U+FFFD) or from UTF-8. With topicFirst the topic goes in front as the
// first FD, quoted when it holds a comma or a quote.
QString LineFromMessage(const QByteArray& topic, const char* payload, qsizetype size, bool topicFirst, bool utf8);

// The MQTT client: connects to one broker, subscribes to one topic filter and hands every
// message to the pipeline as one line. The library runs its own network thread; messages
// are pushed from that thread, and every connect, loss and reconnect is reported through
// MessageText and stateChanged. The session is persistent (no clean start), so QoS 1
// messages published while the connection was lost arrive after the reconnect, which the
// library makes by itself with a growing delay. Wrong credentials end the attempts.
class CMqttClient : public QObject
{
    Q_OBJECT

public:
    explicit CMqttClient(CMain& main, QObject* parent = nullptr);
    ~CMqttClient() override;

    // Lines go through PushLineBounded (dropped and counted under overload, as live input
    // is) unless set otherwise before Start; scripts that must see every message use false.
    void SetBoundedQueue(bool bounded) { m_bounded = bounded; }
    // Messages after the first count are ignored; limitReached is emitted once, when the
    // count is reached. 0 means no limit.
    void SetMessageLimit(int64_t count) { m_limit = count; }

    // Starts connecting. False, with the reason in MessageText, when the settings cannot be
    // used or the library refuses them at once; a broker that is not there yet is no
    // failure (the client keeps trying).
    bool Start(const CMqttSettings& settings);
    // Disconnects and ends the network thread; no line is pushed after it returns.
    void Stop();

    bool IsConnected() const { return m_connected.load(std::memory_order_acquire); }
    // The broker refused us for good (wrong credentials, an id or protocol it will not take):
    // the client no longer tries.
    bool HasGivenUp() const { return m_givenUp.load(std::memory_order_acquire); }
    // Messages received, whatever became of them.
    int64_t MessageCount() const { return m_messageCount.load(std::memory_order_relaxed); }
    // Lines handed to the pipeline (not the ones it dropped).
    int64_t LineCount() const { return m_lineCount.load(std::memory_order_relaxed); }
    // Connections made so far, the first one included.
    int32_t ConnectCount() const { return m_connects.load(std::memory_order_relaxed); }
    // The latest connection event, as the window shows it.
    QString MessageText() const;
    const CMqttSettings& Settings() const { return m_settings; }

Q_SIGNALS:
    // Emitted on the library's thread: connect with a queued or auto connection.
    void stateChanged();
    void limitReached();

private:
    static void OnConnect(mosquitto* mosq, void* self, int rc);
    static void OnDisconnect(mosquitto* mosq, void* self, int rc);
    static void OnMessage(mosquitto* mosq, void* self, const mosquitto_message* message);
    void SetMessage(const QString& text);

    CMain& m_main;
    CMqttSettings m_settings;
    mosquitto* m_mosq = nullptr;
    bool m_bounded = true;
    int64_t m_limit = 0;
    bool m_running = false;
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_givenUp{false};
    std::atomic<int64_t> m_lineCount{0};
    std::atomic<int64_t> m_messageCount{0};
    std::atomic<int32_t> m_connects{0};
    mutable std::mutex m_textMutex;
    QString m_messageText;
};
