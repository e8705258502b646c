#pragma once

#include "dialogs/PlayerDialog.h"

#include <QString>

#include <cstdint>
#include <memory>

class CInternalDataPlayer;
class CLongWork;
class CMain;
class IUserInteraction;
class QLabel;
class QLineEdit;
class QPushButton;

// "内部データ入力処理": steps the stored rows through the documents, forward (PLAY), back
// (BACK) or to a row (GO). The window owns the document workers from Start to STOP.
class CDialogInputInternalData : public CPlayerDialog
{
    Q_OBJECT
public:
    CDialogInputInternalData(CMain& main, IUserInteraction& ui, QWidget* parent = nullptr);
    ~CDialogInputInternalData() override;

    // Resets and starts every document's worker and the reader, and shows the window.
    void Start();

    struct Values
    {
        QString m_targetRow; // the fields' texts
        QString m_startRow;
        QString m_totalText;
        QString m_progressText;
        QString m_messageText;
    };
    Values values() const;
    void setValues(const Values& values); // the two fields only

    int64_t Position() const { return m_position; }
    int32_t LastAction() const { return m_lastAction; }

public Q_SLOTS:
    void Play();
    void Back();
    void Go();
    void Pause();
    void Stop();

private:
    void RunCommand(int32_t command, QPushButton* button);
    void OnProgress(bool endOfBatch, qint64 position, quint64 batch);
    void StartGoProgress(int32_t target, int32_t start);
    void UpdateButtons();
    void ShowMembers();

    CMain& m_main;
    IUserInteraction& m_ui;
    CInternalDataPlayer* m_player;

    int32_t m_targetRow = 1;
    int32_t m_startRow = 1;
    QString m_totalText;
    QString m_progressText;
    QString m_messageText;
    int32_t m_lastAction = 0;
    int64_t m_position = 0;
    bool m_batchRunning = false;
    quint64 m_commandId = 0; // the command whose end returns the buttons
    // GO's progress window: its rows are from m_goFirst (rows sent before it) to m_goLast.
    std::unique_ptr<CLongWork> m_goWork;
    int64_t m_goFirst = 0;
    int64_t m_goLast = 0;

    QLabel* m_totalLabel;
    QLabel* m_progressLabel;
    QLineEdit* m_targetEdit;
    QLineEdit* m_startEdit;
    QPushButton* m_playButton;
    QPushButton* m_backButton;
    QPushButton* m_goButton;
    QPushButton* m_pauseButton;
    QPushButton* m_stopButton;
    QLabel* m_messageLabel;
};
