#pragma once

#include <QString>

#include <cstdint>

class QSettings;

// Where the MQTT input connects and what it subscribes to. The password is only ever held
// in memory: it is neither remembered in the settings nor part of a URL.
struct CMqttSettings
{
    static constexpr uint16_t kDefaultPort = 1883;

    QString m_host = QStringLiteral("localhost");
    uint16_t m_port = kDefaultPort;
    QString m_topicFilter = QStringLiteral("#");
    int32_t m_qos = 0; // 0 or 1
    QString m_clientId = DefaultClientId();
    QString m_userName;
    QString m_password;
    // The topic goes in front of the payload as the first FD.
    bool m_topicFirst = false;
    // Payloads in UTF-8 instead of code page 932.
    bool m_utf8 = false;

    // "vantrel-" and the process id.
    static QString DefaultClientId();

    bool operator==(const CMqttSettings&) const = default;
};

// What is wrong with a setting, in the words the settings dialog shows; empty when all is
// well. field names the first faulty one.
enum class MqttField { None, Host, Port, TopicFilter, Qos, ClientId, UserName };
QString CheckMqttSettings(const CMqttSettings& settings, MqttField* field = nullptr);
// MQTT's own rules for a subscription: not empty, valid UTF-8 without U+0000, "+" only as a
// whole level, "#" only as the whole last level, at most 65,535 bytes.
bool IsValidTopicFilter(const QString& filter);

// mqtt://[user@]host[:port][/topic-filter][?qos=0|1&topic=0|1&utf8=0|1]
// The topic filter is the rest after host and port as written (a "#" in it is part of the
// filter); percent escapes stand for their bytes, so "%23", "%2B" and "%2F" give "#", "+" and
// "/", and "%3F" gives a "?" that would otherwise start the query. No filter means "#". A
// password in the URL is refused: it would show in every process list. On failure,
// settings is unchanged and error says why.
bool ParseMqttUrl(const QString& url, CMqttSettings& settings, QString* error);
// ParseMqttUrl as the programs' --mqtt options take it: with a user name, the password comes
// from the environment variable VANTREL_MQTT_PASSWORD, never from a command line that every
// process list would show.
bool ParseMqttOption(const QString& url, CMqttSettings& settings, QString* error);

// The remembered settings (everything but the password); defaults for what is missing or
// unusable.
CMqttSettings LoadMqttSettings(const QSettings& store);
void SaveMqttSettings(QSettings& store, const CMqttSettings& settings);
