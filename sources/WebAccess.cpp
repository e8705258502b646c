#include "sources/WebAccess.h"

#include <QHostInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QUrlQuery>

namespace {

bool SameInConstantTime(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

QString CWebAccess::ViewerUrl() const
{
    QString host;
    if (m_address == QHostAddress(QHostAddress::AnyIPv4) || m_address == QHostAddress(QHostAddress::Any)
        || m_address == QHostAddress(QHostAddress::AnyIPv6))
        host = QHostInfo::localHostName();
    else if (m_address.protocol() == QAbstractSocket::IPv6Protocol)
        host = QLatin1Char('[') + m_address.toString() + QLatin1Char(']');
    else
        host = m_address.toString();
    QString url = QStringLiteral("http://%1:%2/").arg(host).arg(m_port);
    if (!m_token.isEmpty())
        url += QStringLiteral("?token=") + m_token;
    return url;
}

std::optional<QHostAddress> ParseWebHost(const QString& text)
{
    QString host = text.trimmed();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return QHostAddress(QHostAddress::LocalHost);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    QHostAddress address;
    if (host.isEmpty() || !address.setAddress(host))
        return std::nullopt;
    // "1.2.3" would be taken for 1.2.0.3: an address with a part left out is a typing slip.
    if (address.protocol() == QAbstractSocket::IPv4Protocol && host.count(QLatin1Char('.')) != 3)
        return std::nullopt;
    return address;
}

std::optional<QString> ParseHttpEndpoint(const QString& text, CWebAccess& access)
{
    static const QRegularExpression form(QStringLiteral("^(?:(\\[[^\\]]*\\]|[^:\\[\\]]+):)?(\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return QStringLiteral("expected [ADDRESS:]PORT, e.g. 8080 or 0.0.0.0:8080: %1").arg(text);
    const uint32_t port = m.captured(2).toUInt();
    if (port > 65535)
        return QStringLiteral("the port is from 0 to 65535: %1").arg(m.captured(2));
    QHostAddress address(QHostAddress::LocalHost);
    if (!m.captured(1).isEmpty()) {
        const std::optional<QHostAddress> host = ParseWebHost(m.captured(1));
        if (!host)
            return QStringLiteral("not an IP address: %1").arg(m.captured(1));
        address = *host;
    }
    access.m_address = address;
    access.m_port = uint16_t(port);
    return std::nullopt;
}

QString CheckWebAccess(const CWebAccess& access)
{
    if (access.m_address.isNull())
        return QStringLiteral("no address to listen on");
    if (!access.m_token.isEmpty() && !IsValidAccessToken(access.m_token))
        return QStringLiteral("a token is 8 to 128 letters, digits, '-', '_' or '.'");
    if (access.NeedsToken() && access.m_token.isEmpty())
        return QStringLiteral("an address other than the loopback needs a token");
    return QString();
}

QString NewAccessToken()
{
    QString token;
    for (int i = 0; i < 4; ++i)
        token += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    return token;
}

bool IsValidAccessToken(const QString& token)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9._-]{8,128}$"));
    return form.match(token).hasMatch();
}

bool IsLoopbackHostHeader(const QByteArray& host)
{
    QByteArray name = host.trimmed();
    if (name.isEmpty())
        return true;
    if (name.startsWith('[')) {
        const qsizetype close = name.indexOf(']');
        if (close < 0)
            return false;
        name = name.mid(1, close - 1);
    } else if (const qsizetype colon = name.lastIndexOf(':'); colon >= 0) {
        name.truncate(colon);
    }
    if (name.compare("localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(QString::fromLatin1(name));
    return !address.isNull() && address.isLoopback();
}

std::optional<QByteArray> CookieValue(const QByteArray& cookieHeader, const QByteArray& name)
{
    for (const QByteArray& pair : cookieHeader.split(';')) {
        const QByteArray item = pair.trimmed();
        const qsizetype eq = item.indexOf('=');
        if (eq > 0 && item.left(eq).trimmed() == name)
            return item.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

bool IsTokenAccepted(const QString& expected, const CPresentedToken& presented)
{
    if (expected.isEmpty())
        return true;
    const QByteArray want = expected.toUtf8();
    if (!presented.m_query.isEmpty()) {
        const QUrlQuery query(QString::fromUtf8(presented.m_query));
        if (SameInConstantTime(query.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8(), want))
            return true;
    }
    if (const std::optional<QByteArray> cookie = CookieValue(presented.m_cookieHeader, kTokenCookie);
        cookie && SameInConstantTime(*cookie, want))
        return true;
    static const QByteArray bearer("bearer ");
    const QByteArray auth = presented.m_authorization.trimmed();
    return auth.size() > bearer.size() && auth.left(bearer.size()).toLower() == bearer
        && SameInConstantTime(auth.mid(bearer.size()).trimmed(), want);
}

void LoadWebAccess(QSettings& settings, CWebAccess& access)
{
    settings.beginGroup(QStringLiteral("WebView"));
    CWebAccess loaded;
    const QHostAddress address(settings.value(QStringLiteral("Address"), access.m_address.toString()).toString());
    loaded.m_address = address.isNull() ? access.m_address : address;
    const uint32_t port = settings.value(QStringLiteral("Port"), access.m_port).toUInt();
    loaded.m_port = port <= 65535 ? uint16_t(port) : access.m_port;
    loaded.m_token = settings.value(QStringLiteral("Token"), access.m_token).toString();
    if (!loaded.m_token.isEmpty() && !IsValidAccessToken(loaded.m_token))
        loaded.m_token.clear();
    access = loaded;
    settings.endGroup();
}

void SaveWebAccess(QSettings& settings, const CWebAccess& access)
{
    settings.beginGroup(QStringLiteral("WebView"));
    settings.setValue(QStringLiteral("Address"), access.m_address.toString());
    settings.setValue(QStringLiteral("Port"), access.m_port);
    settings.setValue(QStringLiteral("Token"), access.m_token);
    settings.endGroup();
}
