#include "dialogs/DialogInputCsvFile.h"

#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"
#include "sources/CsvFilePlayer.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

CDialogInputCsvFile::CDialogInputCsvFile(CMain& main, IUserInteraction& ui, QWidget* parent)
    : CPlayerDialog(parent), m_main(main), m_ui(ui), m_player(new CCsvFilePlayer(main, this))
{
    setWindowTitle(QStringLiteral("CSVファイル入力処理"));

    m_linesEdit = new QLineEdit(FieldRead::FormatInt(m_linesPerPlay), this);
    auto* linesLabel = new QLabel(QStringLiteral("行入力する"), this);
    Pair(linesLabel, m_linesEdit);
    m_progressLabel = new QLabel(this);
    m_totalLabel = new QLabel(this);
    m_messageLabel = new QLabel(this);
    m_messageLabel->setMinimumWidth(240);
    m_playButton = MakeButton(QStringLiteral("PLAY"));
    m_pauseButton = MakeButton(QStringLiteral("PAUSE"));
    m_stopButton = MakeButton(QStringLiteral("STOP"));

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(m_linesEdit);
    fieldRow->addWidget(linesLabel);
    fieldRow->addStretch(1);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(m_progressLabel);
    countRow->addStretch(1);
    countRow->addWidget(m_totalLabel);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_playButton);
    buttonRow->addWidget(m_pauseButton);
    buttonRow->addWidget(m_stopButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addLayout(countRow);
    layout->addWidget(m_messageLabel);
    layout->addLayout(buttonRow);
    setTabOrder(m_linesEdit, m_playButton);
    setTabOrder(m_playButton, m_pauseButton);
    setTabOrder(m_pauseButton, m_stopButton);

    connect(m_playButton, &QPushButton::clicked, this, &CDialogInputCsvFile::Play);
    connect(m_pauseButton, &QPushButton::clicked, this, &CDialogInputCsvFile::Pause);
    connect(m_stopButton, &QPushButton::clicked, this, &CDialogInputCsvFile::Stop);
    // Queued with this window as context: nothing arrives once it is gone.
    connect(m_player, &CCsvFilePlayer::progress, this, &CDialogInputCsvFile::OnProgress, Qt::QueuedConnection);
    ShowMembers();
}

CDialogInputCsvFile::~CDialogInputCsvFile()
{
    // Only when the window goes without STOP (the application ends): progress handled while
    // the run stops touches the texts alone.
    m_closing = true;
    m_player->Stop();
}

bool CDialogInputCsvFile::OpenInputFile(const QString& path)
{
    return m_player->Open(path);
}

void CDialogInputCsvFile::Start()
{
    if (m_player->IsStarted() || m_closing)
        return;
    m_player->Start();
    SetLinesPerPlay(1);
    m_progressText = QStringLiteral("未入力状態");
    m_totalText.clear();
    SetState(CsvPlayerState::Ready);
    ShowMembers();
    show();
}

void CDialogInputCsvFile::SetLinesPerPlay(int32_t n)
{
    m_linesEdit->setText(FieldRead::FormatInt(n));
}

CDialogInputCsvFile::Values CDialogInputCsvFile::values() const
{
    return {m_linesEdit->text(), m_progressText, m_totalText, m_messageText};
}

void CDialogInputCsvFile::setValues(const Values& values)
{
    m_linesEdit->setText(values.m_linesPerPlay);
}

void CDialogInputCsvFile::Play()
{
    if (m_closing || m_state != CsvPlayerState::Ready || !m_player->IsStarted())
        return;
    CFieldReader reader(m_ui);
    int32_t lines = 0;
    if (!reader.IntInRange(m_linesEdit, 1, std::numeric_limits<int32_t>::max(), lines))
        return;
    m_linesPerPlay = lines;
    SetState(CsvPlayerState::Playing);
    m_batchId = m_player->Play(lines);
}

void CDialogInputCsvFile::Pause()
{
    if (m_closing || m_state != CsvPlayerState::Playing)
        return;
    SetState(CsvPlayerState::Ready);
    m_player->Pause();
}

void CDialogInputCsvFile::Stop()
{
    if (m_closing)
        return;
    m_closing = true;
    SetState(CsvPlayerState::Closing);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_player->Stop();
    QApplication::restoreOverrideCursor();
    // Lines still buffered reach the capture file only now; a failure that the window has
    // not shown yet would otherwise go unseen.
    QString error;
    if (m_messageText.isEmpty() && m_main.CaptureFailed(&error))
        m_ui.ShowError(error);
    FinishRun();
}

void CDialogInputCsvFile::OnProgress(int kind, qint64 sent, quint64 batch)
{
    m_progressText = QStringLiteral("%1行入力済").arg(sent);
    // The first capture failure of the run stays shown until the window closes.
    if (m_messageText.isEmpty())
        m_main.CaptureFailed(&m_messageText);
    const bool ended = kind == CCsvFilePlayer::InputEnded || kind == CCsvFilePlayer::ReadFailed;
    if (ended)
        m_totalText = QStringLiteral("全%1行").arg(sent);
    ShowMembers();
    if (m_closing)
        return;

    if (kind == CCsvFilePlayer::BatchEnded) {
        // The reader has already stopped this batch; an end that belongs to a PLAY before
        // the latest PAUSE leaves the buttons alone.
        if (batch == m_batchId && m_state == CsvPlayerState::Playing)
            SetState(CsvPlayerState::Ready);
    } else if (ended) {
        SetState(CsvPlayerState::Finished);
        if (kind == CCsvFilePlayer::ReadFailed)
            m_ui.MessageBox(QStringLiteral("入力CSVファイルを読み込めませんでした."), QString(), MessageIcon::Stop,
                            MessageButtons::Ok);
        else
            m_ui.MessageBox(QStringLiteral("入力終了"), QString(), MessageIcon::Information, MessageButtons::Ok);
    }
}

void CDialogInputCsvFile::SetState(CsvPlayerState state)
{
    m_state = state;
    const CCsvPlayerButtons b = CsvPlayerButtons(state);
    m_playButton->setEnabled(b.m_play);
    m_pauseButton->setEnabled(b.m_pause);
    m_stopButton->setEnabled(b.m_stop);
    switch (b.m_focus) {
    case PlayerButton::Play:
        m_playButton->setFocus(Qt::OtherFocusReason);
        break;
    case PlayerButton::Pause:
        m_pauseButton->setFocus(Qt::OtherFocusReason);
        break;
    case PlayerButton::Stop:
        m_stopButton->setFocus(Qt::OtherFocusReason);
        break;
    default:
        break;
    }
}

void CDialogInputCsvFile::ShowMembers()
{
    m_progressLabel->setText(m_progressText);
    m_totalLabel->setText(m_totalText);
    m_messageLabel->setText(m_messageText);
}
