#pragma once

#include <QDialog>
#include <QList>

class QListWidget;
class QMdiArea;
class QToolBar;

// "Vantrel について": the icon, the name and version, OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// The choice of a new document's type when there are several.
class CDialogNewType : public QDialog
{
    Q_OBJECT
public:
    explicit CDialogNewType(QWidget* parent = nullptr);
    int SelectedTemplate() const;
    void SetSelectedTemplate(int index);

private:
    QListWidget* m_list;
};

// The window manager: the document windows in a list, with activate, close, cascade and tile.
class CDialogWindowList : public QDialog
{
    Q_OBJECT
public:
    CDialogWindowList(QMdiArea* area, QWidget* parent = nullptr);

private:
    void Refill();
    QMdiArea* m_area;
    QListWidget* m_list;
};

// Which buttons the toolbar shows.
class CDialogToolbarButtons : public QDialog
{
    Q_OBJECT
public:
    CDialogToolbarButtons(QToolBar* toolBar, QWidget* parent = nullptr);
    // Command numbers of the buttons left unchecked.
    QList<int> HiddenCommands() const;

private:
    QListWidget* m_list;
};
