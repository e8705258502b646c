#include "AppSupport.h"

#include "app/StartupSettings.h"
#include "dialogs/DialogInputMqtt.h"
#include "dialogs/DialogMqttSettings.h"
#include "model/Enums.h"
#include "runtime/StateFile.h"
#include "tests/support/CommaLocale.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QMdiArea>
#include <QStatusBar>

#include <clocale>
#include <cstring>

TEST(StartupSettings, ShowValueGivesFirstWindowState)
{
    const std::pair<int, Qt::WindowStates> cases[] = {
        {3, Qt::WindowMaximized}, {2, Qt::WindowMinimized}, {6, Qt::WindowMinimized}, {7, Qt::WindowMinimized},
        {1, Qt::WindowNoState},   {0, Qt::WindowNoState},   {-5, Qt::WindowNoState},  {99, Qt::WindowNoState},
    };
    for (const auto& [show, state] : cases)
        EXPECT_EQ(ShowStateFromSetting(show), state) << show;
}

TEST(StartupSettings, DataFolderFallsBackToTheUserFolder)
{
    QTemporaryDir dir;
    const QString beside = PrepareDataFolder(dir.path(), dir.filePath(QStringLiteral("user")));
    EXPECT_EQ(beside, dir.filePath(QStringLiteral("Data/")));
    // A program folder below a plain file can hold no folder.
    WriteAll(dir.filePath(QStringLiteral("file")), "x");
    const QString blocked = dir.filePath(QStringLiteral("file/bin"));
    EXPECT_EQ(PrepareDataFolder(blocked, dir.filePath(QStringLiteral("user"))), dir.filePath(QStringLiteral("user/")));
    EXPECT_EQ(PrepareDataFolder(blocked, dir.filePath(QStringLiteral("file/user"))), QString());
}

TEST_F(AppTest, StartUpSetsNumbersToTheCFormAndShowsMaximisedWhenAsked)
{
    QSettings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication))
        .setValue(QStringLiteral("Window/show"), 3);
    CommaLocale comma;
    CVantrelApp& app = Start({}, true);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_TRUE(app.Frame().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(app.Frame().CurrentMenuKind(), MenuKind::NoDocument);
}

TEST_F(AppTest, NewDocumentNeedsAPictureThatLoads)
{
    CVantrelApp& app = Start();
    m_ui.fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(app.Docs().NewDocument(0), nullptr);
    m_ui.fileAnswers.push_back(Path(QStringLiteral("missing.jpg")));
    EXPECT_EQ(app.Docs().NewDocument(0), nullptr);
    EXPECT_EQ(m_ui.Messages(), QStringList{QStringLiteral("開けませんでした.")});
    EXPECT_TRUE(app.Frame().MdiArea()->subWindowList().isEmpty());

    CDocEntry* scroll = NewDocument(0);
    CDocEntry* stretch = NewDocument(1);
    ASSERT_TRUE(scroll && stretch);
    EXPECT_EQ(scroll->Doc().m_pictureWidth, 160);
    EXPECT_EQ(scroll->Frames().front()->windowTitle(), QStringLiteral("Scroll1"));
    EXPECT_EQ(stretch->Frames().front()->windowTitle(), QStringLiteral("Stretch1"));
    EXPECT_EQ(app.Frame().CurrentMenuKind(), MenuKind::Stretch);

    app.Docs().NewWindow(*stretch);
    EXPECT_EQ(stretch->Frames()[0]->windowTitle(), QStringLiteral("Stretch1:1"));
    EXPECT_EQ(stretch->Frames()[1]->windowTitle(), QStringLiteral("Stretch1:2"));
}

TEST_F(AppTest, SaveAsAndTheUnsavedChangesQuestion)
{
    CVantrelApp& app = Start();
    CDocEntry* entry = NewDocument(0);
    ASSERT_TRUE(entry);
    entry->Doc().m_modified = 1;

    m_ui.messageAnswers = {MessageAnswer::Cancel};
    EXPECT_FALSE(app.Docs().CloseDocument(*entry, true));
    EXPECT_EQ(m_ui.calls.back().text, QStringLiteral("Scroll1 への変更を保存しますか?"));
    EXPECT_EQ(m_ui.calls.back().buttons, MessageButtons::YesNoCancel);

    const QString saved = Path(QStringLiteral("saved.t1"));
    m_ui.messageAnswers = {MessageAnswer::Yes};
    m_ui.fileAnswers = {saved};
    EXPECT_TRUE(app.Docs().CloseDocument(*entry, true));
    EXPECT_EQ(m_ui.calls.back().file.defaultExtension, QStringLiteral("t1"));
    EXPECT_EQ(app.Docs().DocumentCount(0), 0);

    CDocEntry* reopened = app.Docs().OpenDocumentFile(saved);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->Title(), QStringLiteral("saved.t1"));
    EXPECT_EQ(reopened->Doc().m_pictureHeight, 90);
    EXPECT_EQ(app.Docs().RecentFiles().front(), saved);
    // Opening the same file again only brings its window forward.
    EXPECT_EQ(app.Docs().OpenDocumentFile(saved), reopened);

    const QString copy = Path(QStringLiteral("copy.t1"));
    m_ui.fileAnswers = {copy};
    EXPECT_TRUE(app.Docs().SaveDocument(*reopened, true));
    EXPECT_EQ(reopened->Title(), QStringLiteral("copy.t1"));
    EXPECT_TRUE(QFile::exists(copy));
}

