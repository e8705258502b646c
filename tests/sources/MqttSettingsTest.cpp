// The MQTT input's settings: the URL of the unattended start, the checks of the settings
// dialog, and what is remembered.
#include "sources/MqttClient.h"
#include "sources/MqttSettings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(MqttUrl, ReadsHostPortUserFilterAndQuery)
{
    struct Case
    {
        const char* url;
        const char* host;
        uint16_t port;
        const char* user;
        const char* filter;
        int32_t qos;
        bool topicFirst;
        bool utf8;
    } const cases[] = {
        {"mqtt://localhost", "localhost", 1883, "", "#", 0, false, false},
        {"mqtt://broker:1884/plant/#", "broker", 1884, "", "plant/#", 0, false, false},
        {"MQTT://me@10.0.0.5/a/+/c?qos=1&topic=1", "10.0.0.5", 1883, "me", "a/+/c", 1, true, false},
        {"mqtt://[::1]:2000/x?utf8=1", "::1", 2000, "", "x", 0, false, true},
        // The filter is the rest as written: a "#" is no fragment; escapes stand for their bytes.
        {"mqtt://h/#", "h", 1883, "", "#", 0, false, false},
        {"mqtt://h/%23", "h", 1883, "", "#", 0, false, false},
        {"mqtt://h/a%2Fb%2f%2B", "h", 1883, "", "a/b/+", 0, false, false},
        {"mqtt://h/what%3F?qos=1", "h", 1883, "", "what?", 1, false, false},
        {"mqtt://h/%E6%B8%A9%E5%BA%A6", "h", 1883, "", "温度", 0, false, false},
        {"mqtt://a%40b@h/t", "h", 1883, "a@b", "t", 0, false, false},
    };
    for (const Case& c : cases) {
        CMqttSettings s;
        s.m_password = QStringLiteral("kept");
        QString error;
        ASSERT_TRUE(ParseMqttUrl(QString::fromUtf8(c.url), s, &error)) << c.url << ": " << error.toStdString();
        EXPECT_EQ(s.m_host, QString::fromUtf8(c.host)) << c.url;
        EXPECT_EQ(s.m_port, c.port) << c.url;
        EXPECT_EQ(s.m_userName, QString::fromUtf8(c.user)) << c.url;
        EXPECT_EQ(s.m_topicFilter, QString::fromUtf8(c.filter)) << c.url;
        EXPECT_EQ(s.m_qos, c.qos) << c.url;
        EXPECT_EQ(s.m_topicFirst, c.topicFirst) << c.url;
        EXPECT_EQ(s.m_utf8, c.utf8) << c.url;
        EXPECT_EQ(s.m_password, QStringLiteral("kept")) << c.url;
    }
}

TEST(MqttUrl, RefusesWhatItCannotUseAndChangesNothing)
{
    const char* const bad[] = {
        "http://h/t",    "mqtt://",          "mqtt://:1883/t", "mqtt://h:0/t",     "mqtt://h:65536/t",
        "mqtt://h:x/t",  "mqtt://h:/t",      "mqtt://h/",      "mqtt://h/a#",      "mqtt://h/a/#/b",
        "mqtt://h/a+",   "mqtt://h/%2",      "mqtt://h/%zz",   "mqtt://h/%FF",     "mqtt://u:pw@h/t",
        "mqtt://@h/t",   "mqtt://h/t?qos=2", "mqtt://h/t?x=1", "mqtt://[::1/t",    "mqtt://h:+1/t",
    };
    for (const char* url : bad) {
        CMqttSettings s;
        const CMqttSettings before = s;
        QString error;
        EXPECT_FALSE(ParseMqttUrl(QString::fromUtf8(url), s, &error)) << url;
        EXPECT_FALSE(error.isEmpty()) << url;
        EXPECT_EQ(s, before) << url;
    }
}

