#include "tests/sources/PlayerSupport.h"

#include "dialogs/DialogInputCsvFile.h"
#include "dialogs/DialogInputInternalData.h"
#include "dialogs/LongWork.h"
#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"
#include "sources/CsvFilePlayer.h"
#include "sources/InternalDataPlayer.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs once inside the next wait of a STOP, as a click would if input were let through.
std::function<void()> g_duringWait;
CUiLoop* g_uiLoop = nullptr;

void Pump()
{
    if (g_duringWait) {
        const std::function<void()> fn = std::move(g_duringWait);
        g_duringWait = nullptr;
        fn();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (g_uiLoop)
        g_uiLoop->Pump();
}

QPushButton* Button(QWidget* dialog, const char* text)
{
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == QLatin1String(text))
            return b;
    }
    ADD_FAILURE() << "no button " << text;
    return nullptr;
}

// Enabled buttons, in the order given.
QString Enabled(QWidget* dialog, std::initializer_list<const char*> texts)
{
    QStringList on;
    for (const char* t : texts) {
        if (QPushButton* b = Button(dialog, t); b && b->isEnabled())
            on.append(QLatin1String(t));
    }
    return on.join(QLatin1Char(' '));
}

class PlayerDialogTest : public ::testing::Test
{
protected:
    CPacingScope m_pacing{FastPacing()};
    QTemporaryDir m_dir;
    CPlayerRig m_rig;
    CListNotifier& m_doc = m_rig.AddDocument();
    CScriptedInteraction m_ui;
    int m_finished = 0;

    void SetUp() override { SetMessagePump(&Pump); }
    void TearDown() override
    {
        SetMessagePump(nullptr);
        g_duringWait = nullptr;
        g_uiLoop = nullptr;
    }

    template <typename Dialog>
    QPointer<Dialog> Make()
    {
        auto* dialog = new Dialog(m_rig.m_main, m_ui);
        QObject::connect(dialog, &QDialog::finished, [this] { ++m_finished; });
        return dialog;
    }

    CDialogInputCsvFile* CsvDialog(const QByteArray& bytes, int32_t linePauseUs = 1000)
    {
        const QString path = m_dir.filePath(QStringLiteral("in.csv"));
        WriteAll(path, bytes);
        QPointer<CDialogInputCsvFile> dialog = Make<CDialogInputCsvFile>();
        dialog->findChild<CCsvFilePlayer*>()->SetLinePauseUs(linePauseUs);
        EXPECT_TRUE(dialog->OpenInputFile(path));
        dialog->Start();
        return dialog;
    }

    CDialogInputInternalData* InternalDialog(int rows, int32_t rowPauseUs = 1000)
    {
        m_rig.Store(rows);
        QPointer<CDialogInputInternalData> dialog = Make<CDialogInputInternalData>();
        dialog->findChild<CInternalDataPlayer*>()->SetRowPauseUs(rowPauseUs);
        dialog->Start();
        return dialog;
    }

    // STOP, then the window is closed and deleted.
    template <typename Dialog>
    void StopAndExpectGone(Dialog* dialog)
    {
        QPointer<Dialog> guard(dialog);
        dialog->Stop();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
        EXPECT_EQ(m_finished, 1);
        EXPECT_FALSE(m_rig.m_main.IsAnyDocumentBusy());
    }
};

} // namespace

TEST_F(PlayerDialogTest, CsvRefusesABadCountAndShowsTheEndOfAnEmptyFile)
{
    m_rig.Store(2);
    m_rig.m_main.m_saveInternal = 1;
    m_rig.m_main.m_keepInternal = 0;
    CDialogInputCsvFile* dialog = CsvDialog(QByteArray());
    EXPECT_EQ(m_rig.m_main.m_internalData.GetCount(), 0); // emptied on opening
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("CSVファイル入力処理"));
    EXPECT_EQ(dialog->values().m_progressText, QStringLiteral("未入力状態"));
    EXPECT_EQ(Enabled(dialog, {"PLAY", "PAUSE", "STOP"}), QStringLiteral("PLAY STOP"));

    // Refused before anything is sent.
    for (const char* text : {"0", "x", "2147483648"}) {
        dialog->setValues({QString::fromLatin1(text), {}, {}, {}});
        dialog->Play();
        EXPECT_EQ(dialog->State(), CsvPlayerState::Ready);
    }
    EXPECT_EQ(m_ui.Messages(), (QStringList{FieldRead::RangeMessage(1, 2147483647), FieldRead::kInteger,
                                            FieldRead::RangeMessage(1, 2147483647)}));

    dialog->SetLinesPerPlay(3);
    dialog->Play();
    EXPECT_EQ(Enabled(dialog, {"PLAY", "PAUSE", "STOP"}), QStringLiteral("PAUSE STOP"));
    ASSERT_TRUE(ServeUntil([&] { return dialog->State() == CsvPlayerState::Finished; }));
    EXPECT_EQ(dialog->values().m_totalText, QStringLiteral("全0行"));
    EXPECT_EQ(dialog->values().m_progressText, QStringLiteral("0行入力済"));
    EXPECT_EQ(m_ui.calls.back().text, QStringLiteral("入力終了"));
    EXPECT_EQ(m_ui.calls.back().icon, MessageIcon::Information);
    EXPECT_EQ(Enabled(dialog, {"PLAY", "PAUSE", "STOP"}), QStringLiteral("STOP"));
    EXPECT_EQ(dialog->focusWidget(), Button(dialog, "STOP"));
    StopAndExpectGone(dialog);
    EXPECT_EQ(m_doc.Seen().size(), 0u);
}

