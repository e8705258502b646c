#pragma once

#include "dialogs/DialogParts.h"
#include "fields/FDInfo.h"
#include "fields/FDListForm.h"

#include <QDialog>

#include <cstdint>

class IUserInteraction;
class QLineEdit;
class QPushButton;

// "FD番号変換一覧": the FD number conversion table, edited on a copy; the caller takes
// Result() back on OK.
class CDialogFDList : public QDialog
{
    Q_OBJECT

public:
    CDialogFDList(CFDInfos infos, IUserInteraction& ui, QWidget* parent = nullptr);

    const CFDInfos& Result() const { return m_infos; }

    // Runs the entry dialog of "編集する..." (tests drive it without exec()).
    void SetDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    CWideList* List() const { return m_list; }
    QLineEdit* CountEdit() const { return m_count; }
    QLineEdit* StartEdit() const { return m_start; }
    QLineEdit* EndEdit() const { return m_end; }
    QLineEdit* NewStartEdit() const { return m_newStart; }
    QPushButton* SetCountButton() const { return m_setCount; }
    QPushButton* RenumberButton() const { return m_renumber; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* ImportButton() const { return m_import; }

    // Reads the number fields first; a bad one keeps the dialog open.
    void accept() override;

private:
    struct Fields
    {
        int32_t count = 100;
        int32_t start = 0;
        int32_t end = 1;
        int32_t newStart = 0;
    };
    bool ReadFields(Fields& out);
    void Refill(int selection);
    void Show(const FDListProblem& problem);
    QLineEdit* EditOf(FDListProblem::Field field) const;

    void OnSetCount();
    void OnRenumber();
    void OnEdit();
    void OnClear();
    void OnExport();
    void OnImport();

    IUserInteraction& m_ui;
    DialogRunner m_run = ExecRunner();
    CFDInfos m_infos;
    CWideList* m_list;
    QLineEdit* m_count;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QLineEdit* m_newStart;
    QPushButton* m_setCount;
    QPushButton* m_renumber;
    QPushButton* m_edit;
    QPushButton* m_clear;
    QPushButton* m_export;
    QPushButton* m_import;
};
