#include "app/VantrelApp.h"

#include "app/DesignEditor.h"

#include "app/AppDialogs.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PreRunCheck.h"
#include "app/QtUserInteraction.h"
#include "app/StartupSettings.h"
#include "model/VantrelDoc.h"
#include "pipeline/Pacing.h"
#include "platform/UserInteraction.h"
#include "runtime/StateFile.h"
#include "render/FontMapping.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QStandardPaths>

#include <clocale>

namespace {

void PumpWithoutUserInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

CVantrelApp::CVantrelApp(IUserInteraction* ui)
    : m_settings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication)),
      m_wantsQtUi(ui == nullptr), m_ui(ui)
{
}

CVantrelApp::~CVantrelApp()
{
    // Windows go before the documents they show, the documents before the pipeline.
    if (m_docs)
        m_docs->CloseAllDocuments();
    m_editor.reset();
    m_frame.reset();
    m_docs.reset();
    m_main.m_pApp = nullptr;
}

bool CVantrelApp::InitInstance(const COptions& options)
{
    // Numbers in CSV lines, the state file's texts and the C library's parsing stay in the
    // C form whatever the desktop's locale; code page 932 has its own converter.
    std::setlocale(LC_NUMERIC, "C");
    EnsureFontSubstitutions();
    SetMessagePump(&PumpWithoutUserInput);
    ApplyPacingSetting();

    const int show = m_settings.value(QStringLiteral("Window/show"), 1).toInt();

    m_frame = std::make_unique<CMainFrame>(*this);
    if (m_wantsQtUi) {
        m_ownUi = std::make_unique<CQtUserInteraction>(m_frame.get());
        m_ui = m_ownUi.get();
    }
    m_echo = std::make_unique<CEchoingInteraction>(*m_ui);
    m_echo->SetEcho(options.m_echoMessages);
    m_ui = m_echo.get();
    m_docs = std::make_unique<CDocManager>(*m_ui);
    m_docs->SetBusyCheck([this] { return IsBusy(); });
    m_docs->SetReplaySource(CReplaySource{&m_main.m_storeLock, &m_main.m_internalData, &m_main.m_fdInfos});
    m_docs->SetRecentFiles(m_settings.value(QStringLiteral("Recent File List/files")).toStringList());
    connect(m_docs.get(), &CDocManager::recentFilesChanged, this,
            [this](const QStringList& files) { m_settings.setValue(QStringLiteral("Recent File List/files"), files); });
    connect(m_docs.get(), &CDocManager::documentsChanged, this, &CVantrelApp::stateChanged);
    m_editor = std::make_unique<CDesignEditor>(*m_docs, *m_ui, m_frame.get());
    m_editor->SetDialogRunner(m_runDialog);
    connect(m_editor.get(), &CDesignEditor::editModeChanged, this, &CVantrelApp::stateChanged);
    m_frame->AttachDocuments(*m_docs);
    QList<int> hidden;
    for (const QVariant& id : m_settings.value(QStringLiteral("Toolbar/hidden")).toList())
        hidden.append(id.toInt());
    m_frame->SetHiddenToolButtons(hidden);

    QString dataFolder = options.m_dataFolder;
    if (dataFolder.isEmpty()) {
        dataFolder = PrepareDataFolder(QCoreApplication::applicationDirPath(),
                                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        if (dataFolder.isEmpty())
            m_ui->MessageBox(QStringLiteral("データ保存フォルダが作成できませんでした."), QString(), MessageIcon::None,
                             MessageButtons::Ok);
    } else {
        QDir().mkpath(dataFolder);
        if (!dataFolder.endsWith(QLatin1Char('/')))
            dataFolder += QLatin1Char('/');
    }
    m_main.m_dataFolder = dataFolder;
    m_main.m_pApp = this;

    if (!dataFolder.isEmpty())
        RestoreState(m_main, AutomaticStatePath());
    for (const QString& file : options.m_files)
        m_docs->OpenDocumentFile(file);

    if (options.m_show) {
        m_frame->setWindowState(ShowStateFromSetting(show));
        m_frame->show();
    }
    Q_EMIT stateChanged();
    return true;
}

void CVantrelApp::SetEchoMessages(bool echo)
{
    if (m_echo)
        m_echo->SetEcho(echo);
}

QString CVantrelApp::AutomaticStatePath() const
{
    return m_main.m_dataFolder + QStringLiteral("Vantrel.dat");
}

void CVantrelApp::SetDialogRunner(DialogRunner runner)
{
    m_runDialog = std::move(runner);
    if (m_editor)
        m_editor->SetDialogRunner(m_runDialog);
}

bool CVantrelApp::IsBusy() const
{
    return m_main.IsAnyDocumentBusy() || m_sourceWindows > 0;
}

void CVantrelApp::SetSourceWindowOpen(bool open)
{
    m_sourceWindows += open ? 1 : -1;
    Q_EMIT stateChanged();
}

bool CVantrelApp::CheckDocuments()
{
    std::vector<CCheckedDocument> docs;
    std::vector<CDocEntry*> entries = m_docs->Entries();
    for (CDocEntry* entry : entries) {
        CCheckedDocument d{&entry->Doc(), entry->Title(), std::nullopt};
        if (!entry->Frames().empty())
            d.m_frameTitle = entry->FrameTitle(0);
        docs.push_back(d);
    }
    const std::optional<CPreRunFailure> failure = CheckConnections(docs);
    if (!failure)
        return true;
    CDocEntry* entry = entries[failure->m_index];
    if (!entry->Frames().empty())
        m_frame->MdiArea()->setActiveSubWindow(entry->Frames().front());
    m_ui->ShowError(failure->m_message);
    return false;
}

bool CVantrelApp::SaveStateTo(const QString& path, QString* error, const ProgressCallback& progress)
{
    for (CDocEntry* entry : m_docs->Entries())
        entry->RefreshViewInfos();
    return SaveState(m_main, path, error, progress);
}

bool CVantrelApp::SaveAutomaticState()
{
    if (m_main.m_dataFolder.isEmpty())
        return false;
    QString error;
    if (SaveStateTo(AutomaticStatePath(), &error))
        return true;
    // The previous automatic state stays; the next start comes back with it.
    qWarning("automatic state not saved: %s", qUtf8Printable(error));
    return false;
}

// ---- IDocumentHost ----

int32_t CVantrelApp::TemplateCount() const
{
    return int32_t(DocTemplates().size());
}

int32_t CVantrelApp::DocumentCount(int32_t templateIndex) const
{
    return m_docs ? m_docs->DocumentCount(templateIndex) : 0;
}

CVantrelDoc* CVantrelApp::Document(int32_t templateIndex, int32_t documentIndex) const
{
    CDocEntry* entry = m_docs ? m_docs->Entry(templateIndex, documentIndex) : nullptr;
    return entry ? &entry->Doc() : nullptr;
}

bool CVantrelApp::OpenDocument(const QString& path)
{
    return m_docs->OpenDocumentFile(path) != nullptr;
}

void CVantrelApp::CloseAllDocuments()
{
    m_docs->CloseAllDocuments();
}

CViewInfo CVantrelApp::MainWindowPlacement() const
{
    const QRect r = m_frame->NormalPlacement();
    return CViewInfo(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void CVantrelApp::MoveMainWindow(const CViewInfo& rect)
{
    if (rect.m_right <= rect.m_left || rect.m_bottom <= rect.m_top)
        return;
    const QRect r(rect.m_left, rect.m_top, rect.m_right - rect.m_left, rect.m_bottom - rect.m_top);
    // A place on a screen that is gone would hide the window: keep the default place then.
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().intersects(r);
    if (!visible)
        return;
    m_frame->SetNormalPlacement(r);
}
