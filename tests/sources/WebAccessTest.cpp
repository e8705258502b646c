#include "sources/WebAccess.h"

#include <gtest/gtest.h>

namespace {

TEST(WebAccess, EndpointsParseOrSayWhatIsWrong)
{
    struct Case
    {
        const char* text;
        const char* address; // nullptr: refused
        int port;
    };
    const Case cases[] = {
        {"8080", "127.0.0.1", 8080},
        {"0", "127.0.0.1", 0},
        {"0.0.0.0:80", "0.0.0.0", 80},
        {"localhost:9000", "127.0.0.1", 9000},
        {"[::1]:8080", "::1", 8080},
        {"[::]:8080", "::", 8080},
        {"192.168.1.20:65535", "192.168.1.20", 65535},
        {"65536", nullptr, 0},
        {"host.example:80", nullptr, 0},
        {"::1:8080", nullptr, 0},
        {"1.2.3:8080", nullptr, 0},
        {"8080:", nullptr, 0},
        {"", nullptr, 0},
        {"1.2.3.4:-1", nullptr, 0},
    };
    for (const Case& c : cases) {
        CWebAccess access;
        const std::optional<QString> error = ParseHttpEndpoint(QString::fromLatin1(c.text), access);
        EXPECT_EQ(!error, c.address != nullptr) << c.text;
        if (c.address && !error) {
            EXPECT_EQ(access.m_address, QHostAddress(QString::fromLatin1(c.address))) << c.text;
            EXPECT_EQ(access.m_port, c.port) << c.text;
        }
    }
    CWebAccess open;
    ASSERT_FALSE(ParseHttpEndpoint(QStringLiteral("0.0.0.0:8080"), open));
    EXPECT_EQ(CheckWebAccess(open), QStringLiteral("an address other than the loopback needs a token"));
    open.m_token = QStringLiteral("short");
    EXPECT_FALSE(CheckWebAccess(open).isEmpty());
    open.m_token = NewAccessToken();
    EXPECT_EQ(open.m_token.size(), 32);
    EXPECT_TRUE(CheckWebAccess(open).isEmpty());
    EXPECT_NE(NewAccessToken(), open.m_token);
    EXPECT_EQ(CWebAccess().ViewerUrl(), QStringLiteral("http://127.0.0.1:8080/"));
}

TEST(WebAccess, ATokenIsTakenFromTheQueryOurCookieOrABearerHeader)
{
    const QString token = QStringLiteral("abc-123_XYZ.9");
    struct Case
    {
        CPresentedToken presented;
        bool accepted;
    };
    const Case cases[] = {
        {{"token=abc-123_XYZ.9", "", ""}, true},
        {{"a=1&token=abc-123_XYZ.9", "", ""}, true},
        {{"token=abc-123_XYZ.", "", ""}, false},
        {{"token=abc-123_XYZ.9x", "", ""}, false},
        {{"", "other=1; vantrel_token=abc-123_XYZ.9", ""}, true},
        {{"", "vantrel_token_x=abc-123_XYZ.9", ""}, false},
        {{"", "", "Bearer abc-123_XYZ.9"}, true},
        {{"", "", "bearer  abc-123_XYZ.9 "}, true},
        {{"", "", "Basic abc-123_XYZ.9"}, false},
        {{"", "", "Bearer"}, false},
        {{"", "", ""}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsTokenAccepted(token, c.presented), c.accepted)
            << c.presented.m_query.data() << '|' << c.presented.m_cookieHeader.data() << '|' << c.presented.m_authorization.data();
    EXPECT_TRUE(IsTokenAccepted(QString(), {}));
}

TEST(WebAccess, ALoopbackServerKnowsItsOwnNames)
{
    for (const char* host : {"", "localhost", "LOCALHOST:8080", "127.0.0.1", "127.0.0.1:80", "127.1.2.3:9", "[::1]:8080", "[::1]"})
        EXPECT_TRUE(IsLoopbackHostHeader(host)) << host;
    for (const char* host : {"evil.example", "evil.example:8080", "192.168.1.2:8080", "[::2]:80", "[::1", "localhost.evil.example"})
        EXPECT_FALSE(IsLoopbackHostHeader(host)) << host;
}

} // namespace
