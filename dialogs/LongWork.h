#pragma once

#include "platform/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

// The progress window of work that may take longer than half a second. It shows itself only
// once the work has run for 500 ms, so short work never flickers a window.
//
// Work on the UI thread hands Callback() to the core function: each report moves the bar and
// serves the application's events at most every 50 ms. Until the window shows, user input
// waits (nothing may start other work on the same data); once it shows, it is modal and
// only its own button answers. Work that runs elsewhere reports through Report() from its
// progress signal with pumping off.
class CLongWork
{
public:
    CLongWork(QWidget* parent, const QString& caption, bool cancellable);
    ~CLongWork();
    CLongWork(const CLongWork&) = delete;
    CLongWork& operator=(const CLongWork&) = delete;

    ProgressCallback Callback();
    // False once the user pressed キャンセル (always true without that button).
    bool Report(int64_t done, int64_t total);
    // Whether a report returned false: the work was stopped, which is neither a failure nor
    // a success.
    bool Stopped() const { return m_stopped; }
    // The window serves events itself (work on the UI thread) or leaves that to the caller's
    // event loop (work reported by signals).
    void SetPumping(bool pump) { m_pump = pump; }
    QProgressDialog* Dialog() const;

    // Tests: called with the window on every report, before the button is looked at, as a
    // user's click would arrive then.
    using Hook = std::function<void(QProgressDialog&, int64_t done, int64_t total)>;
    static void SetHook(Hook hook);

    static constexpr int kShowAfterMs = 500;
    static constexpr int kPumpEveryMs = 50;

private:
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_sincePump;
    bool m_cancellable;
    bool m_pump = true;
    bool m_stopped = false;
};
