#include "dialogs/DialogInputInternalData.h"

#include "dialogs/FieldReader.h"
#include "dialogs/LongWork.h"
#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"
#include "runtime/Main.h"
#include "sources/InternalDataPlayer.h"
#include "sources/PlayerRules.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QGroupBox* Group(const QString& title, QPushButton* button, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(button);
    return group;
}

} // namespace

CDialogInputInternalData::CDialogInputInternalData(CMain& main, IUserInteraction& ui, QWidget* parent)
    : CPlayerDialog(parent), m_main(main), m_ui(ui), m_player(new CInternalDataPlayer(main, this))
{
    setWindowTitle(QStringLiteral("内部データ入力処理"));

    m_totalLabel = new QLabel(this);
    m_progressLabel = new QLabel(this);
    auto* targetLabel = new QLabel(QStringLiteral("指定行"), this);
    m_targetEdit = new QLineEdit(FieldRead::FormatInt(m_targetRow), this);
    Pair(targetLabel, m_targetEdit);
    auto* startLabel = new QLabel(QStringLiteral("開始行"), this);
    m_startEdit = new QLineEdit(FieldRead::FormatInt(m_startRow), this);
    Pair(startLabel, m_startEdit);
    m_playButton = MakeButton(QStringLiteral("PLAY"));
    m_backButton = MakeButton(QStringLiteral("BACK"));
    m_goButton = MakeButton(QStringLiteral("GO"));
    m_pauseButton = MakeButton(QStringLiteral("PAUSE"));
    m_stopButton = MakeButton(QStringLiteral("STOP"));
    m_messageLabel = new QLabel(this);
    m_messageLabel->setMinimumWidth(240);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(m_totalLabel);
    countRow->addStretch(1);
    countRow->addWidget(m_progressLabel);
    auto* fields = new QGridLayout;
    fields->addWidget(targetLabel, 0, 0);
    fields->addWidget(m_targetEdit, 0, 1);
    fields->addWidget(startLabel, 1, 0);
    fields->addWidget(m_startEdit, 1, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(Group(QStringLiteral("指定行数入力"), m_playButton, this));
    groups->addWidget(Group(QStringLiteral("指定行数戻る"), m_backButton, this));
    groups->addWidget(Group(QStringLiteral("指定行まで入力"), m_goButton, this));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_pauseButton);
    buttonRow->addWidget(m_stopButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(countRow);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addLayout(buttonRow);
    layout->addWidget(m_messageLabel);
    setTabOrder(m_targetEdit, m_startEdit);
    setTabOrder(m_startEdit, m_playButton);
    setTabOrder(m_playButton, m_backButton);
    setTabOrder(m_backButton, m_goButton);
    setTabOrder(m_goButton, m_pauseButton);
    setTabOrder(m_pauseButton, m_stopButton);

    connect(m_playButton, &QPushButton::clicked, this, &CDialogInputInternalData::Play);
    connect(m_backButton, &QPushButton::clicked, this, &CDialogInputInternalData::Back);
    connect(m_goButton, &QPushButton::clicked, this, &CDialogInputInternalData::Go);
    connect(m_pauseButton, &QPushButton::clicked, this, &CDialogInputInternalData::Pause);
    connect(m_stopButton, &QPushButton::clicked, this, &CDialogInputInternalData::Stop);
    // Queued with this window as context: nothing arrives once it is gone.
    connect(m_player, &CInternalDataPlayer::progress, this, &CDialogInputInternalData::OnProgress,
            Qt::QueuedConnection);
    ShowMembers();
}

CDialogInputInternalData::~CDialogInputInternalData()
{
    // Only when the window goes without STOP (the application ends).
    m_closing = true;
    m_player->Stop();
}

void CDialogInputInternalData::Start()
{
    if (m_player->IsStarted() || m_closing)
        return;
    m_player->Start();
    m_totalText = QStringLiteral("全%1行").arg(m_player->Total());
    m_targetEdit->setText(FieldRead::FormatInt(1));
    m_position = 0;
    m_progressText = QStringLiteral("現在%1行目").arg(m_position);
    ShowMembers();
    UpdateButtons();
    show();
}

CDialogInputInternalData::Values CDialogInputInternalData::values() const
{
    return {m_targetEdit->text(), m_startEdit->text(), m_totalText, m_progressText, m_messageText};
}

void CDialogInputInternalData::setValues(const Values& values)
{
    m_targetEdit->setText(values.m_targetRow);
    m_startEdit->setText(values.m_startRow);
}

void CDialogInputInternalData::Play()
{
    RunCommand(ReplayPlay, m_playButton);
}

void CDialogInputInternalData::Back()
{
    RunCommand(ReplayBack, m_backButton);
}

void CDialogInputInternalData::Go()
{
    RunCommand(ReplayGo, m_goButton);
}

void CDialogInputInternalData::RunCommand(int32_t command, QPushButton* button)
{
    if (m_closing || m_batchRunning || !button->isEnabled() || !m_player->IsStarted())
        return;
    CFieldReader reader(m_ui);
    const int32_t max = std::numeric_limits<int32_t>::max();
    int32_t target = 0;
    int32_t start = 0;
    reader.IntInRange(m_targetEdit, 1, max, target);
    reader.IntInRange(m_startEdit, 1, max, start);
    if (!reader.Ok())
        return;
    m_targetRow = target;
    m_startRow = start;

    const CReplayCheck check = CheckReplayCommand(command, target, start, m_position, m_player->Total());
    if (!check.m_message.isEmpty()) {
        m_ui.MessageBox(check.m_message, QStringLiteral("チェック"), MessageIcon::Stop, MessageButtons::Ok);
        QLineEdit* field = check.m_field == ReplayField::TargetRow ? m_targetEdit : m_startEdit;
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }

    m_playButton->setEnabled(false);
    m_backButton->setEnabled(false);
    m_goButton->setEnabled(false);
    m_pauseButton->setEnabled(true);
    m_pauseButton->setFocus(Qt::OtherFocusReason);
    m_lastAction = command;
    m_batchRunning = true;
    if (command == ReplayGo)
        StartGoProgress(target, start);
    m_commandId = m_player->Command(command, target, start);
}

void CDialogInputInternalData::StartGoProgress(int32_t target, int32_t start)
{
    const std::optional<CReplayBatch> batch = ReplayBatch(ReplayGo, m_position, target, start, m_player->Total());
    if (!batch)
        return;
    // A reset batch counts from its first row, else from the rows already sent.
    m_goFirst = batch->m_reset ? batch->m_first : m_position;
    m_goLast = batch->m_last + 1;
    m_goWork = std::make_unique<CLongWork>(this, QStringLiteral("内部データ入力中..."), true);
    // The reader runs on; its signals move the bar.
    m_goWork->SetPumping(false);
    // Stopping GO is PAUSE: the documents hold every row sent so far, and PLAY or GO go on
    // from there.
    connect(m_goWork->Dialog(), &QProgressDialog::canceled, this, &CDialogInputInternalData::Pause,
            Qt::QueuedConnection);
}

void CDialogInputInternalData::Pause()
{
    if (m_closing || !m_batchRunning)
        return;
    m_goWork.reset();
    m_pauseButton->setEnabled(false);
    m_player->Pause();
    m_batchRunning = false;
    UpdateButtons();
}

void CDialogInputInternalData::Stop()
{
    if (m_closing)
        return;
    m_closing = true;
    m_goWork.reset();
    for (QPushButton* button : {m_playButton, m_backButton, m_goButton, m_pauseButton, m_stopButton})
        button->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_player->Stop();
    QApplication::restoreOverrideCursor();
    FinishRun();
}

void CDialogInputInternalData::OnProgress(bool endOfBatch, qint64 position, quint64 batch)
{
    m_position = position;
    m_progressText = QStringLiteral("現在%1行目").arg(position);
    ShowMembers();
    if (m_closing)
        return;
    // The end of a batch stopped before the latest command must not take that command's
    // buttons away; a row still sent after PAUSE moves the position the buttons rest on.
    if (m_goWork && batch == m_commandId && !m_goWork->Report(position - m_goFirst, m_goLast - m_goFirst))
        QMetaObject::invokeMethod(this, &CDialogInputInternalData::Pause, Qt::QueuedConnection);
    if (endOfBatch && batch == m_commandId)
        m_batchRunning = false;
    if (!m_batchRunning) {
        m_goWork.reset();
        UpdateButtons();
    }
}

void CDialogInputInternalData::UpdateButtons()
{
    // The rule needs neither field, so a half-typed field cannot hold the buttons back.
    const CReplayButtons b = ReplayButtons(m_position, m_player->Total(), m_lastAction);
    m_lastAction = b.m_lastAction;
    m_playButton->setEnabled(b.m_play);
    m_backButton->setEnabled(b.m_back);
    m_goButton->setEnabled(b.m_go);
    m_pauseButton->setEnabled(b.m_pause);
    QPushButton* focus = m_stopButton;
    switch (b.m_focus) {
    case PlayerButton::Play:
        focus = m_playButton;
        break;
    case PlayerButton::Back:
        focus = m_backButton;
        break;
    case PlayerButton::Go:
        focus = m_goButton;
        break;
    default:
        break;
    }
    focus->setFocus(Qt::OtherFocusReason);
}

void CDialogInputInternalData::ShowMembers()
{
    m_totalLabel->setText(m_totalText);
    m_progressLabel->setText(m_progressText);
    m_messageLabel->setText(m_messageText);
}
