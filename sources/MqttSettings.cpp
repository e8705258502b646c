#include "sources/MqttSettings.h"

#include <QSettings>

#include <mosquitto.h>

#include <unistd.h>

namespace {

const QString kGroup = QStringLiteral("MqttInput/");

constexpr qsizetype kMaxStringBytes = 65535; // MQTT's length prefix

bool FitsMqttString(const QString& text)
{
    return text.toUtf8().size() <= kMaxStringBytes;
}

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString Decoded(QStringView text, bool* ok)
{
    // Only well-formed escapes; a lone "%" or bytes that are not UTF-8 are an error.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        if (i + 2 >= text.size() || !IsHexDigit(text[i + 1]) || !IsHexDigit(text[i + 2])) {
            *ok = false;
            return {};
        }
        i += 2;
    }
    const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
    const QString decoded = QString::fromUtf8(bytes);
    *ok = decoded.toUtf8() == bytes;
    return decoded;
}

} // namespace

QString CMqttSettings::DefaultClientId()
{
    return QStringLiteral("vantrel-%1").arg(::getpid());
}

bool IsValidTopicFilter(const QString& filter)
{
    if (filter.isEmpty() || !FitsMqttString(filter) || filter.contains(QChar(0)))
        return false;
    const QByteArray bytes = filter.toUtf8();
    // Lone surrogates do not survive the conversion; what comes back differs.
    if (QString::fromUtf8(bytes) != filter)
        return false;
    return mosquitto_sub_topic_check(bytes.constData()) == MOSQ_ERR_SUCCESS;
}

QString CheckMqttSettings(const CMqttSettings& s, MqttField* field)
{
    const auto fail = [field](MqttField which, const QString& message) {
        if (field)
            *field = which;
        return message;
    };
    if (s.m_host.trimmed().isEmpty() || s.m_host.contains(QChar(u' ')) || !FitsMqttString(s.m_host))
        return fail(MqttField::Host, QStringLiteral("ブローカーのホスト名を入力してください."));
    if (s.m_port == 0)
        return fail(MqttField::Port, QStringLiteral("ポート番号は1から65535の範囲で入力してください."));
    if (!IsValidTopicFilter(s.m_topicFilter))
        return fail(MqttField::TopicFilter,
                    QStringLiteral("トピックフィルタが正しくありません.\n"
                                   "(空でなく, + は階層全体, # は最後の階層全体にだけ使えます)"));
    if (s.m_qos != 0 && s.m_qos != 1)
        return fail(MqttField::Qos, QStringLiteral("QoSは0か1です."));
    if (s.m_clientId.isEmpty() || !FitsMqttString(s.m_clientId) || s.m_clientId.contains(QChar(0)))
        return fail(MqttField::ClientId, QStringLiteral("クライアントIDを入力してください."));
    if (!FitsMqttString(s.m_userName) || s.m_userName.contains(QChar(0))
        || (s.m_userName.isEmpty() && !s.m_password.isEmpty()))
        return fail(MqttField::UserName, QStringLiteral("パスワードにはユーザー名が必要です."));
    if (field)
        *field = MqttField::None;
    return {};
}

