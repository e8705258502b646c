#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <cstdint>
#include <optional>

class QSettings;

// Where the live web view listens and the token a viewer must show. Without an address the
// server stays on the loopback; any other address needs a token.
struct CWebAccess
{
    static constexpr uint16_t kDefaultPort = 8080;

    QHostAddress m_address = QHostAddress(QHostAddress::LocalHost);
    uint16_t m_port = kDefaultPort;
    QString m_token;

    bool NeedsToken() const { return !m_address.isLoopback(); }
    // "http://ADDR:PORT/", with "?token=" when there is one; an address that listens on every
    // interface shows as this machine's name.
    QString ViewerUrl() const;
};

// An IPv4 address with all four parts, an IPv6 address with or without brackets, or
// "localhost".
std::optional<QHostAddress> ParseWebHost(const QString& text);
// "[ADDR:]PORT": PORT 0 to 65535 (0 takes a free one), ADDR an IPv4 address, "[IPv6]" or
// "localhost". An error in words a user can act on, or nothing.
std::optional<QString> ParseHttpEndpoint(const QString& text, CWebAccess& access);
// What the settings dialog and the command line refuse: an address that is not this
// machine's to listen on cannot be known here, so only the form and the token rule.
QString CheckWebAccess(const CWebAccess& access);

// 32 hexadecimal digits from the system's random source.
QString NewAccessToken();
// Allowed characters of a token: it travels in a URL, a cookie and a header unescaped.
bool IsValidAccessToken(const QString& token);

// Whether a Host header names this machine's loopback ("localhost", 127.x.x.x, [::1], with or
// without a port); an empty one counts as such. A server on the loopback answers only these,
// so that a web page whose name was pointed at 127.0.0.1 cannot read it.
bool IsLoopbackHostHeader(const QByteArray& host);

// The name of our cookie.
inline constexpr char kTokenCookie[] = "vantrel_token";

// The token a request carries: "?token=", then our cookie, then "Authorization: Bearer".
struct CPresentedToken
{
    QByteArray m_query;
    QByteArray m_cookieHeader;
    QByteArray m_authorization;
};
// True when no token is needed or one of the presented ones is it, compared in constant time.
bool IsTokenAccepted(const QString& expected, const CPresentedToken& presented);
// The value of one cookie in a Cookie header, or nothing.
std::optional<QByteArray> CookieValue(const QByteArray& cookieHeader, const QByteArray& name);

void LoadWebAccess(QSettings& settings, CWebAccess& access);
void SaveWebAccess(QSettings& settings, const CWebAccess& access);