TEST_F(AppTest, BusyDocumentRefusesClosingAndGreysCommands)
{
    CVantrelApp& app = Start({}, true);
    CDocEntry* entry = NewDocument(0);
    ASSERT_TRUE(entry);
    CMainFrame& frame = app.Frame();
    frame.UpdateActions();
    EXPECT_TRUE(frame.Action(Command::SaveState)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ClearInternal)->isEnabled());

    app.Main().m_internalData.Add(FieldRow({QStringLiteral("a")}));
    frame.UpdateActions();
    EXPECT_TRUE(frame.Action(Command::ClearInternal)->isEnabled());

    entry->Doc().m_editMode = EditMode::PlotList;
    frame.UpdateActions();
    for (Command id : {Command::SaveState, Command::FileOpen, Command::ClearInternal, Command::PlotList})
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << int(id);
    EXPECT_FALSE(entry->Frames().front()->close());
    EXPECT_FALSE(frame.close());
    EXPECT_FALSE(frame.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(app.Docs().DocumentCount(0), 1);

    entry->Doc().m_editMode = EditMode::None;
    frame.UpdateActions();
    EXPECT_TRUE(frame.Action(Command::SaveState)->isEnabled());
}

TEST_F(AppTest, StateSaveAndRestoreWithTwoScrollAndOneStretchDocument)
{
    CVantrelApp& app = Start();
    ASSERT_TRUE(NewDocument(0) && NewDocument(0) && NewDocument(1));
    app.Main().m_includePrefixes = QStringList{QStringLiteral("T")};
    const QString state = Path(QStringLiteral("saved/state.vnx"));
    QDir().mkpath(Path(QStringLiteral("saved")));
    ASSERT_TRUE(app.SaveStateTo(state));
    for (const char* name : {"DOC1.t1", "DOC2.t1", "DOC1.t2"})
        EXPECT_TRUE(QFile::exists(Path(QStringLiteral("saved/") + QLatin1String(name)))) << name;
    CStateRecord record;
    ASSERT_TRUE(ReadStateFile(state, record));
    EXPECT_EQ(record.m_templateCount, 2);
    EXPECT_EQ(record.m_docCounts, (std::vector<int32_t>{2, 1}));

    // A damaged file changes nothing and says so.
    const QString damaged = Path(QStringLiteral("damaged.vnx"));
    WriteAll(damaged, ReadAll(state).left(30));
    app.Main().m_includePrefixes.clear();
    m_ui.fileAnswers = {damaged};
    app.OnRestoreState();
    EXPECT_EQ(m_ui.Messages().back(), QStringLiteral("開けませんでした."));
    EXPECT_EQ(m_ui.calls.back().icon, MessageIcon::Stop);
    EXPECT_TRUE(app.Main().m_includePrefixes.isEmpty());
    EXPECT_EQ(app.Docs().Entries().size(), 3u);

    m_ui.fileAnswers = {state};
    app.OnRestoreState();
    EXPECT_EQ(app.Main().m_includePrefixes, QStringList{QStringLiteral("T")});
    ASSERT_EQ(app.Docs().DocumentCount(0), 2);
    ASSERT_EQ(app.Docs().DocumentCount(1), 1);
    EXPECT_EQ(app.Docs().Entry(0, 1)->Title(), QStringLiteral("DOC2.t1"));
    EXPECT_EQ(app.Docs().Entry(1, 0)->Title(), QStringLiteral("DOC1.t2"));
}

TEST_F(AppTest, ClosingSavesTheStateAndTheNextStartRestoresIt)
{
    {
        CVantrelApp& app = Start({}, true);
        CDocEntry* entry = NewDocument(1);
        ASSERT_TRUE(entry);
        app.Docs().NewWindow(*entry);
        entry->Frames()[1]->setGeometry(20, 30, 300, 200);
        EXPECT_TRUE(app.Frame().close());
        EXPECT_TRUE(QFile::exists(DataFolder() + QStringLiteral("/Vantrel.dat")));
        EXPECT_TRUE(QFile::exists(DataFolder() + QStringLiteral("/DOC1.t2")));
        m_app.reset();
    }
    CVantrelApp& app = Start({}, true);
    ASSERT_EQ(app.Docs().DocumentCount(1), 1);
    CDocEntry* entry = app.Docs().Entry(1, 0);
    ASSERT_EQ(entry->Frames().size(), 2u);
    EXPECT_EQ(entry->Frames()[1]->NormalPlacement().m_left, 20);
    EXPECT_EQ(entry->Frames()[1]->NormalPlacement().m_bottom, 230);
}

