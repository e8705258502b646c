#include "sources/MqttClient.h"

#include "pipeline/CsvFields.h"
#include "platform/Cp932.h"
#include "runtime/Main.h"

#include <mosquitto.h>

#include <cstring>
#include <mutex>

namespace {

// The library's delay before a reconnect: 1 second, doubling up to 10.
constexpr unsigned kReconnectDelayS = 1;
constexpr unsigned kReconnectDelayMaxS = 10;
constexpr int kKeepAliveS = 30;

void InitLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString RefusalText(int rc)
{
    switch (rc) {
    case 1:
        return QStringLiteral("ブローカーがプロトコルを受け付けません");
    case 2:
        return QStringLiteral("ブローカーがクライアントIDを受け付けません");
    case 3:
        return QStringLiteral("ブローカーが使用できません");
    case 4:
        return QStringLiteral("ユーザー名またはパスワードが違います");
    case 5:
        return QStringLiteral("接続が許可されていません (ユーザー名とパスワードを確認してください)");
    default:
        return QStringLiteral("接続を拒否されました (%1)").arg(rc);
    }
}

// Refusals that another try cannot change.
bool RefusalIsFinal(int rc)
{
    return rc == 1 || rc == 2 || rc == 4 || rc == 5;
}

QString Where(const CMqttSettings& s)
{
    return s.m_host.contains(u':') ? QStringLiteral("[%1]:%2").arg(s.m_host).arg(s.m_port)
                                   : QStringLiteral("%1:%2").arg(s.m_host).arg(s.m_port);
}

} // namespace

QString LineFromMessage(const QByteArray& topic, const char* payload, qsizetype size, bool topicFirst, bool utf8)
{
    qsizetype n = 0;
    if (payload && size > 0) {
        const void* zero = std::memchr(payload, 0, size_t(size));
        n = zero ? static_cast<const char*>(zero) - payload : size;
    }
    const QString text = utf8 ? QString::fromUtf8(payload, n) : DecodeCp932(payload, n);
    if (!topicFirst)
        return text;
    QString line;
    line.reserve(topic.size() + 1 + text.size());
    AppendCsvField(line, QString::fromUtf8(topic));
    line.append(u',');
    line.append(text);
    return line;
}

CMqttClient::CMqttClient(CMain& main, QObject* parent)
    : QObject(parent), m_main(main)
{
    InitLibraryOnce();
}

CMqttClient::~CMqttClient()
{
    Stop();
}

QString CMqttClient::MessageText() const
{
    std::lock_guard lock(m_textMutex);
    return m_messageText;
}

void CMqttClient::SetMessage(const QString& text)
{
    {
        std::lock_guard lock(m_textMutex);
        m_messageText = text;
    }
    Q_EMIT stateChanged();
}

bool CMqttClient::Start(const CMqttSettings& settings)
{
    if (m_running)
        return true;
    if (const QString problem = CheckMqttSettings(settings); !problem.isEmpty()) {
        SetMessage(problem);
        return false;
    }
    m_settings = settings;
    m_givenUp.store(false, std::memory_order_release);
    const QByteArray id = settings.m_clientId.toUtf8();
    // No clean start: the broker keeps the subscription and QoS 1 messages while we are away.
    m_mosq = mosquitto_new(id.constData(), false, this);
    if (!m_mosq) {
        SetMessage(QStringLiteral("MQTTクライアントを作成できません"));
        return false;
    }
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // Each QoS 1 acknowledgement leaves at once: held back behind the broker's delayed ACK,
    // it would stall the broker's window of messages in flight for tens of milliseconds.
    mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_reconnect_delay_set(m_mosq, kReconnectDelayS, kReconnectDelayMaxS, true);
    mosquitto_connect_callback_set(m_mosq, &CMqttClient::OnConnect);
    mosquitto_disconnect_callback_set(m_mosq, &CMqttClient::OnDisconnect);
    mosquitto_message_callback_set(m_mosq, &CMqttClient::OnMessage);
    if (!settings.m_userName.isEmpty()) {
        const QByteArray user = settings.m_userName.toUtf8();
        const QByteArray password = settings.m_password.toUtf8();
        mosquitto_username_pw_set(m_mosq, user.constData(), settings.m_password.isEmpty() ? nullptr : password.constData());
    }

    SetMessage(QStringLiteral("%1 に接続しています...").arg(Where(settings)));
    const QByteArray host = settings.m_host.toUtf8();
    const int rc = mosquitto_connect_async(m_mosq, host.constData(), settings.m_port, kKeepAliveS);
    // A broker that is not up yet is retried by the network thread; a name that does not
    // resolve or bad arguments are not.
    if (rc == MOSQ_ERR_EAI || rc == MOSQ_ERR_INVAL) {
        SetMessage(rc == MOSQ_ERR_EAI ? QStringLiteral("ホスト %1 が見つかりません").arg(settings.m_host)
                                      : QStringLiteral("接続先が正しくありません"));
        mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
        return false;
    }
    if (rc != MOSQ_ERR_SUCCESS)
        SetMessage(QStringLiteral("%1 に接続できません. 再試行しています...").arg(Where(settings)));
    if (mosquitto_loop_start(m_mosq) != MOSQ_ERR_SUCCESS) {
        SetMessage(QStringLiteral("MQTTの通信スレッドを開始できません"));
        mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
        return false;
    }
    m_running = true;
    return true;
}

