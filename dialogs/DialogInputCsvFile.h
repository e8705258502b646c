#pragma once

#include "dialogs/PlayerDialog.h"
#include "sources/PlayerRules.h"

#include <QString>

#include <cstdint>

class CCsvFilePlayer;
class CMain;
class IUserInteraction;
class QLabel;
class QLineEdit;
class QPushButton;

// "CSVファイル入力処理": plays a CSV file into the pipeline, N lines per PLAY. The window owns
// the run from Start to STOP.
class CDialogInputCsvFile : public CPlayerDialog
{
    Q_OBJECT
public:
    CDialogInputCsvFile(CMain& main, IUserInteraction& ui, QWidget* parent = nullptr);
    ~CDialogInputCsvFile() override;

    // Before Start; false when the file cannot be opened (the command shows its message).
    bool OpenInputFile(const QString& path);
    // Empties the store when it stores without keeping, starts the run and the reader, and
    // shows the window.
    void Start();
    void SetLinesPerPlay(int32_t n);

    struct Values
    {
        QString m_linesPerPlay; // the field's text
        QString m_progressText;
        QString m_totalText;
        QString m_messageText;
    };
    Values values() const;
    void setValues(const Values& values); // the field only; the texts belong to the run

    CsvPlayerState State() const { return m_state; }

public Q_SLOTS:
    void Play();
    void Pause();
    void Stop();

private:
    void OnProgress(int kind, qint64 sent, quint64 batch);
    void SetState(CsvPlayerState state);
    void ShowMembers();

    CMain& m_main;
    IUserInteraction& m_ui;
    CCsvFilePlayer* m_player;

    int32_t m_linesPerPlay = 1;
    QString m_progressText = QStringLiteral("未入力状態");
    QString m_totalText;
    QString m_messageText;
    CsvPlayerState m_state = CsvPlayerState::Ready;
    quint64 m_batchId = 0; // the PLAY whose end may return the buttons to ready

    QLineEdit* m_linesEdit;
    QLabel* m_progressLabel;
    QLabel* m_totalLabel;
    QLabel* m_messageLabel;
    QPushButton* m_playButton;
    QPushButton* m_pauseButton;
    QPushButton* m_stopButton;
};
