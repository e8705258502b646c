#pragma once

#include "dialogs/DialogParts.h"
#include "fields/FDInfo.h"

#include <QDialog>

class CListWithButtons;
class IUserInteraction;
class QLineEdit;

// "FD番号情報編集": the target FD number and the description lines of one table entry.
class CDialogFDEdit : public QDialog
{
    Q_OBJECT

public:
    CDialogFDEdit(const CFDInfo& entry, IUserInteraction& ui, QWidget* parent = nullptr);

    // The entry with the edited descriptions; the target as read by the last OK.
    const CFDInfo& Result() const { return m_entry; }

    // Runs the string dialog of Add... and Edit... (tests drive it without exec()).
    void SetDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    QLineEdit* TargetEdit() const { return m_target; }
    CListWithButtons* Descriptions() const { return m_descriptions; }

    void accept() override;

private:
    void Refill(int selection);
    void OnAdd();
    void OnEdit();
    void OnDelete();

    IUserInteraction& m_ui;
    DialogRunner m_run = ExecRunner();
    CFDInfo m_entry;
    QLineEdit* m_target;
    CListWithButtons* m_descriptions;
};