TEST_F(PlayerDialogTest, CsvEndOfAnEarlierBatchLeavesANewPlayRunning)
{
    CDialogInputCsvFile* dialog = CsvDialog("1\n2\n3\n", 200000);
    auto* player = dialog->findChild<CCsvFilePlayer*>();
    dialog->Play(); // batch 1
    ASSERT_TRUE(ServeUntil([&] { return dialog->State() == CsvPlayerState::Ready; }));
    EXPECT_EQ(dialog->values().m_progressText, QStringLiteral("1行入力済"));
    EXPECT_EQ(dialog->focusWidget(), Button(dialog, "PLAY"));

    dialog->Play(); // batch 2
    Q_EMIT player->progress(CCsvFilePlayer::BatchEnded, 1, 1); // late news of batch 1
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog->State(), CsvPlayerState::Playing);
    EXPECT_EQ(Enabled(dialog, {"PLAY", "PAUSE", "STOP"}), QStringLiteral("PAUSE STOP"));
    ASSERT_TRUE(ServeUntil([&] { return dialog->State() == CsvPlayerState::Ready; }));
    EXPECT_EQ(dialog->values().m_progressText, QStringLiteral("2行入力済"));
    StopAndExpectGone(dialog);
    EXPECT_EQ(m_doc.Texts(), (QStringList{"1", "2"}));
}

TEST_F(PlayerDialogTest, OnlyStopEndsTheWindowAndItRunsOnce)
{
    // A document whose views are served only when the UI thread pumps: STOP has to wait.
    CUiLoop loop;
    g_uiLoop = &loop;
    SetMessagePump(&Pump);
    CRecordingNotifier viewed(loop);
    m_rig.m_host.AddDocument(1).m_notifier = &viewed;

    CDialogInputCsvFile* dialog = CsvDialog("1\n2\n");
    auto* player = dialog->findChild<CCsvFilePlayer*>();

    // Window manager, Escape and Enter: nothing happens.
    EXPECT_FALSE(dialog->close());
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTest::keyClick(dialog, Qt::Key_Return);
    QTest::keyClick(Button(dialog, "PLAY"), Qt::Key_Return);
    QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Enter);
    dialog->reject();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->State(), CsvPlayerState::Ready);
    EXPECT_EQ(m_finished, 0);

    dialog->Play();
    ASSERT_TRUE(ServeUntil([&] { return dialog->State() == CsvPlayerState::Ready; }));
    // Whatever arrives while STOP waits is shown, never acted on.
    g_duringWait = [&] {
        Q_EMIT player->progress(CCsvFilePlayer::InputEnded, 7, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog->values().m_totalText, QStringLiteral("全7行"));
        dialog->Play();
        dialog->Pause();
        dialog->Stop();
        EXPECT_EQ(Enabled(dialog, {"PLAY", "PAUSE", "STOP"}), QString());
    };
    StopAndExpectGone(dialog);
    EXPECT_EQ(g_duringWait, nullptr); // the wait did pump
    EXPECT_EQ(m_ui.calls.size(), 0u);
    ASSERT_EQ(viewed.m_seen.size(), 1u);
    EXPECT_EQ(viewed.m_seen[0].fields, QStringList{QStringLiteral("1")});
}

