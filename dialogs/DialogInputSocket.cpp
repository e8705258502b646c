#include "dialogs/DialogInputSocket.h"

#include "runtime/Main.h"
#include "sources/LineServer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CDialogInputSocket::CDialogInputSocket(CMain& main, IUserInteraction& ui, QWidget* parent)
    : CLiveInputWindow(main, ui, parent), m_server(new CLineServer(main, this))
{
    setWindowTitle(QStringLiteral("TCP-IP通信入力処理"));
    setAccessibleName(windowTitle());

    auto* port = new QLabel(QStringLiteral("ポート番号＝57077"), this);
    auto* howTo = new QLabel(QStringLiteral("一行づつ改行コードなしで送信する"), this);
    m_progress = new QLabel(QStringLiteral("X行入力済"), this);
    m_message = new QLabel(QStringLiteral("Errメッセージ"), this);
    m_progress->setMinimumWidth(m_progress->fontMetrics().horizontalAdvance(QStringLiteral("0000000000行入力済")));
    m_message->setMinimumWidth(m_message->fontMetrics().horizontalAdvance(QStringLiteral("サイズオーバー!!<5個接続中> [過負荷のため0000000行を破棄]")));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(port);
    layout->addWidget(howTo);
    layout->addSpacing(6);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_server, &CLineServer::textsChanged, this, &CDialogInputSocket::RefreshSoon);
}

CDialogInputSocket::~CDialogInputSocket()
{
    StopIfRunning();
}

bool CDialogInputSocket::Start(const QHostAddress& address)
{
    if (IsStarted())
        return m_server->IsListening();
    const bool up = m_server->Listen(address, kLineServerPort);
    StartPipeline();
    RefreshTexts();
    show();
    return up;
}

QString CDialogInputSocket::ProgressText() const
{
    return m_progress->text();
}

QString CDialogInputSocket::MessageText() const
{
    return m_message->text();
}

void CDialogInputSocket::StopSource()
{
    m_server->Close();
}

void CDialogInputSocket::RefreshTexts()
{
    m_progress->setText(m_server->ProgressText());
    m_message->setText(MessageLine(m_server->MessageText(), m_main.DiscardedLines()));
}
