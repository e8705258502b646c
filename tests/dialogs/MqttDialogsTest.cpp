// The MQTT settings dialog, and the MQTT input window over a running pipeline with two
// documents against a broker of its own (started on a free port of the loopback).
#include "dialogs/DialogInputMqtt.h"
#include "dialogs/DialogMqttSettings.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"
#include "sources/MqttClient.h"
#include "tests/runtime/RunSupport.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TcpClient.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

namespace {

QLineEdit* Edit(const CDialogMqttSettings& dialog, MqttField field)
{
    return qobject_cast<QLineEdit*>(dialog.Field(field));
}

} // namespace

TEST(MqttSettingsDialog, OkRefusesTheFirstBadFieldAndFocusesIt)
{
    struct Case
    {
        std::function<void(CDialogMqttSettings&)> edit;
        MqttField field;
    };
    const Case cases[] = {
        {[](CDialogMqttSettings& d) { Edit(d, MqttField::Host)->setText(QStringLiteral("  ")); }, MqttField::Host},
        {[](CDialogMqttSettings& d) { Edit(d, MqttField::TopicFilter)->setText(QStringLiteral("plant/#/a")); }, MqttField::TopicFilter},
        {[](CDialogMqttSettings& d) { Edit(d, MqttField::TopicFilter)->setText(QString()); }, MqttField::TopicFilter},
        {[](CDialogMqttSettings& d) { Edit(d, MqttField::ClientId)->clear(); }, MqttField::ClientId},
        // A password alone: the user name it needs is where the focus goes.
        {[](CDialogMqttSettings& d) { d.PasswordEdit()->setText(QStringLiteral("secret")); }, MqttField::UserName},
    };
    CScriptedInteraction ui;
    for (const Case& c : cases) {
        CDialogMqttSettings dialog(ui);
        c.edit(dialog);
        const size_t before = ui.calls.size();
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_EQ(ui.calls.size(), before + 1);
        EXPECT_EQ(ui.calls.back().icon, MessageIcon::Information);
        EXPECT_EQ(ui.calls.back().text, CheckMqttSettings(dialog.Values()));
        EXPECT_EQ(dialog.focusWidget(), dialog.Field(c.field)) << ui.calls.back().text.toStdString();
    }
}

TEST(MqttSettingsDialog, OkReturnsTheSettingsAsTyped)
{
    CScriptedInteraction ui;
    CDialogMqttSettings dialog(ui);
    CMqttSettings remembered;
    remembered.m_userName = QStringLiteral("前の利用者");
    dialog.SetValues(remembered);
    EXPECT_EQ(dialog.Values(), remembered);
    EXPECT_EQ(dialog.EncodingBox()->currentText(), QStringLiteral("Shift-JIS (CP932)"));
    EXPECT_EQ(dialog.PasswordEdit()->echoMode(), QLineEdit::Password);

    Edit(dialog, MqttField::Host)->setText(QStringLiteral(" broker.local "));
    qobject_cast<QSpinBox*>(dialog.Field(MqttField::Port))->setValue(8883);
    Edit(dialog, MqttField::TopicFilter)->setText(QStringLiteral("plant/+/温度"));
    qobject_cast<QComboBox*>(dialog.Field(MqttField::Qos))->setCurrentIndex(1);
    Edit(dialog, MqttField::ClientId)->setText(QStringLiteral("panel-1"));
    Edit(dialog, MqttField::UserName)->setText(QStringLiteral("operator"));
    dialog.PasswordEdit()->setText(QStringLiteral("secret"));
    dialog.EncodingBox()->setCurrentIndex(1);
    dialog.TopicFirstBox()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.calls.empty());

    CMqttSettings expected;
    expected.m_host = QStringLiteral("broker.local");
    expected.m_port = 8883;
    expected.m_topicFilter = QStringLiteral("plant/+/温度");
    expected.m_qos = 1;
    expected.m_clientId = QStringLiteral("panel-1");
    expected.m_userName = QStringLiteral("operator");
    expected.m_password = QStringLiteral("secret");
    expected.m_utf8 = true;
    expected.m_topicFirst = true;
    EXPECT_EQ(dialog.Values(), expected);

    // Every mnemonic reaches one field only.
    std::set<QChar> keys;
    QStringList captions;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        captions << label->text();
    captions << dialog.TopicFirstBox()->text();
    for (const QString& caption : captions) {
        const qsizetype amp = caption.indexOf(u'&');
        ASSERT_GE(amp, 0) << caption.toStdString();
        EXPECT_TRUE(keys.insert(caption.at(amp + 1).toUpper()).second) << caption.toStdString();
    }
}

