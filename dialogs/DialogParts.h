#pragma once

// Pieces the list and edit dialogs share.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;

// Runs a sub-dialog modally and returns its result. Dialogs that open others take one, so
// that tests can drive the sub-dialog instead of entering its event loop.
using DialogRunner = std::function<int(QDialog&)>;
DialogRunner ExecRunner();

// A label that names its field: the field's buddy (so its mnemonic, if any, focuses the
// field) and, without the "&", the field's accessible name.
QLabel* BuddyLabel(const QString& text, QWidget* field);

// "OK" and "キャンセル", wired to the dialog's accept() and reject(); OK is the default
// button, Escape cancels.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A list with "Add...", "Edit..." and "Delete" beside it. Fill() applies the shared rules:
// the requested line clamped, Edit... and Delete enabled only when there is a line.
class CListWithButtons : public QWidget
{
public:
    explicit CListWithButtons(QWidget* parent = nullptr);

    void Fill(const QStringList& lines, int requested);
    int Current() const;

    QListWidget* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    QListWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
};
