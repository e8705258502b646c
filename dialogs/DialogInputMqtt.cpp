#include "dialogs/DialogInputMqtt.h"

#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "sources/MqttClient.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Long filters are legal (up to 64 KiB) but must not widen the window past the screen.
constexpr int kTopicShownChars = 60;

QString Elided(const QString& text)
{
    return text.size() <= kTopicShownChars ? text : text.left(kTopicShownChars - 1) + QChar(0x2026);
}

} // namespace

CDialogInputMqtt::CDialogInputMqtt(CMain& main, IUserInteraction& ui, QWidget* parent)
    : CLiveInputWindow(main, ui, parent), m_client(new CMqttClient(main, this))
{
    setWindowTitle(QStringLiteral("MQTT入力処理"));
    setAccessibleName(windowTitle());

    m_broker = new QLabel(this);
    m_topic = new QLabel(this);
    m_progress = new QLabel(QStringLiteral("未入力"), this);
    m_message = new QLabel(this);
    // Wide enough for the usual state texts, so that the window keeps its size as they change.
    const QFontMetrics metrics = m_message->fontMetrics();
    m_progress->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("0000000000行入力済")));
    m_message->setMinimumWidth(
        metrics.horizontalAdvance(QStringLiteral("000.000.000.000:65535 に接続できません. 再試行しています... [過負荷のため0000000行を破棄]")));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_broker);
    layout->addWidget(m_topic);
    layout->addSpacing(6);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_client, &CMqttClient::stateChanged, this, &CDialogInputMqtt::RefreshSoon, Qt::QueuedConnection);
}

CDialogInputMqtt::~CDialogInputMqtt()
{
    StopIfRunning();
}

bool CDialogInputMqtt::Start(const CMqttSettings& settings)
{
    if (IsStarted())
        return m_up;
    const QString where = settings.m_host.contains(u':') ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2");
    m_broker->setText(QStringLiteral("ブローカー＝") + where.arg(settings.m_host).arg(settings.m_port));
    m_topic->setText(QStringLiteral("トピックフィルタ＝") + Elided(settings.m_topicFilter));
    // The pipeline first: the client pushes from its own thread as soon as it is connected.
    StartPipeline();
    m_up = m_client->Start(settings);
    // Line counts change without a signal per line.
    RefreshContinuously();
    RefreshTexts();
    show();
    return m_up;
}

QString CDialogInputMqtt::BrokerText() const
{
    return m_broker->text();
}

QString CDialogInputMqtt::TopicText() const
{
    return m_topic->text();
}

QString CDialogInputMqtt::ProgressText() const
{
    return m_progress->text();
}

QString CDialogInputMqtt::MessageText() const
{
    return m_message->text();
}

void CDialogInputMqtt::StopSource()
{
    m_client->Stop();
}

void CDialogInputMqtt::RefreshTexts()
{
    const int64_t lines = m_client->LineCount();
    m_progress->setText(lines > 0 ? QStringLiteral("%1行入力済").arg(lines) : QStringLiteral("未入力"));
    m_message->setText(MessageLine(m_client->MessageText(), m_main.DiscardedLines()));
}
