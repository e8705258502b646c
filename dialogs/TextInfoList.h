#pragma once

#include "dialogs/DialogParts.h"
#include "model/TextInfo.h"

#include <QWidget>

#include <functional>
#include <vector>

class IUserInteraction;
class QPushButton;
class QTableWidget;

// The text displays of a plot or bar with "Add...", "Edit..." and "Delete". Changes go into
// the list at once; each display is edited in the text edit dialog.
class CTextInfoList : public QWidget
{
    Q_OBJECT

public:
    // The list being edited, fetched afresh for every action (null: nothing to edit).
    using ListSource = std::function<std::vector<CTextInfo>*()>;
    // The FD number a display added with no row selected starts with.
    using FdNoSource = std::function<int32_t()>;

    CTextInfoList(IUserInteraction& ui, DialogRunner run, ListSource texts, FdNoSource newFdNo,
                  QWidget* parent = nullptr);

    // Rebuilds the rows; selects the requested row when it lies in the list, else the last.
    void Fill(int requested);
    // The selected row, or -1.
    int Current() const;

    QTableWidget* Table() const { return m_table; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    void OnAdd();
    void OnEdit();
    void OnDelete();
    // Runs the text edit dialog on text; true (with text changed) on OK.
    bool RunEdit(CTextInfo& text);

    IUserInteraction& m_ui;
    DialogRunner m_run;
    ListSource m_texts;
    FdNoSource m_newFdNo;
    QTableWidget* m_table;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
};
