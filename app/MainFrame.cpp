#include "app/MainFrame.h"

#include "app/AppDialogs.h"
#include "app/ChildFrame.h"
#include "app/DesignEditor.h"
#include "app/DocManager.h"
#include "app/VantrelApp.h"
#include "app/WebPublisher.h"
#include "dialogs/DialogWebPublish.h"
#include "model/Enums.h"
#include "model/VantrelDoc.h"
#include "views/ViewWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace {

const QString kIdleText = QStringLiteral("準備完了");

} // namespace

CMainFrame::CMainFrame(CVantrelApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Vantrel"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vantrel.svg")));
    setAcceptDrops(true);

    m_area = new QMdiArea(this);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_area);
    connect(m_area, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    CreateToolBar();
    BuildMenus(MenuKind::NoDocument);

    QStatusBar* status = statusBar();
    status->showMessage(kIdleText);
    // Status tips clear the message when the pointer leaves an entry; idle text comes back.
    connect(status, &QStatusBar::messageChanged, this, [status](const QString& text) {
        if (text.isEmpty())
            status->showMessage(kIdleText);
    });

    // While something runs the command states are read a few times a second; otherwise only
    // when something changes.
    m_runTimer = new QTimer(this);
    m_runTimer->setInterval(250);
    connect(m_runTimer, &QTimer::timeout, this, &CMainFrame::UpdateActions);
    connect(&m_app, &CVantrelApp::stateChanged, this, &CMainFrame::UpdateActions);

    m_webPublisher = new CWebPublisher(
        m_app.Main(), [this] { return PublishableView(); }, [this] { return ConnectedSources(*this); }, this);
    connect(m_webPublisher, &CWebPublisher::stateChanged, this, &CMainFrame::UpdateWebStatus);
    m_webStatus = new QLabel;
    m_webStatus->setAccessibleName(QStringLiteral("Web公開"));
    m_webStatus->hide();
    status->addPermanentWidget(m_webStatus);

    resize(1200, 800);
    m_normal = QRect(pos(), size());
}

CMainFrame::~CMainFrame()
{
    // Before the windows: a view going would report to a frame that is half gone.
    delete m_webDialog.data();
    delete m_webPublisher;
}

void CMainFrame::AttachDocuments(CDocManager& docs)
{
    m_docs = &docs;
    docs.SetMdiArea(m_area);
    docs.SetEditMenus(m_editMenus[0], m_editMenus[1]);
    connect(&docs, &CDocManager::closeRefused, this, &CMainFrame::ShowBusyRefusal);
    connect(&docs, &CDocManager::documentsChanged, this, [this] {
        UpdateTitle();
        UpdateActions();
    });
    connect(&docs, &CDocManager::recentFilesChanged, this, [this] { BuildMenus(m_menuKind); });
    BuildMenus(m_menuKind);
}

QAction* CMainFrame::Action(Command id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

CDocEntry* CMainFrame::ActiveEntry() const
{
    auto* frame = qobject_cast<CChildFrame*>(m_area->activeSubWindow());
    return frame ? &frame->Entry() : nullptr;
}

void CMainFrame::UpdateActions()
{
    CCommandState state;
    state.m_busy = m_app.IsBusy();
    {
        std::lock_guard lock(m_app.Main().m_storeLock);
        state.m_storeEmpty = m_app.Main().m_internalData.GetCount() == 0;
    }
    if (CDocEntry* entry = ActiveEntry()) {
        state.m_hasActiveDocument = true;
        state.m_activeDocumentIdle = entry->Doc().m_editMode == EditMode::None;
    }
    for (const auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id, state));
    for (const auto& [id, action] : m_toolActions)
        action->setEnabled(IsCommandEnabled(id, state));
    if (state.m_busy && !m_runTimer->isActive())
        m_runTimer->start();
    else if (!state.m_busy && m_runTimer->isActive())
        m_runTimer->stop();
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    const auto* frame = qobject_cast<CChildFrame*>(window);
    MenuKind kind = MenuKind::NoDocument;
    if (frame)
        kind = frame->Entry().Template().m_kind == ViewKind::Scroll ? MenuKind::Scroll : MenuKind::Stretch;
    else if (!m_area->subWindowList().isEmpty())
        kind = m_menuKind; // focus left the area for a moment; keep the menu
    if (kind != m_menuKind || !m_menusBuilt)
        BuildMenus(kind);
    UpdateTitle();
    UpdateActions();
}

