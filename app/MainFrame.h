#pragma once

#include "app/Commands.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include <map>

class CDialogWebPublish;
class CDocEntry;
class CDocManager;
class CVantrelApp;
class CViewWidget;
class CWebPublisher;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

// The main window: the MDI area with the documents' windows, the menu of the active document
// type, the toolbar and the status bar. Every command's state follows the command rules.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(CVantrelApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    void AttachDocuments(CDocManager& docs);

    QMdiArea* MdiArea() const { return m_area; }
    QAction* Action(Command id) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    MenuKind CurrentMenuKind() const { return m_menuKind; }
    // The document of the active window, or null.
    CDocEntry* ActiveEntry() const;

    // The last normal (neither maximised nor minimised) frame rectangle, in screen pixels.
    QRect NormalPlacement() const;
    void SetNormalPlacement(const QRect& rect);

    // Re-reads every command's state from the rules; cheap, called whenever it may change.
    void UpdateActions();
    // The toolbar buttons the user hid with the customization command.
    void SetHiddenToolButtons(const QList<int>& ids);

    // The one web publication and its dialog (null until first opened).
    CWebPublisher& WebPublisher() const { return *m_webPublisher; }
    CDialogWebPublish* WebPublishDialog() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // MainMenus.cpp
    void CreateActions();
    void BuildMenus(MenuKind kind);
    void CreateToolBar();
    QMenu* CreateEditMenu(MenuKind kind, QWidget* parent);
    void FillWindowMenu(QMenu* menu);
    void FillRecentFiles(QMenu* menu);

    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnDocumentCommand(Command id);
    void OnCustomizeToolbar();
    void OnWindowManager();
    void OnWebPublish();
    // The view of the current document window, also while another window has the focus.
    CViewWidget* PublishableView() const;
    void UpdateWebStatus();
    void ShowBusyRefusal();
    void UpdateTitle();
    void TrackNormalGeometry();

    CVantrelApp& m_app;
    CDocManager* m_docs = nullptr;
    QMdiArea* m_area = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::map<Command, QAction*> m_actions;
    std::map<Command, QAction*> m_toolActions;
    QMenu* m_editMenus[2] = {nullptr, nullptr}; // pop-ups of the two views
    MenuKind m_menuKind = MenuKind::NoDocument;
    bool m_menusBuilt = false;
    QTimer* m_runTimer = nullptr;
    QRect m_normal;
    CWebPublisher* m_webPublisher = nullptr;
    QPointer<CDialogWebPublish> m_webDialog;
    QLabel* m_webStatus = nullptr;
};
