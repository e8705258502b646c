#include "dialogs/DialogInputSocket.h"

#include "pipeline/Pacing.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"
#include "sources/LineServer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The wait at キャンセル serves the document workers' notifications, but no click or key
// may start anything meanwhile.
void PumpWithoutUserInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// A few text updates per second are all a person can read, whatever the line rate.
constexpr int kRefreshMs = 50;

} // namespace

CDialogInputSocket::CDialogInputSocket(CMain& main, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_main(main), m_ui(ui), m_server(new CLineServer(main, this))
{
    setWindowTitle(QStringLiteral("TCP-IP通信入力処理"));
    setAccessibleName(windowTitle());
    // No close box; キャンセル ends the run.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* port = new QLabel(QStringLiteral("ポート番号＝57077"), this);
    auto* howTo = new QLabel(QStringLiteral("一行づつ改行コードなしで送信する"), this);
    m_progress = new QLabel(QStringLiteral("X行入力済"), this);
    m_message = new QLabel(QStringLiteral("Errメッセージ"), this);
    m_progress->setMinimumWidth(m_progress->fontMetrics().horizontalAdvance(QStringLiteral("0000000000行入力済")));
    m_message->setMinimumWidth(m_message->fontMetrics().horizontalAdvance(QStringLiteral("サイズオーバー!!<5個接続中> [過負荷のため0000000行を破棄]")));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    // Enter does nothing in this window.
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CDialogInputSocket::OnCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(port);
    layout->addWidget(howTo);
    layout->addSpacing(6);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &CDialogInputSocket::RefreshTexts);
    connect(m_server, &CLineServer::textsChanged, this, [this] {
        if (!m_refresh.isActive())
            m_refresh.start();
    });
}

CDialogInputSocket::~CDialogInputSocket()
{
    // A window destroyed with its owner while the run goes on still ends it.
    if (m_started && !m_stopped) {
        m_server->Close();
        m_main.StopThreads();
    }
}

bool CDialogInputSocket::Start(const QHostAddress& address)
{
    if (m_started)
        return m_server->IsListening();
    const bool up = m_server->Listen(address, kLineServerPort);
    m_main.PrepareStoreForRun();
    m_main.PrepareRun();
    m_main.StartThreads();
    m_started = true;
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

void CDialogInputSocket::RefreshTexts()
{
    m_progress->setText(m_server->ProgressText());
    m_message->setText(MessageLine(m_server->MessageText(), m_main.DiscardedLines()));
}

void CDialogInputSocket::OnCancel()
{
    if (m_closing)
        return;
    m_closing = true;
    m_cancel->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_server->Close();
    if (m_started) {
        const MessagePump previous = GetMessagePump();
        SetMessagePump(&PumpWithoutUserInput);
        m_main.StopThreads();
        SetMessagePump(previous);
    }
    m_stopped = true;
    QGuiApplication::restoreOverrideCursor();
    m_refresh.stop();
    RefreshTexts();

    QString error;
    if (m_main.CaptureFailed(&error))
        m_ui.ShowError(error);
    done(QDialog::Rejected);
}

void CDialogInputSocket::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        OnCancel();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CDialogInputSocket::closeEvent(QCloseEvent* event)
{
    if (m_stopped) {
        event->accept();
        return;
    }
    // A window manager's close runs キャンセル, after this event has returned.
    event->ignore();
    if (!m_closing)
        QMetaObject::invokeMethod(this, &CDialogInputSocket::OnCancel, Qt::QueuedConnection);
}
