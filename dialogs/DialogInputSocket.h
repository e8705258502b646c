#pragma once

#include <QDialog>
#include <QHostAddress>
#include <QTimer>

class CLineServer;
class CMain;
class IUserInteraction;
class QLabel;
class QPushButton;

// The TCP input window: modeless, over the line server. The run lasts from Start until
// キャンセル (also Escape or a window-manager close); then the window closes and deletes
// itself.
class CDialogInputSocket : public QDialog
{
    Q_OBJECT

public:
    CDialogInputSocket(CMain& main, IUserInteraction& ui, QWidget* parent = nullptr);
    ~CDialogInputSocket() override;

    // Listens, starts the run and shows the window. The run starts even when the port cannot
    // be opened (the window then says so, and only キャンセル is left); false in that case.
    // The desktop listens on any IPv4 address; tests pass the loopback.
    bool Start(const QHostAddress& address = QHostAddress(QHostAddress::AnyIPv4));

    CLineServer& Server() const { return *m_server; }
    // The texts as shown (they follow the server within a fraction of a second).
    QString ProgressText() const;
    QString MessageText() const;
    bool IsClosing() const { return m_closing; }

public Q_SLOTS:
    // Stops the run once: closes every connection and the listener, waits for the pipeline
    // to apply every line received, shows a failed capture, then closes the window.
    void OnCancel();

    void accept() override {}
    void reject() override { OnCancel(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RefreshTexts();

    CMain& m_main;
    IUserInteraction& m_ui;
    CLineServer* m_server;
    QLabel* m_progress;
    QLabel* m_message;
    QPushButton* m_cancel;
    QTimer m_refresh;
    bool m_started = false;
    // Set first thing by キャンセル: every button, key and close request returns at once.
    bool m_closing = false;
    bool m_stopped = false;
};
