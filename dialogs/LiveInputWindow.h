#pragma once

#include <QDialog>
#include <QTimer>

class CMain;
class IUserInteraction;
class QPushButton;

// What the live input windows share: modeless, they own the run from Start until キャンセル
// (also Escape or a window-manager close), then close and delete themselves. Enter does
// nothing. A window shows its source's texts a few times a second at most.
class CLiveInputWindow : public QDialog
{
    Q_OBJECT

public:
    bool IsClosing() const { return m_closing; }

public Q_SLOTS:
    // Stops the run once: ends the source, waits for the pipeline to apply every line
    // received, shows a failed capture, then closes the window.
    void OnCancel();

    void accept() override {}
    void reject() override { OnCancel(); }

protected:
    CLiveInputWindow(CMain& main, IUserInteraction& ui, QWidget* parent);

    // Ends the source for good: no line is pushed after it returns.
    virtual void StopSource() = 0;
    virtual void RefreshTexts() = 0;

    // The pipeline's part of the start.
    void StartPipeline();
    // For the destructors: a window destroyed with its owner while the run goes on still
    // ends it (virtual calls do not reach a derived class from the base destructor).
    void StopIfRunning();
    // The texts within the refresh interval; once per interval however often it is asked.
    void RefreshSoon();
    // For sources that do not signal every change: the texts every interval until the stop.
    void RefreshContinuously();

    bool IsStarted() const { return m_started; }
    QPushButton* CancelButton() const { return m_cancel; }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    CMain& m_main;
    IUserInteraction& m_ui;

private:
    QPushButton* m_cancel;
    QTimer m_refresh;
    bool m_started = false;
    // Set first thing by キャンセル: every button, key and close request returns at once.
    bool m_closing = false;
    bool m_stopped = false;
};