void CMqttClient::Stop()
{
    if (!m_mosq)
        return;
    mosquitto_disconnect(m_mosq);
    // Ends the network thread: the disconnect wakes it, also from a reconnect delay.
    mosquitto_loop_stop(m_mosq, false);
    mosquitto_destroy(m_mosq);
    m_mosq = nullptr;
    m_running = false;
    m_connected.store(false, std::memory_order_release);
}

void CMqttClient::OnConnect(mosquitto* mosq, void* self, int rc)
{
    auto* client = static_cast<CMqttClient*>(self);
    const CMqttSettings& s = client->m_settings;
    if (rc != 0) {
        if (RefusalIsFinal(rc)) {
            // Trying again with the same credentials would only hammer the broker.
            mosquitto_disconnect(mosq);
            client->m_givenUp.store(true, std::memory_order_release);
            client->SetMessage(RefusalText(rc) + QStringLiteral(" (キャンセルで終了)"));
        } else {
            client->SetMessage(RefusalText(rc) + QStringLiteral(". 再試行しています..."));
        }
        return;
    }
    const QByteArray filter = s.m_topicFilter.toUtf8();
    mosquitto_subscribe(mosq, nullptr, filter.constData(), s.m_qos);
    const int32_t connects = client->m_connects.fetch_add(1, std::memory_order_relaxed) + 1;
    client->m_connected.store(true, std::memory_order_release);
    client->SetMessage(connects == 1 ? QStringLiteral("%1 に接続しました").arg(Where(s))
                                     : QStringLiteral("%1 に再接続しました").arg(Where(s)));
}

void CMqttClient::OnDisconnect(mosquitto*, void* self, int rc)
{
    auto* client = static_cast<CMqttClient*>(self);
    const bool wasConnected = client->m_connected.exchange(false, std::memory_order_acq_rel);
    // rc 0 is our own disconnect; an earlier message (a refusal) stays.
    if (rc == 0 || !wasConnected)
        return;
    client->SetMessage(QStringLiteral("接続が切れました. 再接続しています..."));
}

void CMqttClient::OnMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* client = static_cast<CMqttClient*>(self);
    const int64_t limit = client->m_limit;
    const int64_t seen = client->m_messageCount.fetch_add(1, std::memory_order_relaxed) + 1;
    if (limit > 0 && seen > limit)
        return;
    const QString line = LineFromMessage(QByteArray::fromRawData(message->topic, qsizetype(std::strlen(message->topic))),
                                         static_cast<const char*>(message->payload), message->payloadlen,
                                         client->m_settings.m_topicFirst, client->m_settings.m_utf8);
    if (client->m_bounded) {
        if (client->m_main.PushLineBounded(line))
            client->m_lineCount.fetch_add(1, std::memory_order_relaxed);
    } else {
        client->m_main.PushLine(line);
        client->m_lineCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (limit > 0 && seen == limit)
        Q_EMIT client->limitReached();
}