TEST_F(AppTest, PreRunCheckActivatesTheFailingWindow)
{
    CVantrelApp& app = Start({}, true);
    CDocEntry* bad = NewDocument(0);
    CDocEntry* other = NewDocument(1);
    ASSERT_TRUE(bad && other);
    CConnectInfo connect;
    connect.m_plotIds = {3, 4};
    bad->Doc().m_connects.push_back(connect);
    EXPECT_FALSE(app.CheckDocuments());
    EXPECT_EQ(app.Frame().MdiArea()->activeSubWindow(), bad->Frames().front());
    EXPECT_TRUE(m_ui.Messages().back().startsWith(QStringLiteral("Scroll1ドキュメントの「Scroll1」画面において\n")));
    bad->Doc().m_connects.clear();
    EXPECT_TRUE(app.CheckDocuments());
}

TEST_F(AppTest, CsvInputCancelledAtTheFileChoiceClosesTheCaptureFile)
{
    CVantrelApp& app = Start();
    app.SetDialogRunner([](QDialog& dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    });
    app.Main().m_saveCsv = 1;
    const QString capture = Path(QStringLiteral("capture.csv"));
    m_ui.fileAnswers = {capture, std::nullopt}; // the capture file, then no CSV file
    EXPECT_FALSE(app.OnCsvInput());
    EXPECT_FALSE(app.Main().m_captureFile.IsOpen());
    EXPECT_FALSE(app.IsBusy());

    m_ui.fileAnswers = {capture, Path(QStringLiteral("missing.csv"))};
    EXPECT_FALSE(app.OnCsvInput());
    EXPECT_EQ(m_ui.Messages().back(), QStringLiteral("入力CSVファイルをオープンできませんでした."));
    EXPECT_FALSE(app.Main().m_captureFile.IsOpen());
}

TEST_F(AppTest, InputCommandsRefuseADocumentWithABadConnection)
{
    CVantrelApp& app = Start();
    CDocEntry* entry = NewDocument(1);
    ASSERT_TRUE(entry);
    CConnectInfo connect;
    connect.m_plotIds = {1, 2};
    entry->Doc().m_connects.push_back(connect);
    const size_t before = m_ui.calls.size();
    EXPECT_FALSE(app.OnTcpInput(false));
    EXPECT_FALSE(app.OnCsvInput(Path(QStringLiteral("any.csv")), 5));
    app.OnInternalInput();
    EXPECT_EQ(m_ui.calls.size(), before + 3); // three refusals, no chooser, no window
    EXPECT_FALSE(app.IsBusy());
}

TEST_F(AppTest, MqttInputAsksItsSettingsRemembersAllButThePasswordAndOpensItsWindow)
{
    CVantrelApp& app = Start();
    ASSERT_TRUE(NewDocument(0));
    bool acceptSettings = false;
    app.SetDialogRunner([&](QDialog& dialog) {
        auto* settings = dynamic_cast<CDialogMqttSettings*>(&dialog);
        if (settings && !acceptSettings) {
            dialog.reject();
            return dialog.result();
        }
        if (settings) {
            qobject_cast<QLineEdit*>(settings->Field(MqttField::Host))->setText(QStringLiteral("127.0.0.1"));
            // Nothing listens there: the client keeps trying, the run goes on.
            qobject_cast<QSpinBox*>(settings->Field(MqttField::Port))->setValue(1);
            qobject_cast<QLineEdit*>(settings->Field(MqttField::UserName))->setText(QStringLiteral("operator"));
            settings->PasswordEdit()->setText(QStringLiteral("secret"));
        }
        dialog.accept();
        return dialog.result();
    });

    // Cancelled settings: no run, and the capture file opened before them is closed again.
    app.Main().m_saveCsv = 1;
    m_ui.fileAnswers = {Path(QStringLiteral("capture.csv"))};
    EXPECT_FALSE(app.OnMqttInput());
    EXPECT_FALSE(app.Main().m_captureFile.IsOpen());
    EXPECT_FALSE(app.IsBusy());
    EXPECT_FALSE(app.Frame().findChild<CDialogInputMqtt*>());

    app.Main().m_saveCsv = 0;
    acceptSettings = true;
    EXPECT_TRUE(app.OnMqttInput());
    auto* window = app.Frame().findChild<CDialogInputMqtt*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(app.IsBusy());
    EXPECT_EQ(window->BrokerText(), QStringLiteral("ブローカー＝127.0.0.1:1"));
    const CMqttSettings remembered = LoadMqttSettings(app.Settings());
    EXPECT_EQ(remembered.m_host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(remembered.m_userName, QStringLiteral("operator"));
    EXPECT_TRUE(remembered.m_password.isEmpty());
    app.Settings().sync();
    QFile stored(app.Settings().fileName());
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_FALSE(stored.readAll().contains("secret"));

    window->OnCancel();
    EXPECT_FALSE(app.IsBusy());
}
