#pragma once

// Pieces the list and edit dialogs share.

#include <QDialog>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QButtonGroup;
class QDialogButtonBox;
class QGroupBox;
class CExtentDelegate;
class QLabel;
class QLineEdit;
class QPushButton;

// Runs a sub-dialog modally and returns its result. Dialogs that open others take one, so
// that tests can drive the sub-dialog instead of entering its event loop.
using DialogRunner = std::function<int(QDialog&)>;
DialogRunner ExecRunner();
// Runs the dialog through run, or modally itself when there is no runner.
inline int RunSubDialog(const DialogRunner& run, QDialog& dialog)
{
    return run ? run(dialog) : dialog.exec();
}

// A label that names its field: the field's buddy (so its mnemonic, if any, focuses the
// field) and, without the "&", the field's accessible name.
QLabel* BuddyLabel(const QString& text, QWidget* field);

// An edit for a number field, wide enough for any int32.
QLineEdit* NumberEdit(const QString& text = QString());

// Lets the edit take only the digits 0 to 9 while typing.
void DigitsOnly(QLineEdit* edit);

// Checks the button whose id is value. A value no button has leaves all clear: exclusivity
// is lifted for that moment, as an exclusive group cannot show "none".
void CheckById(QButtonGroup* group, int value);

// A titled group box holding one widget.
QGroupBox* TitledGroup(const QString& title, QWidget* content);

// Focuses the button and clicks it once the current handler has returned, so that the click
// sees the state as it stands then; dropped when the button is gone or disabled by then.
void ClickLater(QPushButton* button);

// "OK" and "キャンセル", wired to the dialog's accept() and reject(); OK is the default
// button, Escape cancels.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A list of one-line texts that scrolls sideways as far as its widest line, plus 5 pixels.
// All lines share one size, so that a list of a million lines fills in a moment.
class CWideList : public QListWidget
{
public:
    explicit CWideList(QWidget* parent = nullptr);

    // Replaces the lines and selects the requested one, clamped; returns the selection
    // (-1 for an empty list).
    int Fill(const QStringList& lines, int requested);

private:
    CExtentDelegate* m_delegate;
};

// A list with "Add...", "Edit..." and "Delete" beside it. Fill() applies the shared rules:
// the requested line clamped, Edit... and Delete enabled only when there is a line.
class CListWithButtons : public QWidget
{
public:
    explicit CListWithButtons(QWidget* parent = nullptr);

    void Fill(const QStringList& lines, int requested);
    int Current() const;

    CWideList* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    CWideList* m_list;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
};
