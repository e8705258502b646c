#include "sources/LiveWebServer.h"

#include "tests/support/HttpTestClient.h"

#include <QImage>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// A server over a picture the test paints and counts it sets.
struct CServerRig
{
    QImage m_picture = MakePicture(0);
    CLiveCounts m_counts{120, 100, 20, 2};
    std::unique_ptr<CLiveWebServer> m_server = std::make_unique<CLiveWebServer>(
        [this] { return m_picture; }, [this] { return m_counts; });

    static QImage MakePicture(int shade)
    {
        QImage image(48, 24, QImage::Format_RGB32);
        image.fill(QColor(shade % 256, 40, 200));
        image.setPixelColor(3, 5, Qt::white);
        return image;
    }
    bool Start(CWebAccess access = {}, QString* error = nullptr)
    {
        access.m_port = 0;
        return m_server->Start(access, error);
    }
    QUrl Url(const QString& path, const char* scheme = "http") const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(QLatin1String(scheme)).arg(m_server->Port()).arg(path));
    }
    void Repaint(int shade)
    {
        m_picture = MakePicture(shade);
        m_server->NotifyRepaint();
    }
};

TEST(LiveWebServer, ServesThePageThePictureAndTheCounts)
{
    CServerRig rig;
    ASSERT_TRUE(rig.Start());

    const CHttpReply page = HttpGet(rig.Url(QStringLiteral("/")));
    EXPECT_EQ(page.m_status, 200);
    EXPECT_TRUE(page.Header("Content-Type").startsWith("text/html"));
    EXPECT_TRUE(page.m_body.contains("new WebSocket("));
    EXPECT_TRUE(page.Header("Content-Security-Policy").contains("default-src 'none'"));

    const CHttpReply png = HttpGet(rig.Url(QStringLiteral("/frame.png")));
    ASSERT_EQ(png.m_status, 200);
    EXPECT_EQ(png.Header("Content-Type"), "image/png");
    EXPECT_EQ(QImage::fromData(png.m_body, "PNG").convertToFormat(QImage::Format_RGB32), rig.m_picture);

    const QJsonObject status = HttpGet(rig.Url(QStringLiteral("/status"))).Json();
    EXPECT_EQ(status.value(QStringLiteral("linesReceived")).toInteger(), 120);
    EXPECT_EQ(status.value(QStringLiteral("rowsStored")).toInteger(), 100);
    EXPECT_EQ(status.value(QStringLiteral("discardedLines")).toInteger(), 20);
    EXPECT_EQ(status.value(QStringLiteral("connectedSources")).toInteger(), 2);
    EXPECT_EQ(status.value(QStringLiteral("viewers")).toInteger(), 0);
    EXPECT_EQ(status.value(QStringLiteral("framesSent")).toInteger(), 0);

    // Anything else is unknown, and nothing is written.
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/frame.jpg"))).m_status, 404);
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/live"))).m_status, 404);
    EXPECT_EQ(HttpCall("POST", rig.Url(QStringLiteral("/status")), "{}").m_status, 405);
    EXPECT_EQ(HttpCall("PUT", rig.Url(QStringLiteral("/frame.png")), "x").m_status, 405);
    // A page elsewhere whose name was pointed at the loopback is turned away.
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/frame.png")), {{"Host", "evil.example"}}).m_status, 403);
}

TEST(LiveWebServer, ATokenGuardsEveryRequestAndTheLiveSocket)
{
    {
        CServerRig rig;
        CWebAccess open;
        open.m_address = QHostAddress(QHostAddress::AnyIPv4);
        QString error;
        EXPECT_FALSE(rig.Start(open, &error));
        EXPECT_EQ(error, QStringLiteral("an address other than the loopback needs a token"));
    }
    CServerRig rig;
    CWebAccess access;
    access.m_address = QHostAddress(QHostAddress::AnyIPv4);
    access.m_token = QStringLiteral("s3cret-token");
    ASSERT_TRUE(rig.Start(access));

    const CHttpReply refused = HttpGet(rig.Url(QStringLiteral("/status")));
    EXPECT_EQ(refused.m_status, 401);
    EXPECT_EQ(refused.Header("WWW-Authenticate"), "Bearer");
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/frame.png?token=wrong-token"))).m_status, 401);
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/")), {{"Authorization", "Bearer s3cret-tokeN"}}).m_status, 401);

    const CHttpReply page = HttpGet(rig.Url(QStringLiteral("/?token=s3cret-token")));
    EXPECT_EQ(page.m_status, 200);
    EXPECT_EQ(page.Header("Set-Cookie"), "vantrel_token=s3cret-token; Path=/; HttpOnly; SameSite=Strict");
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/status")), {{"Cookie", "a=1; vantrel_token=s3cret-token"}}).m_status, 200);
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/frame.png")), {{"Authorization", "Bearer s3cret-token"}}).m_status, 200);

    CTestViewer stranger(true), wrongPath(true), viewer(true);
    EXPECT_FALSE(stranger.Open(rig.Url(QStringLiteral("/live"), "ws")));
    EXPECT_FALSE(wrongPath.Open(rig.Url(QStringLiteral("/other?token=s3cret-token"), "ws")));
    ASSERT_TRUE(viewer.Open(rig.Url(QStringLiteral("/live"), "ws"), "vantrel_token=s3cret-token"));
    EXPECT_TRUE(PumpUntil([&] { return viewer.Frames().size() == 1; }));
    EXPECT_EQ(rig.m_server->ViewerCount(), 1);
}

