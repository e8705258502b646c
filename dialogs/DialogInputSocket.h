#pragma once

#include "dialogs/LiveInputWindow.h"

#include <QHostAddress>

class CLineServer;
class QLabel;

// The TCP input window, over the line server.
class CDialogInputSocket : public CLiveInputWindow
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

protected:
    // Closes every connection and the listener.
    void StopSource() override;
    void RefreshTexts() override;

private:
    CLineServer* m_server;
    QLabel* m_progress;
    QLabel* m_message;
};
