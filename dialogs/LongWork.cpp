#include "dialogs/LongWork.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>
#include <cstdint>

namespace {

// The bar's own range: QProgressDialog counts in int, the work in int64.
constexpr int kBarRange = 10000;

CLongWork::Hook& TestHook()
{
    static CLongWork::Hook hook;
    return hook;
}

} // namespace

CLongWork::CLongWork(QWidget* parent, const QString& caption, bool cancellable)
    : m_cancellable(cancellable)
{
    m_dialog = new QProgressDialog(caption, cancellable ? QStringLiteral("キャンセル") : QString(), 0, kBarRange, parent);
    m_dialog->setWindowTitle(QStringLiteral("Vantrel"));
    m_dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    if (!cancellable)
        m_dialog->setCancelButton(nullptr);
    m_dialog->setMinimumDuration(kShowAfterMs);
    // Value 0 starts the clock after which the window shows.
    m_dialog->setValue(0);
    m_sincePump.start();
}

CLongWork::~CLongWork()
{
    if (!m_dialog)
        return;
    m_dialog->hide();
    // Later: the end of the work may be reported from the window's own cancel signal.
    m_dialog->deleteLater();
}

ProgressCallback CLongWork::Callback()
{
    return [this](int64_t done, int64_t total) { return Report(done, total); };
}

bool CLongWork::Report(int64_t done, int64_t total)
{
    if (!m_dialog)
        return !m_stopped;
    if (total > 0) {
        const int64_t clamped = std::clamp<int64_t>(done, 0, total);
        // Done first scaled down where the product would not fit.
        const int64_t value = total > (INT64_MAX / kBarRange) ? clamped / (total / kBarRange) : clamped * kBarRange / total;
        const int bar = static_cast<int>(std::min<int64_t>(value, kBarRange));
        if (bar != m_dialog->value())
            m_dialog->setValue(bar);
    }
    if (m_pump && m_sincePump.elapsed() >= kPumpEveryMs) {
        m_sincePump.restart();
        // Before the window shows, a click would reach the main window unblocked.
        QCoreApplication::processEvents(m_dialog->isVisible() ? QEventLoop::AllEvents
                                                              : QEventLoop::ExcludeUserInputEvents);
    }
    if (TestHook() && m_dialog)
        TestHook()(*m_dialog, done, total);
    if (m_cancellable && m_dialog && m_dialog->wasCanceled())
        m_stopped = true;
    return !m_stopped;
}

void CLongWork::SetHook(Hook hook)
{
    TestHook() = std::move(hook);
}

QProgressDialog* CLongWork::Dialog() const
{
    return m_dialog;
}