namespace {

// Runs on the document's worker; read after the run has stopped.
class CCountingNotifier : public IDocumentNotifier
{
public:
    void OnDocData(CVantrelDoc&, const CDocData&) override { ++m_lines; }
    int64_t m_lines = 0;
};

class MqttWindowTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    CFakeHost m_host;
    CCountingNotifier m_notifiers[2];
    CMain m_main;
    CScriptedInteraction m_ui;
    QPointer<CDialogInputMqtt> m_dialog;
    int m_finished = 0;

    void SetUp() override
    {
        m_host.AddDocument(0).m_notifier = &m_notifiers[0];
        m_host.AddDocument(1).m_notifier = &m_notifiers[1];
        m_main.m_pApp = &m_host;
        m_main.m_saveInternal = 1;
        m_main.m_keepInternal = 0;
        m_dialog = new CDialogInputMqtt(m_main, m_ui);
        QObject::connect(m_dialog, &QDialog::finished, [this] { ++m_finished; });
    }

    void TearDown() override { delete m_dialog; }

    static CMqttSettings SettingsFor(const CMqttBroker& broker)
    {
        CMqttSettings s;
        s.m_host = QStringLiteral("127.0.0.1");
        s.m_port = broker.Port();
        s.m_topicFilter = QStringLiteral("vantrel/#");
        s.m_qos = 1;
        return s;
    }

    int64_t QueuedLines()
    {
        std::lock_guard lock(m_main.m_queueLock);
        return int64_t(m_main.m_lineQueue.size());
    }

    // The window is gone once its deferred deletion ran.
    bool Gone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return m_dialog.isNull();
    }
};

} // namespace

TEST_F(MqttWindowTest, ShowsTheConnectionAndLinesAndCancelAppliesEveryQueuedLine)
{
    if (!CMqttBroker::Available())
        GTEST_SKIP() << "mosquitto is not installed";
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(m_dialog->Start(SettingsFor(broker)));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("MQTT入力処理"));
    EXPECT_EQ(m_dialog->BrokerText(), QStringLiteral("ブローカー＝127.0.0.1:%1").arg(broker.Port()));
    EXPECT_EQ(m_dialog->TopicText(), QStringLiteral("トピックフィルタ＝vantrel/#"));
    EXPECT_EQ(m_dialog->ProgressText(), QStringLiteral("未入力"));
    EXPECT_TRUE(m_main.IsAnyDocumentBusy());
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->MessageText().contains(QStringLiteral("に接続しました")); }, 10000))
        << m_dialog->MessageText().toStdString();

    CMqttPublisher publisher;
    ASSERT_TRUE(publisher.Connect(broker.Port()));
    for (int i = 0; i < 3; ++i)
        publisher.Publish("vantrel/a", QByteArray::number(i) + ",x");
    publisher.Publish("elsewhere", "not subscribed");
    ASSERT_TRUE(publisher.WaitAcked());
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->ProgressText() == QStringLiteral("3行入力済"); }))
        << m_dialog->ProgressText().toStdString();
    // Enter does nothing.
    QTest::keyClick(m_dialog, Qt::Key_Return);
    EXPECT_FALSE(m_dialog->IsClosing());

    // Paced as the desktop is, the lines pile up in the queue; キャンセル still ends in
    // bounded time with every one of them applied (or counted, had the queue been full).
    constexpr int kFlood = 20000;
    CPacingScope paced(CPacing::Default());
    for (int i = 0; i < kFlood; ++i)
        publisher.Publish("vantrel/b", QByteArray::number(i) + ",y", 0);
    ASSERT_TRUE(PumpUntil([&] { return m_dialog->Client().MessageCount() == 3 + kFlood; }, 30000))
        << m_dialog->Client().MessageCount();
    EXPECT_GT(QueuedLines(), 0);
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(m_dialog->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    EXPECT_EQ(m_finished, 1);
    ASSERT_FALSE(m_dialog.isNull());
    const int64_t applied = m_dialog->Client().LineCount();
    EXPECT_EQ(applied + m_main.DiscardedLines(), 3 + kFlood);
    EXPECT_EQ(m_dialog->ProgressText(), QStringLiteral("%1行入力済").arg(applied));
    EXPECT_TRUE(Gone());
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
    EXPECT_EQ(m_main.m_internalData.GetCount(), applied);
    for (const CCountingNotifier& n : m_notifiers)
        EXPECT_EQ(n.m_lines, applied);
    EXPECT_TRUE(m_ui.calls.empty());
}

TEST_F(MqttWindowTest, SettingsTheClientRefusesLeaveOnlyCancel)
{
    CMqttSettings settings;
    settings.m_topicFilter = QStringLiteral("a/#/b");
    EXPECT_FALSE(m_dialog->Start(settings));
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->MessageText(), CheckMqttSettings(settings));
    EXPECT_TRUE(m_main.IsWorkerRunning());
    QTest::keyClick(m_dialog, Qt::Key_Escape);
    EXPECT_EQ(m_finished, 1);
    EXPECT_TRUE(Gone());
    EXPECT_FALSE(m_main.IsAnyDocumentBusy());
}
