// The MQTT input against a real broker of its own (started by the test on a free port).
#include "runtime/Main.h"
#include "sources/MqttClient.h"
#include "tests/runtime/RunSupport.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TcpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

class MqttClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CMqttBroker::Available())
            GTEST_SKIP() << "mosquitto is not installed";
    }

    CMqttSettings SettingsFor(const CMqttBroker& broker, const QString& filter = QStringLiteral("#"))
    {
        CMqttSettings s;
        s.m_host = QStringLiteral("127.0.0.1");
        s.m_port = broker.Port();
        s.m_topicFilter = filter;
        s.m_qos = 1;
        s.m_clientId = QStringLiteral("vantrel-test-%1").arg(++m_clients);
        return s;
    }

    // A reconnect may wait out the library's growing delay (up to 10 s) first.
    static bool Connected(const CMqttClient& client, int32_t connects = 1)
    {
        return PumpUntil([&] { return client.IsConnected() && client.ConnectCount() >= connects; }, 30000);
    }

    static std::vector<QString> Stored(const CMain& main)
    {
        std::vector<QString> rows;
        for (int64_t i = 0; i < main.m_internalData.GetCount(); ++i)
            rows.push_back(main.m_internalData.GetAt(i).toStringList().join(QLatin1Char(',')));
        return rows;
    }

    static std::vector<QString> Queued(CMain& main)
    {
        std::lock_guard lock(main.m_queueLock);
        return {main.m_lineQueue.begin(), main.m_lineQueue.end()};
    }

    int m_clients = 0;
};

// A running pipeline with one document and the store, as a live run has.
struct CStoringRun
{
    CStoringRun()
    {
        host.AddDocument(0);
        main.m_pApp = &host;
        main.m_saveInternal = 1;
        main.m_keepInternal = 0;
        main.PrepareStoreForRun();
        main.PrepareRun();
        main.StartThreads();
    }
    ~CStoringRun() { main.StopThreads(); }

    CPacingScope pacingScope{FastPacing()};
    CFakeHost host;
    CMain main;
};

} // namespace

TEST_F(MqttClientTest, ThreePublishersAtQos1EveryMessageOneLineInOrder)
{
    constexpr int kPublishers = 3;
    constexpr int kMessages = 1000;
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    CStoringRun run;
    CMqttClient client(run.main);
    ASSERT_TRUE(client.Start(SettingsFor(broker)));
    ASSERT_TRUE(Connected(client));
    EXPECT_TRUE(client.MessageText().contains(QStringLiteral("接続しました")));

    std::vector<std::thread> publishers;
    std::atomic<int> failures{0};
    for (int p = 0; p < kPublishers; ++p) {
        publishers.emplace_back([&, p] {
            CMqttPublisher publisher;
            if (!publisher.Connect(broker.Port()))
                ++failures;
            for (int i = 0; i < kMessages; ++i)
                publisher.Publish("bench/" + QByteArray::number(p), QByteArray::number(p) + ',' + QByteArray::number(i));
            if (!publisher.WaitAcked())
                ++failures;
        });
    }
    for (std::thread& t : publishers)
        t.join();
    ASSERT_EQ(failures.load(), 0);
    ASSERT_TRUE(PumpUntil([&] { return client.LineCount() == kPublishers * kMessages; }, 20000)) << client.LineCount();
    client.Stop();
    run.main.StopThreads();

    EXPECT_EQ(run.main.DiscardedLines(), 0);
    const std::vector<QString> rows = Stored(run.main);
    ASSERT_EQ(rows.size(), size_t(kPublishers * kMessages));
    int next[kPublishers] = {};
    for (const QString& row : rows) {
        const QStringList parts = row.split(QLatin1Char(','));
        ASSERT_EQ(parts.size(), 2) << row.toStdString();
        const int p = parts[0].toInt();
        ASSERT_TRUE(p >= 0 && p < kPublishers) << row.toStdString();
        ASSERT_EQ(parts[1].toInt(), next[p]++) << row.toStdString();
    }
}

TEST_F(MqttClientTest, TopicInFrontLetsAnIncludePrefixChooseOneTopic)
{
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    CStoringRun run;
    run.main.m_includePrefixes = {QStringLiteral("plant/a")};
    CMqttClient client(run.main);
    CMqttSettings settings = SettingsFor(broker, QStringLiteral("plant/+"));
    settings.m_topicFirst = true;
    ASSERT_TRUE(client.Start(settings));
    ASSERT_TRUE(Connected(client));

    CMqttPublisher publisher;
    ASSERT_TRUE(publisher.Connect(broker.Port()));
    for (int i = 0; i < 3; ++i) {
        publisher.Publish("plant/a", QByteArray::number(i) + ",1");
        publisher.Publish("plant/b", QByteArray::number(i) + ",2");
        publisher.Publish("other/a", "not subscribed");
    }
    ASSERT_TRUE(publisher.WaitAcked());
    ASSERT_TRUE(PumpUntil([&] { return client.LineCount() == 6; }, 10000)) << client.LineCount();
    client.Stop();
    run.main.StopThreads();
    EXPECT_EQ(Stored(run.main),
              (std::vector<QString>{QStringLiteral("plant/a,0,1"), QStringLiteral("plant/a,1,1"), QStringLiteral("plant/a,2,1")}));
}

