#include "tests/cli/CliRunner.h"
#include "tests/support/ServeProcess.h"
#include "tests/support/TcpClient.h"
#include "tests/support/TestSupport.h"
#include "tests/web/WebDriver.h"

#include <QJsonArray>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kDemo = QStringLiteral(VANTREL_DEMO_DIR);

int DifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

// Headless Chromium opens the page with the token in its address while demo lines arrive
// over TCP: the picture it shows follows the data, and its console stays free of errors.
TEST(Browser, ThePageFollowsTheDataWithoutConsoleErrors)
{
    if (!CWebDriver::IsInstalled())
        GTEST_SKIP() << "chromium and chromium-driver are not installed (./test installs them)";

    CServeProcess serve;
    ASSERT_TRUE(serve.Start(QStringLiteral(VANTREL_CLI_PATH),
                            {QStringLiteral("serve"), kDemo + QStringLiteral("/demo.t2"), QStringLiteral("--tcp"),
                             QStringLiteral("--size"), QStringLiteral("800x450"), QStringLiteral("--http"),
                             QStringLiteral("127.0.0.1:0"), QStringLiteral("--token"), QStringLiteral("browser-test-token"),
                             QStringLiteral("--fps"), QStringLiteral("20")},
                            ChildEnvironment()));
    CWebDriver browser;
    ASSERT_TRUE(browser.Start(QSize(1000, 600))) << browser.LastError().toStdString();
    ASSERT_TRUE(browser.Navigate(serve.Url(QStringLiteral("/"), true)));
    const auto pictureShown = [&] {
        return browser.Execute(QStringLiteral("return document.getElementById('frame').naturalWidth")).toInt() == 800;
    };
    ASSERT_TRUE(PumpUntil(pictureShown, 30000));
    // The token went into our cookie and out of the address.
    EXPECT_EQ(browser.Execute(QStringLiteral("return location.search")).toString(), QString());
    const QImage before = browser.Screenshot();
    ASSERT_FALSE(before.isNull());

    const QList<QByteArray> lines = ReadAll(kDemo + QStringLiteral("/demo.csv")).split('\n');
    ASSERT_GT(lines.size(), 200);
    CTcpClient tcp;
    ASSERT_TRUE(tcp.Connect(57077));
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(tcp.Send(lines[i].trimmed()));
        QThread::msleep(10); // the server reads one chunk as one line
    }
    const auto status = [&] { return HttpGet(serve.Url(QStringLiteral("/status"), true)).Json(); };
    // Two sends that meet in one read make one line, which a loaded machine does now and
    // then; most arrive whole.
    ASSERT_TRUE(PumpUntil([&] { return status().value(QStringLiteral("rowsStored")).toInt() >= 100; }, 30000))
        << QJsonDocument(status()).toJson().toStdString();
    QImage after;
    EXPECT_TRUE(PumpUntil(
        [&] {
            after = browser.Screenshot();
            return DifferentPixels(before, after) > 1000;
        },
        30000));
    EXPECT_GE(status().value(QStringLiteral("framesSent")).toInt(), 2);
    EXPECT_EQ(status().value(QStringLiteral("viewers")).toInt(), 1);

    for (const QJsonValue& entry : browser.ConsoleEntries()) {
        const QJsonObject e = entry.toObject();
        EXPECT_NE(e.value(QStringLiteral("level")).toString(), QStringLiteral("SEVERE"))
            << e.value(QStringLiteral("message")).toString().toStdString();
    }
    tcp.Close();
    EXPECT_EQ(serve.Stop(), 0);
}

} // namespace