bool ParseMqttUrl(const QString& url, CMqttSettings& settings, QString* error)
{
    const auto fail = [error](const char* why) {
        if (error)
            *error = QString::fromUtf8(why);
        return false;
    };
    const QString scheme = QStringLiteral("mqtt://");
    if (!url.startsWith(scheme, Qt::CaseInsensitive))
        return fail("the URL must start with mqtt://");
    QStringView rest = QStringView(url).mid(scheme.size());

    // The query starts at the first "?"; a "?" inside the filter is written "%3F".
    QStringView query;
    if (const qsizetype q = rest.indexOf(u'?'); q >= 0) {
        query = rest.mid(q + 1);
        rest = rest.first(q);
    }
    const qsizetype slash = rest.indexOf(u'/');
    QStringView authority = slash < 0 ? rest : rest.first(slash);
    const QStringView path = slash < 0 ? QStringView() : rest.mid(slash + 1);

    CMqttSettings s = settings;
    s.m_userName.clear();
    if (const qsizetype at = authority.lastIndexOf(u'@'); at >= 0) {
        const QStringView user = authority.first(at);
        if (user.contains(u':'))
            return fail("no password in the URL: set VANTREL_MQTT_PASSWORD");
        bool ok = false;
        s.m_userName = Decoded(user, &ok);
        if (!ok || s.m_userName.isEmpty())
            return fail("bad user name in the URL");
        authority = authority.mid(at + 1);
    }
    QStringView host = authority;
    QStringView port;
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return fail("unclosed [ in the host");
        host = authority.mid(1, close - 1);
        const QStringView after = authority.mid(close + 1);
        if (!after.isEmpty()) {
            if (!after.startsWith(u':'))
                return fail("bad host");
            port = after.mid(1);
        }
    } else if (const qsizetype colon = authority.lastIndexOf(u':'); colon >= 0) {
        host = authority.first(colon);
        port = authority.mid(colon + 1);
    }
    if (host.isEmpty())
        return fail("the URL names no host");
    s.m_host = host.toString();
    s.m_port = CMqttSettings::kDefaultPort;
    if (authority.endsWith(u':') || !port.isEmpty()) {
        bool ok = false;
        const uint value = port.toUInt(&ok);
        if (!ok || value < 1 || value > 65535 || !port.front().isDigit())
            return fail("the port must be 1 to 65535");
        s.m_port = uint16_t(value);
    }

    s.m_topicFilter = QStringLiteral("#");
    if (!path.isEmpty()) {
        bool ok = false;
        s.m_topicFilter = Decoded(path, &ok);
        if (!ok)
            return fail("bad percent escape in the topic filter");
    }
    if (slash >= 0 && path.isEmpty())
        return fail("the topic filter after / is empty");
    if (!IsValidTopicFilter(s.m_topicFilter))
        return fail("invalid topic filter (+ must be a whole level, # the whole last level)");

    s.m_qos = 0;
    s.m_topicFirst = false;
    s.m_utf8 = false;
    if (!query.isEmpty()) {
        for (QStringView pair : query.split(u'&')) {
            const qsizetype eq = pair.indexOf(u'=');
            const QStringView key = eq < 0 ? pair : pair.first(eq);
            const QStringView value = eq < 0 ? QStringView() : pair.mid(eq + 1);
            const bool zero = value == u"0";
            const bool one = value == u"1";
            if (!zero && !one)
                return fail("query values are 0 or 1 (qos, topic, utf8)");
            if (key == u"qos")
                s.m_qos = one ? 1 : 0;
            else if (key == u"topic")
                s.m_topicFirst = one;
            else if (key == u"utf8")
                s.m_utf8 = one;
            else
                return fail("unknown query key (qos, topic, utf8)");
        }
    }
    // Whatever else the settings dialog would refuse, the URL refuses too; the password is
    // not the URL's.
    CMqttSettings checked = s;
    checked.m_password.clear();
    if (const QString problem = CheckMqttSettings(checked); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    settings = s;
    return true;
}

CMqttSettings LoadMqttSettings(const QSettings& store)
{
    CMqttSettings s;
    const CMqttSettings defaults;
    s.m_host = store.value(kGroup + QStringLiteral("host"), defaults.m_host).toString();
    bool ok = false;
    const uint port = store.value(kGroup + QStringLiteral("port"), defaults.m_port).toUInt(&ok);
    s.m_port = ok && port >= 1 && port <= 65535 ? uint16_t(port) : defaults.m_port;
    s.m_topicFilter = store.value(kGroup + QStringLiteral("topicFilter"), defaults.m_topicFilter).toString();
    const int qos = store.value(kGroup + QStringLiteral("qos"), 0).toInt();
    s.m_qos = qos == 1 ? 1 : 0;
    // An id remembered from another run would share that run's session; only one the user
    // typed is kept.
    s.m_clientId = store.value(kGroup + QStringLiteral("clientId")).toString();
    if (s.m_clientId.isEmpty())
        s.m_clientId = defaults.m_clientId;
    s.m_userName = store.value(kGroup + QStringLiteral("userName")).toString();
    s.m_topicFirst = store.value(kGroup + QStringLiteral("topicFirst"), false).toBool();
    s.m_utf8 = store.value(kGroup + QStringLiteral("utf8"), false).toBool();
    if (s.m_host.trimmed().isEmpty())
        s.m_host = defaults.m_host;
    if (!IsValidTopicFilter(s.m_topicFilter))
        s.m_topicFilter = defaults.m_topicFilter;
    return s;
}

void SaveMqttSettings(QSettings& store, const CMqttSettings& s)
{
    store.setValue(kGroup + QStringLiteral("host"), s.m_host);
    store.setValue(kGroup + QStringLiteral("port"), uint(s.m_port));
    store.setValue(kGroup + QStringLiteral("topicFilter"), s.m_topicFilter);
    store.setValue(kGroup + QStringLiteral("qos"), s.m_qos);
    // The per-process default is not worth remembering (see LoadMqttSettings).
    if (s.m_clientId == CMqttSettings::DefaultClientId())
        store.remove(kGroup + QStringLiteral("clientId"));
    else
        store.setValue(kGroup + QStringLiteral("clientId"), s.m_clientId);
    store.setValue(kGroup + QStringLiteral("userName"), s.m_userName);
    store.setValue(kGroup + QStringLiteral("topicFirst"), s.m_topicFirst);
    store.setValue(kGroup + QStringLiteral("utf8"), s.m_utf8);
}

bool ParseMqttOption(const QString& url, CMqttSettings& settings, QString* error)
{
    if (!ParseMqttUrl(url, settings, error))
        return false;
    if (!settings.m_userName.isEmpty())
        settings.m_password = qEnvironmentVariable("VANTREL_MQTT_PASSWORD");
    return true;
}