TEST_F(MqttClientTest, BrokerGoneAndBackShowsLossReconnectsAndDeliversWhatWasQueued)
{
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    CMain main;
    CMqttClient client(main);
    ASSERT_TRUE(client.Start(SettingsFor(broker, QStringLiteral("live/#"))));
    ASSERT_TRUE(Connected(client));

    broker.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !client.IsConnected(); }, 10000));
    EXPECT_TRUE(client.MessageText().contains(QStringLiteral("接続が切れました"))) << client.MessageText().toStdString();

    // Published to the restarted broker before the client is back: the persistent session
    // keeps them for it.
    ASSERT_TRUE(broker.Restart());
    {
        CMqttPublisher publisher;
        ASSERT_TRUE(publisher.Connect(broker.Port()));
        for (int i = 0; i < 5; ++i)
            publisher.Publish("live/x", "away," + QByteArray::number(i));
        ASSERT_TRUE(publisher.WaitAcked());
    }
    ASSERT_TRUE(Connected(client, 2));
    EXPECT_TRUE(client.MessageText().contains(QStringLiteral("再接続しました"))) << client.MessageText().toStdString();
    ASSERT_TRUE(PumpUntil([&] { return client.LineCount() == 5; }, 10000)) << client.LineCount();
    client.Stop();
    EXPECT_EQ(Queued(main), (std::vector<QString>{QStringLiteral("away,0"), QStringLiteral("away,1"), QStringLiteral("away,2"),
                                                  QStringLiteral("away,3"), QStringLiteral("away,4")}));
}

TEST_F(MqttClientTest, LargeEmptyAndInvalidPayloadsEachGiveOneLine)
{
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    CMain main;
    CMqttClient client(main);
    client.SetBoundedQueue(false);
    ASSERT_TRUE(client.Start(SettingsFor(broker)));
    ASSERT_TRUE(Connected(client));

    const QByteArray large(1024 * 1024, '7');
    CMqttPublisher publisher;
    ASSERT_TRUE(publisher.Connect(broker.Port()));
    publisher.Publish("t", large);
    publisher.Publish("t", "");
    publisher.Publish("t", "\x81\xFF,1");
    ASSERT_TRUE(publisher.WaitAcked());
    ASSERT_TRUE(PumpUntil([&] { return client.LineCount() == 3; }, 10000));
    client.Stop();
    const std::vector<QString> lines = Queued(main);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], QString::fromLatin1(large));
    EXPECT_EQ(lines[1], QString());
    EXPECT_TRUE(lines[2].startsWith(QChar(0xFFFD)) && lines[2].endsWith(QStringLiteral(",1"))) << lines[2].toStdString();
}

TEST_F(MqttClientTest, WrongPasswordIsSaidOnceAndTheClientStillStops)
{
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start(QStringLiteral("operator"), QStringLiteral("right")));
    CMain main;
    CMqttClient client(main);
    CMqttSettings settings = SettingsFor(broker);
    settings.m_userName = QStringLiteral("operator");
    settings.m_password = QStringLiteral("wrong");
    ASSERT_TRUE(client.Start(settings));
    ASSERT_TRUE(PumpUntil([&] { return client.MessageText().contains(QStringLiteral("パスワード")); }, 10000))
        << client.MessageText().toStdString();
    EXPECT_FALSE(client.IsConnected());
    const auto start = std::chrono::steady_clock::now();
    client.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // The right one connects.
    CMqttClient good(main);
    settings.m_password = QStringLiteral("right");
    ASSERT_TRUE(good.Start(settings));
    EXPECT_TRUE(Connected(good));
}

TEST_F(MqttClientTest, StopWhileTheBrokerIsAwayAndAnUnknownHostEndAtOnce)
{
    CMain main;
    CMqttClient away(main);
    CMqttSettings settings;
    settings.m_host = QStringLiteral("127.0.0.1");
    settings.m_port = mqtt_test::FreePort();
    ASSERT_TRUE(away.Start(settings));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // inside the reconnect delay
    const auto start = std::chrono::steady_clock::now();
    away.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    CMqttClient unknown(main);
    settings.m_host = QStringLiteral("no-such-host.invalid");
    EXPECT_FALSE(unknown.Start(settings));
    EXPECT_TRUE(unknown.MessageText().contains(QStringLiteral("見つかりません"))) << unknown.MessageText().toStdString();
}

TEST_F(MqttClientTest, StopWithAHundredThousandLinesQueuedAppliesOrCountsEveryOne)
{
    constexpr int kMessages = 100000;
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    // Paced as the desktop is, so that the lines pile up in the queue.
    CPacingScope paced(CPacing::Default());
    CFakeHost host;
    host.AddDocument(0);
    CMain main;
    main.m_pApp = &host;
    main.m_saveInternal = 1;
    main.m_keepInternal = 0;
    CMqttClient client(main);
    ASSERT_TRUE(client.Start(SettingsFor(broker)));
    ASSERT_TRUE(Connected(client));
    main.PrepareStoreForRun();
    main.PrepareRun();
    main.StartThreads();

    CMqttPublisher publisher;
    ASSERT_TRUE(publisher.Connect(broker.Port()));
    for (int i = 0; i < kMessages; ++i)
        publisher.Publish("q", QByteArray::number(i) + ",1", 0);
    ASSERT_TRUE(PumpUntil([&] { return client.MessageCount() == kMessages; }, 30000)) << client.MessageCount();

    const auto start = std::chrono::steady_clock::now();
    client.Stop();
    main.StopThreads();
    // Nothing waits out a pause per queued line.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(client.LineCount() + main.DiscardedLines(), kMessages);
    EXPECT_EQ(main.m_internalData.GetCount(), client.LineCount());
}