void CMainFrame::OnDocumentCommand(Command id)
{
    // Every handler checks its rule again: a key press may come before the next update.
    UpdateActions();
    if (QAction* action = Action(id); action && !action->isEnabled())
        return;
    CDocEntry* entry = ActiveEntry();
    switch (id) {
    case Command::FileNew:
        m_app.OnFileNew();
        break;
    case Command::FileOpen:
        m_app.OnFileOpen();
        break;
    case Command::FileClose:
        if (entry)
            m_docs->CloseDocument(*entry, true);
        break;
    case Command::FileSave:
    case Command::FileSaveAs:
        if (entry)
            m_docs->SaveDocument(*entry, id == Command::FileSaveAs);
        break;
    case Command::RecentFile1:
    case Command::RecentFile2:
    case Command::RecentFile3:
    case Command::RecentFile4:
        m_app.OnOpenRecentFile(int(id) - int(Command::RecentFile1));
        break;
    case Command::NewWindow:
        if (entry)
            m_docs->NewWindow(*entry);
        break;
    case Command::Exit:
        close();
        break;
    case Command::SaveState:
        m_app.OnSaveState();
        break;
    case Command::RestoreState:
        m_app.OnRestoreState();
        break;
    case Command::ClearInternal:
        m_app.OnClearInternal();
        break;
    case Command::ExportInternalCsv:
        m_app.OnExportInternalCsv();
        break;
    case Command::About:
        m_app.OnAbout();
        break;
    case Command::ChangePicture:
        if (entry)
            m_docs->ChangePicture(*entry);
        break;
    case Command::PlotList:
        if (entry)
            m_app.Editor().ListCommand(*entry, DesignKind::Plot);
        break;
    case Command::ConnectList:
        if (entry)
            m_app.Editor().ListCommand(*entry, DesignKind::Connect);
        break;
    case Command::BarList:
        if (entry)
            m_app.Editor().ListCommand(*entry, DesignKind::Bar);
        break;
    case Command::InfoSave:
        if (entry)
            entry->Doc().OnInfoSave(m_app.UI());
        break;
    case Command::InfoOpen:
        if (entry)
            entry->Doc().OnInfoOpen(m_app.UI());
        break;
    case Command::WindowManager:
        OnWindowManager();
        break;
    case Command::CustomizeToolbar:
        OnCustomizeToolbar();
        break;
    case Command::WindowCascade:
        m_area->cascadeSubWindows();
        break;
    case Command::WindowTile:
        m_area->tileSubWindows();
        break;
    case Command::TcpInput:
        m_app.OnTcpInput();
        break;
    case Command::MqttInput:
        m_app.OnMqttInput();
        break;
    case Command::CsvInput:
        m_app.OnCsvInput();
        break;
    case Command::InternalInput:
        m_app.OnInternalInput();
        break;
    case Command::FDConversion:
        m_app.OnFDConversion();
        break;
    case Command::WebPublish:
        OnWebPublish();
        break;
    default:
        // The design lists come with their windows.
        break;
    }
    UpdateActions();
}

