#include "dialogs/LiveInputWindow.h"

#include "pipeline/Pacing.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

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

CLiveInputWindow::CLiveInputWindow(CMain& main, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_main(main), m_ui(ui), m_cancel(new QPushButton(QStringLiteral("キャンセル"), this))
{
    // No close box; キャンセル ends the run.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    // Enter does nothing in these windows.
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CLiveInputWindow::OnCancel);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] { RefreshTexts(); });
}

void CLiveInputWindow::StartPipeline()
{
    m_main.PrepareStoreForRun();
    m_main.PrepareRun();
    m_main.StartThreads();
    m_started = true;
}

void CLiveInputWindow::StopIfRunning()
{
    if (m_started && !m_stopped) {
        StopSource();
        m_main.StopThreads();
    }
}

void CLiveInputWindow::RefreshSoon()
{
    if (!m_closing && !m_refresh.isActive())
        m_refresh.start();
}

void CLiveInputWindow::RefreshContinuously()
{
    m_refresh.setSingleShot(false);
    m_refresh.start();
}

void CLiveInputWindow::OnCancel()
{
    if (m_closing)
        return;
    m_closing = true;
    m_cancel->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    StopSource();
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

void CLiveInputWindow::keyPressEvent(QKeyEvent* event)
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

void CLiveInputWindow::closeEvent(QCloseEvent* event)
{
    if (m_stopped) {
        event->accept();
        return;
    }
    // A window manager's close runs キャンセル, after this event has returned.
    event->ignore();
    if (!m_closing)
        QMetaObject::invokeMethod(this, &CLiveInputWindow::OnCancel, Qt::QueuedConnection);
}