TEST(LiveWebServer, ARequestOverTheSizeLimitIsRefusedAndTheServerGoesOn)
{
    CServerRig rig;
    ASSERT_TRUE(rig.Start());
    QByteArray reply;
    std::atomic<bool> answered{false};
    std::thread client([&, port = rig.m_server->Port()] {
        CTcpClient tcp;
        if (tcp.Connect(port)) {
            tcp.Send("GET /status HTTP/1.1\r\nHost: x\r\nX-Padding: " + QByteArray(1 << 20, 'a') + "\r\n\r\n");
            reply = tcp.ReceiveSome(10000);
        }
        answered = true;
    });
    PumpUntil([&] { return answered.load(); }, 15000);
    client.join();
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 413 Content Too Large\r\n")) << reply.left(80).toStdString();
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/status"))).m_status, 200);
}

TEST(LiveWebServer, ASlowViewerGetsFewerPicturesNeverABacklog)
{
    CServerRig rig;
    ASSERT_TRUE(rig.Start());
    rig.m_server->SetFramesPerSecond(100);
    CTestViewer fast(true), slow(false);
    ASSERT_TRUE(fast.Open(rig.Url(QStringLiteral("/live"), "ws")));
    ASSERT_TRUE(slow.Open(rig.Url(QStringLiteral("/live"), "ws")));
    ASSERT_TRUE(PumpUntil([&] { return fast.Frames().size() == 1 && slow.Frames().size() == 1; }));

    for (int shade = 1; shade <= 30; ++shade) {
        rig.Repaint(shade * 8);
        PumpUntil([] { return false; }, 15);
    }
    PumpUntil([] { return false; }, 100);
    EXPECT_GE(fast.Frames().size(), 10u);
    EXPECT_EQ(slow.Frames().size(), 1u);

    // Confirming brings the newest picture at once, not the ones it missed.
    slow.Confirm();
    ASSERT_TRUE(PumpUntil([&] { return slow.Frames().size() == 2; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(slow.Frames().size(), 2u);
    EXPECT_EQ(slow.Frames().back(), fast.Frames().back());
    const QImage newest = QImage::fromData(slow.Frames().back(), "JPEG");
    EXPECT_NEAR(newest.pixelColor(20, 20).red(), 240, 8); // the last shade, within JPEG's error
    EXPECT_EQ(rig.m_server->FramesSent(), int64_t(fast.Frames().size() + slow.Frames().size()));
}

TEST(LiveWebServer, TheViewerAfterTheLimitIsRefused)
{
    CServerRig rig;
    ASSERT_TRUE(rig.Start());
    std::vector<std::unique_ptr<CTestViewer>> viewers;
    for (int i = 0; i < CLiveWebServer::kMaxViewers; ++i) {
        viewers.push_back(std::make_unique<CTestViewer>(true));
        ASSERT_TRUE(viewers.back()->Open(rig.Url(QStringLiteral("/live"), "ws"))) << i;
    }
    ASSERT_TRUE(PumpUntil([&] { return rig.m_server->ViewerCount() == CLiveWebServer::kMaxViewers; }));
    CTestViewer extra(true);
    EXPECT_FALSE(extra.Open(rig.Url(QStringLiteral("/live"), "ws")));
    EXPECT_EQ(HttpGet(rig.Url(QStringLiteral("/status"))).Json().value(QStringLiteral("viewers")).toInt(), 64);

    viewers.front()->Socket().close();
    ASSERT_TRUE(PumpUntil([&] { return rig.m_server->ViewerCount() == CLiveWebServer::kMaxViewers - 1; }));
    CTestViewer next(true);
    EXPECT_TRUE(next.Open(rig.Url(QStringLiteral("/live"), "ws")));
}

} // namespace
