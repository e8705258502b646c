// The main window's actions, menus for each document type, the toolbar and the window menu.
#include "app/ChildFrame.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/VantrelApp.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

struct CToolButton
{
    Command m_id;
    const char* m_icon;
};

// Separators are Command(0).
const CToolButton kToolButtons[] = {
    {Command::FileNew, ":/icons/new.svg"},
    {Command::FileOpen, ":/icons/open.svg"},
    {Command::FileSave, ":/icons/save.svg"},
    {Command(0), nullptr},
    {Command::TcpInput, ":/icons/tcp-input.svg"},
    {Command::MqttInput, ":/icons/mqtt-input.svg"},
    {Command::InternalInput, ":/icons/internal-input.svg"},
    {Command::CsvInput, ":/icons/csv-input.svg"},
    {Command(0), nullptr},
    {Command::About, ":/icons/about.svg"},
};

const Command kEditCommands[] = {Command::ChangePicture, Command::PlotList, Command::ConnectList,
                                 Command::BarList,       Command::InfoSave, Command::InfoOpen};

} // namespace

void CMainFrame::CreateActions()
{
    for (const CCommandSpec& spec : CommandTable()) {
        auto* action = new QAction(QString::fromUtf16(spec.m_caption), this);
        action->setStatusTip(CommandStatusText(spec.m_id));
        action->setToolTip(CommandToolTip(spec.m_id));
        action->setData(int(spec.m_id));
        const Command id = spec.m_id;
        if (id == Command::ViewToolbar || id == Command::ViewStatusBar) {
            action->setCheckable(true);
            action->setChecked(true);
        } else {
            connect(action, &QAction::triggered, this, [this, id] { OnDocumentCommand(id); });
        }
        m_actions[id] = action;
    }
    Action(Command::FileNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Action(Command::FileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(Command::FileSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(Action(Command::ViewStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);

    m_editMenus[0] = CreateEditMenu(MenuKind::Scroll, this);
    m_editMenus[1] = CreateEditMenu(MenuKind::Stretch, this);
}

QMenu* CMainFrame::CreateEditMenu(MenuKind kind, QWidget* parent)
{
    auto* menu = new QMenu(QStringLiteral("編集(&E)"), parent);
    for (Command id : kEditCommands)
        menu->addAction(Action(id));
    // One action serves both document types; the pop-up shows its own type's words.
    connect(menu, &QMenu::aboutToShow, this, [this, kind] {
        Action(Command::InfoSave)->setText(CommandCaption(Command::InfoSave, kind));
    });
    connect(menu, &QMenu::aboutToHide, this, [this] {
        Action(Command::InfoSave)->setText(CommandCaption(Command::InfoSave, m_menuKind));
    });
    return menu;
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("標準"));
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setIconSize(QSize(24, 24));
    for (const CToolButton& button : kToolButtons) {
        if (button.m_id == Command(0)) {
            m_toolBar->addSeparator();
            continue;
        }
        // The buttons have actions of their own so that hiding one leaves its menu entry.
        const Command id = button.m_id;
        auto* action = new QAction(QIcon(QString::fromLatin1(button.m_icon)), CommandToolTip(id), m_toolBar);
        action->setStatusTip(CommandStatusText(id));
        action->setData(int(id));
        connect(action, &QAction::triggered, this, [this, id] { OnDocumentCommand(id); });
        m_toolBar->addAction(action);
        m_toolActions[id] = action;
    }
    QAction* toggle = Action(Command::ViewToolbar);
    connect(toggle, &QAction::toggled, m_toolBar, &QWidget::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, toggle, [this, toggle](bool visible) {
        if (!isMinimized())
            toggle->setChecked(visible);
    });
}

void CMainFrame::BuildMenus(MenuKind kind)
{
    m_menuKind = kind;
    m_menusBuilt = true;
    QMenuBar* bar = menuBar();
    for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        old->deleteLater();
    bar->clear();
    for (Command id : {Command::InfoSave, Command::TcpInput})
        Action(id)->setText(CommandCaption(id, kind));
    const bool hasDocument = kind != MenuKind::NoDocument;

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(Action(Command::FileNew));
    file->addAction(Action(Command::FileOpen));
    file->addAction(Action(Command::FileClose));
    if (hasDocument) {
        file->addAction(Action(Command::FileSave));
        file->addAction(Action(Command::FileSaveAs));
    }
    file->addSeparator();
    FillRecentFiles(file);
    file->addSeparator();
    file->addAction(Action(Command::Exit));

    if (hasDocument) {
        QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
        for (Command id : kEditCommands)
            edit->addAction(Action(id));
    }

    QMenu* process = bar->addMenu(QStringLiteral("処理(&P)"));
    if (hasDocument)
        process->addAction(Action(Command::SaveState));
    process->addAction(Action(Command::RestoreState));
    if (hasDocument) {
        process->addSeparator();
        process->addAction(Action(Command::FDConversion));
        process->addSeparator();
        process->addAction(Action(Command::TcpInput));
        process->addAction(Action(Command::MqttInput));
        QMenu* internal = process->addMenu(QStringLiteral("内部データ"));
        internal->addAction(Action(Command::ClearInternal));
        internal->addAction(Action(Command::InternalInput));
        internal->addAction(Action(Command::ExportInternalCsv));
        process->addAction(Action(Command::CsvInput));
    }

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    view->addAction(Action(Command::ViewToolbar));
    view->addAction(Action(Command::ViewStatusBar));
    view->addSeparator();
    view->addAction(Action(Command::CustomizeToolbar));
    view->addSeparator();
    view->addAction(Action(Command::WebPublish));

    if (hasDocument) {
        QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
        connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowMenu(window); });
        FillWindowMenu(window);
    }

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(Action(Command::About));
}

void CMainFrame::FillRecentFiles(QMenu* menu)
{
    const QStringList files = m_docs ? m_docs->RecentFiles() : QStringList();
    if (files.isEmpty()) {
        QAction* placeholder = menu->addAction(CommandCaption(Command::RecentFile1, m_menuKind));
        placeholder->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        const Command id = Command(int(Command::RecentFile1) + i);
        QAction* action = Action(id);
        // "&" in a path would otherwise become a mnemonic.
        QString shown = files.at(i);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        menu->addAction(action);
    }
}

void CMainFrame::FillWindowMenu(QMenu* menu)
{
    menu->clear();
    menu->addAction(Action(Command::NewWindow));
    menu->addAction(Action(Command::WindowCascade));
    menu->addAction(Action(Command::WindowTile));
    menu->addAction(Action(Command::WindowManager));
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    if (windows.isEmpty())
        return;
    menu->addSeparator();
    auto* group = new QActionGroup(menu);
    for (int i = 0; i < windows.size() && i < 9; ++i) {
        QMdiSubWindow* window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        action->setCheckable(true);
        action->setChecked(window == m_area->activeSubWindow());
        group->addAction(action);
        connect(action, &QAction::triggered, m_area, [this, window] { m_area->setActiveSubWindow(window); });
    }
}