void CMainFrame::OnCustomizeToolbar()
{
    CDialogToolbarButtons dialog(m_toolBar, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QList<int> hidden = dialog.HiddenCommands();
    SetHiddenToolButtons(hidden);
    QVariantList stored;
    for (int id : hidden)
        stored.append(id);
    m_app.Settings().setValue(QStringLiteral("Toolbar/hidden"), stored);
}

void CMainFrame::SetHiddenToolButtons(const QList<int>& ids)
{
    for (QAction* action : m_toolBar->actions()) {
        if (!action->isSeparator())
            action->setVisible(!ids.contains(action->data().toInt()));
    }
}

void CMainFrame::OnWindowManager()
{
    CDialogWindowList dialog(m_area, this);
    dialog.exec();
}

void CMainFrame::OnWebPublish()
{
    if (!m_webDialog) {
        m_webDialog = new CDialogWebPublish(*m_webPublisher, m_app.UI(), this);
        CWebAccess access;
        LoadWebAccess(m_app.Settings(), access);
        m_webDialog->SetValues(access);
        connect(m_webPublisher, &CWebPublisher::stateChanged, m_webDialog, &CDialogWebPublish::Refresh);
        connect(m_webDialog, &CDialogWebPublish::published, this,
                [this](const CWebAccess& access) { SaveWebAccess(m_app.Settings(), access); });
    }
    m_webDialog->Refresh();
    m_webDialog->show();
    m_webDialog->raise();
    m_webDialog->activateWindow();
}

CDialogWebPublish* CMainFrame::WebPublishDialog() const
{
    return m_webDialog;
}

CViewWidget* CMainFrame::PublishableView() const
{
    // The current window stays current while the dialog has the focus.
    const auto* frame = qobject_cast<CChildFrame*>(m_area->currentSubWindow());
    return frame ? frame->View() : nullptr;
}

void CMainFrame::UpdateWebStatus()
{
    if (!m_webPublisher->IsPublishing()) {
        m_webStatus->hide();
        return;
    }
    // Without the token: the status bar is in sight of anyone near the screen.
    CWebAccess shown = m_webPublisher->PublishedAccess();
    shown.m_token.clear();
    m_webStatus->setText(QStringLiteral("Web公開中 %1　閲覧者数 %2").arg(shown.ViewerUrl()).arg(m_webPublisher->ViewerCount()));
    m_webStatus->show();
}

void CMainFrame::ShowBusyRefusal()
{
    statusBar()->showMessage(QStringLiteral("処理中のため閉じられません。入力処理を終えてから閉じてください。"), 5000);
}

void CMainFrame::UpdateTitle()
{
    const auto* frame = qobject_cast<CChildFrame*>(m_area->activeSubWindow());
    if (frame)
        setWindowTitle(QStringLiteral("Vantrel - ") + frame->windowTitle());
    else
        setWindowTitle(QStringLiteral("Vantrel"));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_app.IsBusy()) {
        event->ignore();
        ShowBusyRefusal();
        return;
    }
    // The state is written first; the question about unsaved documents may still stop the close.
    m_app.SaveAutomaticState();
    if (m_docs && !m_docs->SaveAllModified()) {
        event->ignore();
        return;
    }
    if (m_docs)
        m_docs->CloseAllDocuments();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    // Dropping opens documents, so it follows the open command's rule.
    if (event->mimeData()->hasUrls() && !m_app.IsBusy())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (m_app.IsBusy())
        return;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            m_docs->OpenDocumentFile(url.toLocalFile());
    }
    event->acceptProposedAction();
    activateWindow();
}

QRect CMainFrame::NormalPlacement() const
{
    return m_normal;
}

void CMainFrame::SetNormalPlacement(const QRect& rect)
{
    // The stored rectangle is the frame's place and the client size, so that it does not grow
    // by the decoration at each round trip.
    move(rect.topLeft());
    resize(rect.size());
    m_normal = rect;
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    TrackNormalGeometry();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    TrackNormalGeometry();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        TrackNormalGeometry();
}

void CMainFrame::TrackNormalGeometry()
{
    if (windowState() == Qt::WindowNoState)
        m_normal = QRect(pos(), size());
}
