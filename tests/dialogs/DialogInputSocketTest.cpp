// The TCP input window over a running pipeline with two documents, on port 57077 of the
// loopback (these tests share a lock).
#include "dialogs/DialogInputSocket.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "tests/runtime/RunSupport.h"
#include "tests/support/TcpClient.h"

#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>

namespace {

// Runs on the document's worker; read after the run has stopped.
class CCountingNotifier : public IDocumentNotifier
{
public:
    void OnDocData(CVantrelDoc&, const CDocData& item) override { m_lines.append(item.m_fields.toStringList().join(QLatin1Char(','))); }
    QStringList m_lines;
};

class DialogInputSocketTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    CFakeHost m_host;
    CCountingNotifier m_notifiers[2];
    CMain m_main;
    CScriptedInteraction m_ui;
    QPointer<CDialogInputSocket> m_dialog;
    int m_finished = 0;
    int64_t m_received = 0;

    void SetUp() override
    {
        m_host.AddDocument(0).m_notifier = &m_notifiers[0];
        m_host.AddDocument(1).m_notifier = &m_notifiers[1];
        m_main.m_pApp = &m_host;
        m_main.m_keepInternal = 0;
        m_dialog = new CDialogInputSocket(m_main, m_ui);
        QObject::connect(m_dialog, &QDialog::finished, [this] { ++m_finished; });
        QObject::connect(&m_dialog->Server(), &CLineServer::lineReceived, [this] { ++m_received; });
    }

    void TearDown() override { delete m_dialog; }

    void SendOne(CTcpClient& client, const QByteArray& bytes)
    {
        const int64_t before = m_received;
        ASSERT_TRUE(client.Send(bytes));
        ASSERT_TRUE(PumpUntil([&] { return m_received > before; }));
    }

    // The window is gone once its deferred deletion ran.
    bool Gone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return m_dialog.isNull();
    }
};

} // namespace

TEST_F(DialogInputSocketTest, CancelStopsTheRunWithEveryReceivedLineApplied)
{
    ASSERT_TRUE(m_dialog->Start(QHostAddress(QHostAddress::LocalHost)));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("TCP-IP通信入力処理"));
    EXPECT_EQ(m_dialog->ProgressText(), QStringLiteral("未入力"));
    EXPECT_EQ(m_dialog->MessageText(), QStringLiteral("未接続"));
    EXPECT_TRUE(m_main.IsAnyDocumentBusy());

    CTcpClient client;
    ASSERT_TRUE(client.Connect(kLineServerPort));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->MessageText() == QStringLiteral("1個接続中"); }));
    for (int i = 0; i < 3; ++i)
        SendOne(client, QByteArray::number(i) + ",x");
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->ProgressText() == QStringLiteral("3行入力済"); }));
    // Enter does nothing.
    QTest::keyClick(m_dialog, Qt::Key_Return);
    EXPECT_FALSE(m_dialog->IsClosing());

    // Lines the worker may not have taken yet are applied all the same.
    for (int i = 3; i < 200; ++i)
        SendOne(client, QByteArray::number(i) + ",x");
    QTest::mouseClick(m_dialog->findChild<QPushButton*>(), Qt::LeftButton);

    EXPECT_EQ(m_finished, 1);
    EXPECT_TRUE(Gone());
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    EXPECT_TRUE(client.IsClosedByPeer());
    EXPECT_EQ(m_main.m_internalData.GetCount(), 200);
    for (const CCountingNotifier& n : m_notifiers) {
        ASSERT_EQ(n.m_lines.size(), 200);
        EXPECT_EQ(n.m_lines.front(), QStringLiteral("0,x"));
        EXPECT_EQ(n.m_lines.back(), QStringLiteral("199,x"));
    }
    EXPECT_TRUE(m_ui.calls.empty());
}

TEST_F(DialogInputSocketTest, EscapeAndWindowCloseRunCancelOnce)
{
    const std::function<void(CDialogInputSocket*)> triggers[] = {
        [](CDialogInputSocket* d) { QTest::keyClick(d, Qt::Key_Escape); },
        [](CDialogInputSocket* d) { d->close(); },
    };
    for (const auto& trigger : triggers) {
        if (!m_dialog) {
            m_dialog = new CDialogInputSocket(m_main, m_ui);
            QObject::connect(m_dialog, &QDialog::finished, [this] { ++m_finished; });
        }
        m_finished = 0;
        m_dialog->Start(QHostAddress(QHostAddress::LocalHost));
        // A close request and a key already queued when the stop begins change nothing.
        QCoreApplication::postEvent(m_dialog, new QCloseEvent);
        trigger(m_dialog);
        QTest::keyClick(m_dialog, Qt::Key_Escape);
        ASSERT_TRUE(PumpUntil([&] { return m_finished > 0; }));
        EXPECT_EQ(m_finished, 1);
        EXPECT_TRUE(Gone());
        EXPECT_FALSE(m_main.IsWorkerRunning());
        EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    }
}

TEST_F(DialogInputSocketTest, PortInUseStillRunsUntilCancel)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress(QHostAddress::LocalHost), kLineServerPort));
    EXPECT_FALSE(m_dialog->Start(QHostAddress(QHostAddress::LocalHost)));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->ProgressText(), QStringLiteral("通信エラー"));
    EXPECT_EQ(m_dialog->MessageText(), QStringLiteral("閉じてください"));
    EXPECT_TRUE(m_main.IsWorkerRunning());
    m_dialog->OnCancel();
    EXPECT_EQ(m_finished, 1);
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
}

TEST_F(DialogInputSocketTest, DroppedLinesAndCaptureFailureAreShown)
{
    m_main.m_saveCsv = 1;
    ASSERT_TRUE(m_main.OpenCaptureFileAt(QStringLiteral("/dev/full"), false));
    ASSERT_TRUE(m_dialog->Start(QHostAddress(QHostAddress::LocalHost)));
    CTcpClient client;
    ASSERT_TRUE(client.Connect(kLineServerPort));
    SendOne(client, "kept");
    ASSERT_TRUE(PumpUntil([&] { return m_main.CaptureFailed(); }));
    // A full queue from here on: the next lines are dropped and counted.
    m_main.m_lineQueueLimit = 0;
    SendOne(client, "dropped");
    SendOne(client, "dropped");
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->MessageText().contains(QStringLiteral("2行")); }));
    EXPECT_TRUE(m_dialog->MessageText().startsWith(QStringLiteral("1個接続中")));
    EXPECT_EQ(m_dialog->ProgressText(), QStringLiteral("1行入力済"));
    EXPECT_TRUE(m_ui.calls.empty());

    m_dialog->OnCancel();
    ASSERT_EQ(m_ui.calls.size(), 1u);
    EXPECT_EQ(m_ui.calls[0].text, QStringLiteral("CSVファイル出力失敗!"));
    EXPECT_EQ(m_ui.calls[0].icon, MessageIcon::Stop);
    EXPECT_EQ(m_notifiers[0].m_lines, QStringList{QStringLiteral("kept")});
}
