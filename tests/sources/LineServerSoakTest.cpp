// Five clients feed a running pipeline with two documents through the line server, event
// driven: every line reaches every document once and in its client's order, the store and
// the capture file hold them all. Each client sends its next line once the server has read
// the previous one, so that every send stays one line.
#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "tests/runtime/RunSupport.h"
#include "tests/support/TcpClient.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kClients = 5;
constexpr int kLinesPerClient = 10000;

// Runs on the document's worker, the only writer until the run has stopped.
class CCollectingNotifier : public IDocumentNotifier
{
public:
    void OnDocData(CVantrelDoc&, const CDocData& item) override
    {
        m_lines.push_back(item.m_fields.toStringList().join(QLatin1Char(',')));
    }
    std::vector<QString> m_lines;
};

// Lines read per client, keyed by the client's port.
class CReadCounts
{
public:
    void Add(quint16 port)
    {
        {
            std::lock_guard lock(m_lock);
            ++m_counts[port];
        }
        m_changed.notify_all();
    }
    bool WaitFor(quint16 port, int64_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_counts[port] >= count; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<quint16, int64_t> m_counts;
};

// Every line "client,index" once, each client's in order.
void ExpectEveryLineOnceInClientOrder(const std::vector<QString>& lines, const char* what)
{
    ASSERT_EQ(lines.size(), size_t(kClients * kLinesPerClient)) << what;
    int next[kClients] = {};
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char(','));
        ASSERT_EQ(parts.size(), 2) << what << ": " << line.toStdString();
        const int client = parts[0].toInt();
        ASSERT_TRUE(client >= 0 && client < kClients) << what;
        ASSERT_EQ(parts[1].toInt(), next[client]++) << what << ": client " << client;
    }
}

} // namespace

TEST(LineServerSoak, FiveClientsTenThousandLinesEachReachEverything)
{
    const auto start = std::chrono::steady_clock::now();
    CPacing pacing = CPacing::Unpaced();
    pacing.m_waitForWork = true;
    pacing.feedIdleUs = 100; // document workers that still poll
    CPacingScope pacingScope(pacing);

    CFakeHost host;
    CCollectingNotifier notifiers[2];
    host.AddDocument(0).m_notifier = &notifiers[0];
    host.AddDocument(1).m_notifier = &notifiers[1];

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString capturePath = dir.filePath(QStringLiteral("capture.csv"));
    CMain main;
    main.m_pApp = &host;
    main.m_saveCsv = 1;
    main.m_saveInternal = 1;
    main.m_keepInternal = 0;
    ASSERT_TRUE(main.OpenCaptureFileAt(capturePath, false));

    CLineServer server(main);
    ASSERT_TRUE(server.Listen(QHostAddress(QHostAddress::LocalHost)));
    CReadCounts counts;
    QObject::connect(&server, &CLineServer::lineReceived, [&](quint16 port) { counts.Add(port); });

    main.PrepareStoreForRun();
    main.PrepareRun();
    main.StartThreads();

    std::atomic<int> finished{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            CTcpClient client;
            if (!client.Connect(kLineServerPort)) {
                failed = true;
            } else {
                const quint16 port = client.LocalPort();
                for (int i = 0; i < kLinesPerClient && !failed; ++i) {
                    if (!client.Send(QStringLiteral("%1,%2").arg(c).arg(i).toLatin1()) || !counts.WaitFor(port, i + 1))
                        failed = true;
                }
            }
            ++finished;
        });
    }
    const bool done = PumpUntil([&] { return finished == kClients; }, 25000);
    failed = failed || !done;
    for (std::thread& t : clients)
        t.join();
    server.Close();
    main.StopThreads();
    ASSERT_FALSE(failed);

    EXPECT_EQ(server.LineCount(), kClients * kLinesPerClient);
    EXPECT_EQ(main.DiscardedLines(), 0);
    ExpectEveryLineOnceInClientOrder(notifiers[0].m_lines, "first document");
    ExpectEveryLineOnceInClientOrder(notifiers[1].m_lines, "second document");
    EXPECT_EQ(notifiers[0].m_lines, notifiers[1].m_lines);

    ASSERT_EQ(main.m_internalData.GetCount(), kClients * kLinesPerClient);
    std::vector<QString> stored;
    for (int64_t i = 0; i < main.m_internalData.GetCount(); ++i)
        stored.push_back(main.m_internalData.GetAt(i).toStringList().join(QLatin1Char(',')));
    EXPECT_EQ(stored, notifiers[0].m_lines);

    QString captured = QString::fromLatin1(ReadAll(capturePath));
    ASSERT_TRUE(captured.endsWith(QLatin1String("\r\n")));
    captured.chop(2);
    const QStringList capturedLines = captured.split(QLatin1String("\r\n"));
    EXPECT_EQ(std::vector<QString>(capturedLines.begin(), capturedLines.end()), notifiers[0].m_lines);
    EXPECT_FALSE(main.CaptureFailed());

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}