TEST_F(PlayerDialogTest, InternalChecksShowTheirMessageAndMoveTheFocus)
{
    CDialogInputInternalData* dialog = InternalDialog(10);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("内部データ入力処理"));
    EXPECT_EQ(dialog->values().m_totalText + dialog->values().m_progressText, QStringLiteral("全10行現在0行目"));
    EXPECT_EQ(Enabled(dialog, {"PLAY", "BACK", "GO", "PAUSE", "STOP"}), QStringLiteral("PLAY GO STOP"));
    EXPECT_EQ(dialog->focusWidget(), Button(dialog, "STOP"));

    auto* target = dialog->findChildren<QLineEdit*>().at(0);
    auto* start = dialog->findChildren<QLineEdit*>().at(1);
    struct Case
    {
        const char* target;
        const char* start;
        void (CDialogInputInternalData::*button)();
        const char* message;
        QLineEdit* focus;
    } const cases[] = {
        {"1", "11", &CDialogInputInternalData::Play, "開始行が全行数を超えています.", start},
        {"11", "1", &CDialogInputInternalData::Go, "指定行が全行数を超えています.", target},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        dialog->setValues({QString::fromLatin1(c.target), QString::fromLatin1(c.start), {}, {}, {}});
        (dialog->*c.button)();
        ASSERT_FALSE(m_ui.calls.empty());
        EXPECT_EQ(m_ui.calls.back().text, QString::fromUtf8(c.message));
        EXPECT_EQ(m_ui.calls.back().caption, QStringLiteral("チェック"));
        EXPECT_EQ(m_ui.calls.back().icon, MessageIcon::Stop);
        EXPECT_EQ(dialog->focusWidget(), c.focus);
    }
    // A field that does not read stops the command before the checks.
    dialog->setValues({QStringLiteral("0"), QStringLiteral("1"), {}, {}, {}});
    dialog->Play();
    EXPECT_EQ(m_ui.calls.back().text, FieldRead::RangeMessage(1, 2147483647));
    EXPECT_EQ(m_ui.calls.size(), 3u);
    EXPECT_EQ(Enabled(dialog, {"PLAY", "BACK", "GO", "PAUSE", "STOP"}), QStringLiteral("PLAY GO STOP"));
    StopAndExpectGone(dialog);
    EXPECT_EQ(m_doc.Seen().size(), 0u);
}

TEST_F(PlayerDialogTest, InternalEndOfAnEarlierBatchLeavesANewCommandRunning)
{
    CDialogInputInternalData* dialog = InternalDialog(10, 200000);
    auto* player = dialog->findChild<CInternalDataPlayer*>();
    dialog->setValues({QStringLiteral("10"), QStringLiteral("1"), {}, {}, {}});
    dialog->Play(); // command 1
    ASSERT_TRUE(ServeUntil([&] { return dialog->Position() == 1; }));
    dialog->Pause();
    EXPECT_EQ(Enabled(dialog, {"PLAY", "BACK", "GO", "PAUSE"}), QStringLiteral("PLAY GO"));
    EXPECT_EQ(dialog->focusWidget(), Button(dialog, "PLAY"));

    dialog->setValues({QStringLiteral("1"), QStringLiteral("1"), {}, {}, {}});
    dialog->Play(); // command 2
    Q_EMIT player->progress(true, 1, 1); // late news of command 1
    QCoreApplication::processEvents();
    EXPECT_EQ(Enabled(dialog, {"PLAY", "BACK", "GO", "PAUSE"}), QStringLiteral("PAUSE"));
    ASSERT_TRUE(ServeUntil([&] { return !Button(dialog, "PAUSE")->isEnabled(); }));
    EXPECT_EQ(dialog->Position(), 2);
    EXPECT_EQ(Enabled(dialog, {"PLAY", "BACK", "GO", "PAUSE"}), QStringLiteral("PLAY BACK GO"));

    EXPECT_FALSE(dialog->close());
    StopAndExpectGone(dialog);
    EXPECT_EQ(m_doc.Texts(), (QStringList{"r1", "r2"}));
}

// キャンセル in GO's progress window is PAUSE: the rows sent so far stay, and GO goes on later.
TEST_F(PlayerDialogTest, InternalGoCancelledFromItsProgressWindowPauses)
{
    CDialogInputInternalData* dialog = InternalDialog(40, 20000);
    std::vector<std::pair<int64_t, int64_t>> reports;
    struct ClearHook
    {
        ~ClearHook() { CLongWork::SetHook({}); }
    } clearHook;
    CLongWork::SetHook([&](QProgressDialog& window, int64_t done, int64_t total) {
        reports.emplace_back(done, total);
        if (done == 3)
            window.cancel();
    });
    dialog->setValues({QStringLiteral("40"), QStringLiteral("1"), {}, {}, {}});
    dialog->Go();
    ASSERT_TRUE(ServeUntil([&] { return Button(dialog, "GO")->isEnabled(); }));
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports[2], std::make_pair(int64_t(3), int64_t(40)));
    const int64_t stoppedAt = dialog->Position();
    EXPECT_GE(stoppedAt, 3);
    EXPECT_LT(stoppedAt, 40);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog->findChildren<QProgressDialog*>().isEmpty());

    CLongWork::SetHook({});
    dialog->findChild<CInternalDataPlayer*>()->SetRowPauseUs(1000);
    dialog->Go();
    ASSERT_TRUE(ServeUntil([&] { return dialog->Position() == 40 && Button(dialog, "BACK")->isEnabled(); }));
    StopAndExpectGone(dialog);
}
