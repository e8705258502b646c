// The line server over real sockets on the loopback, port 57077 (these tests share a lock).
// No worker runs: what the server pushed stays in the pipeline's line queue.
#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "tests/support/TcpClient.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <vector>

namespace {

class LineServerTest : public ::testing::Test
{
protected:
    CMain m_main;
    CLineServer m_server{m_main};
    int64_t m_received = 0;

    void SetUp() override
    {
        ASSERT_TRUE(m_server.Listen(QHostAddress(QHostAddress::LocalHost)));
        QObject::connect(&m_server, &CLineServer::lineReceived, [this] { ++m_received; });
    }

    std::vector<QString> Queued()
    {
        std::lock_guard lock(m_main.m_queueLock);
        return {m_main.m_lineQueue.begin(), m_main.m_lineQueue.end()};
    }

    // Connects and waits until the server holds count connections.
    void Connect(CTcpClient& client, int32_t count)
    {
        ASSERT_TRUE(client.Connect(kLineServerPort));
        ASSERT_TRUE(PumpUntil([&] { return m_server.ConnectionCount() == count; }));
    }

    void SendOne(CTcpClient& client, const QByteArray& bytes)
    {
        const int64_t before = m_received;
        ASSERT_TRUE(client.Send(bytes));
        ASSERT_TRUE(PumpUntil([&] { return m_received > before; }));
    }
};

} // namespace

TEST_F(LineServerTest, ThreeSendsWithPausesAreThreeLines)
{
    CTcpClient client;
    Connect(client, 1);
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("1個接続中"));
    EXPECT_EQ(m_server.ProgressText(), QStringLiteral("未入力"));
    for (int i = 0; i < 3; ++i)
        SendOne(client, "1,2,3");
    EXPECT_EQ(Queued(), std::vector<QString>(3, QStringLiteral("1,2,3")));
    EXPECT_EQ(m_server.LineCount(), 3);
    EXPECT_EQ(m_server.ProgressText(), QStringLiteral("3行入力済"));
}

TEST_F(LineServerTest, OneSendIsOneLineWhateverItHolds)
{
    struct Case
    {
        QByteArray sent;
        QString line;
    } const cases[] = {
        {"1,2\r\n3,4", QStringLiteral("1,2\r\n3,4")},
        {QByteArray("1,2\0tail,9", 10), QStringLiteral("1,2")},
        {QByteArray("\0x", 2), QString()},
        {"\x89\xB7\x93\x78,25", QStringLiteral("温度,25")},
    };
    CTcpClient client;
    Connect(client, 1);
    std::vector<QString> expected;
    for (const Case& c : cases) {
        SendOne(client, c.sent);
        expected.push_back(c.line);
    }
    EXPECT_EQ(Queued(), expected);
}

TEST_F(LineServerTest, SixthClientReplacesTheOneInTheLastSlot)
{
    CTcpClient clients[6];
    for (int i = 0; i < 5; ++i)
        Connect(clients[i], i + 1);
    ASSERT_TRUE(clients[5].Connect(kLineServerPort));
    ASSERT_TRUE(PumpUntil([&] { return clients[4].IsClosedByPeer(); }));
    EXPECT_EQ(m_server.ConnectionCount(), 5);
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("5個接続中"));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(clients[i].IsClosedByPeer()) << i;
    SendOne(clients[5], "sixth");
    SendOne(clients[0], "first");
    EXPECT_EQ(Queued(), (std::vector<QString>{QStringLiteral("sixth"), QStringLiteral("first")}));
}

TEST_F(LineServerTest, ReadThatFillsTheBufferClosesThatClient)
{
    CTcpClient a;
    CTcpClient b;
    Connect(a, 1);
    Connect(b, 2);

    SendOne(a, QByteArray(65535, 'x'));
    ASSERT_EQ(Queued().size(), 1u);
    EXPECT_EQ(Queued()[0], QString(65535, QLatin1Char('x')));

    ASSERT_TRUE(a.Send(QByteArray(65536, 'y')));
    ASSERT_TRUE(PumpUntil([&] { return a.IsClosedByPeer(); }));
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("サイズオーバー!!<1個接続中>"));
    EXPECT_FALSE(b.IsClosedByPeer());

    ASSERT_TRUE(b.Send(QByteArray(70000, 'z')));
    ASSERT_TRUE(PumpUntil([&] { return b.IsClosedByPeer(); }));
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("受信データサイズオーバー!"));
    EXPECT_EQ(m_server.ConnectionCount(), 0);
    EXPECT_EQ(Queued().size(), 1u);
    EXPECT_EQ(m_server.LineCount(), 1);
}

TEST_F(LineServerTest, ClientsClosingChangeTheTextAndPushNoLine)
{
    CTcpClient a;
    CTcpClient b;
    Connect(a, 1);
    Connect(b, 2);
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("2個接続中"));
    a.Close();
    ASSERT_TRUE(PumpUntil([&] { return m_server.ConnectionCount() == 1; }));
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("1個接続中"));
    b.Close();
    ASSERT_TRUE(PumpUntil([&] { return m_server.ConnectionCount() == 0; }));
    EXPECT_EQ(m_server.MessageText(), QStringLiteral("未接続"));
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(m_received, 0);
}

TEST_F(LineServerTest, OverloadDropsAndCountsLinesButKeepsReading)
{
    m_main.m_lineQueueLimit = 3;
    CTcpClient client;
    Connect(client, 1);
    for (int i = 0; i < 5; ++i)
        SendOne(client, QByteArray::number(i));
    EXPECT_EQ(Queued(), (std::vector<QString>{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(m_main.DiscardedLines(), 2);
    EXPECT_EQ(m_server.LineCount(), 3);
    EXPECT_EQ(m_server.ProgressText(), QStringLiteral("3行入力済"));
    EXPECT_FALSE(client.IsClosedByPeer());

    // Room again: the next send is one line of its own.
    m_main.m_lineQueueLimit = 4;
    SendOne(client, "next");
    EXPECT_EQ(Queued().back(), QStringLiteral("next"));
    EXPECT_EQ(m_main.DiscardedLines(), 2);
}

TEST(LineServerPort, InUseLeavesTheServerDownWithItsTexts)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress(QHostAddress::LocalHost), kLineServerPort));
    CMain main;
    CLineServer server(main);
    EXPECT_FALSE(server.Listen(QHostAddress(QHostAddress::LocalHost)));
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(server.ProgressText(), QStringLiteral("通信エラー"));
    EXPECT_EQ(server.MessageText(), QStringLiteral("閉じてください"));
}