TEST(MqttSettings, ChecksNameTheFirstFaultyField)
{
    const auto with = [](auto change) {
        CMqttSettings s;
        change(s);
        return s;
    };
    struct Case
    {
        CMqttSettings settings;
        MqttField field;
    } const cases[] = {
        {CMqttSettings(), MqttField::None},
        {with([](CMqttSettings& s) { s.m_host = QStringLiteral(" "); }), MqttField::Host},
        {with([](CMqttSettings& s) { s.m_port = 0; }), MqttField::Port},
        {with([](CMqttSettings& s) { s.m_topicFilter = QStringLiteral("a/#/b"); }), MqttField::TopicFilter},
        {with([](CMqttSettings& s) { s.m_topicFilter = QString(QChar(0xD800)); }), MqttField::TopicFilter},
        {with([](CMqttSettings& s) { s.m_qos = 2; }), MqttField::Qos},
        {with([](CMqttSettings& s) { s.m_clientId.clear(); }), MqttField::ClientId},
        {with([](CMqttSettings& s) { s.m_password = QStringLiteral("pw"); }), MqttField::UserName},
    };
    for (const Case& c : cases) {
        MqttField field = MqttField::Host;
        const QString problem = CheckMqttSettings(c.settings, &field);
        EXPECT_EQ(field, c.field) << problem.toStdString();
        EXPECT_EQ(problem.isEmpty(), c.field == MqttField::None);
    }
    EXPECT_TRUE(CMqttSettings().m_clientId.startsWith(QStringLiteral("vantrel-")));
}

TEST(MqttSettings, RemembersEverythingButThePassword)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    CMqttSettings s;
    s.m_host = QStringLiteral("broker.local");
    s.m_port = 8883;
    s.m_topicFilter = QStringLiteral("plant/+/temp");
    s.m_qos = 1;
    s.m_clientId = QStringLiteral("bench-7");
    s.m_userName = QStringLiteral("operator");
    s.m_password = QStringLiteral("secret-pw");
    s.m_topicFirst = true;
    s.m_utf8 = true;
    {
        QSettings store(path, QSettings::IniFormat);
        SaveMqttSettings(store, s);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("secret-pw"));
    QSettings store(path, QSettings::IniFormat);
    CMqttSettings back = LoadMqttSettings(store);
    EXPECT_TRUE(back.m_password.isEmpty());
    back.m_password = s.m_password;
    EXPECT_EQ(back, s);

    // The per-process default id is not kept, and what cannot be used falls back.
    s.m_clientId = CMqttSettings::DefaultClientId();
    SaveMqttSettings(store, s);
    EXPECT_FALSE(store.contains(QStringLiteral("MqttInput/clientId")));
    store.setValue(QStringLiteral("MqttInput/port"), 0);
    store.setValue(QStringLiteral("MqttInput/topicFilter"), QStringLiteral("a#"));
    back = LoadMqttSettings(store);
    EXPECT_EQ(back.m_port, 1883);
    EXPECT_EQ(back.m_topicFilter, QStringLiteral("#"));
}

TEST(MqttLine, OneMessageIsOneLine)
{
    struct Case
    {
        QByteArray topic;
        QByteArray payload;
        bool topicFirst;
        bool utf8;
        QString line;
    } const cases[] = {
        {"t", "1,2,3", false, false, QStringLiteral("1,2,3")},
        {"t", "1,2\r\n3,4", false, false, QStringLiteral("1,2\r\n3,4")},
        {"t", QByteArray("1,2\0tail", 8), false, false, QStringLiteral("1,2")},
        {"t", "", false, false, QString()},
        {"t", "\x89\xB7\x93\x78,25", false, false, QStringLiteral("温度,25")},
        {"t", "\x81", false, false, QString(QChar(0xFFFD))},
        {"t", "温度,25", false, true, QStringLiteral("温度,25")},
        {"t", "\xFF,1", false, true, QString(QChar(0xFFFD)) + QStringLiteral(",1")},
        {"plant/a", "1,2", true, false, QStringLiteral("plant/a,1,2")},
        {"plant/a", "", true, false, QStringLiteral("plant/a,")},
        {"a,b", "1", true, false, QStringLiteral("\"a,b\",1")},
        {"工場/温度", "1", true, false, QStringLiteral("工場/温度,1")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineFromMessage(c.topic, c.payload.constData(), c.payload.size(), c.topicFirst, c.utf8), c.line)
            << c.payload.toStdString();
    EXPECT_EQ(LineFromMessage("t", nullptr, 0, false, false), QString());
}
