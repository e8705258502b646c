#pragma once

#include "dialogs/DialogParts.h"
#include "forms/InputOptionsForm.h"

#include <QDialog>

#include <cstdint>

class CListWithButtons;
class CMain;
class IUserInteraction;
class QCheckBox;
class QLineEdit;

// "入力データ処理オプション": what the pipeline does with the lines of the next run. Works on
// copies; OK writes them back into the pipeline except the ring settings, which the input
// command applies to the store (CMain::ApplyRingOptions). Cancel changes nothing.
class CDialogInputDataOption : public QDialog
{
    Q_OBJECT

public:
    CDialogInputDataOption(CMain& main, IUserInteraction& ui, QWidget* parent = nullptr);

    // The ring settings chosen by OK (before OK: the store's).
    bool Ring() const { return m_options.m_ring; }
    int64_t Capacity() const { return m_options.m_capacity; }

    // Run without the workers' fixed pauses; kept by the caller in the settings.
    void SetUnpaced(bool unpaced);
    bool Unpaced() const;

    // The dialog's copies: the lists as edited so far, the other values as read by OK.
    const CInputOptions& Values() const { return m_options; }
    void SetValues(const CInputOptions& options);

    // Runs the string and computed FD dialogs (tests drive them without exec()).
    void SetDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    QCheckBox* SaveInternalBox() const { return m_saveInternal; }
    QCheckBox* KeepInternalBox() const { return m_keepInternal; }
    QCheckBox* RingBox() const { return m_ring; }
    QLineEdit* CapacityEdit() const { return m_capacity; }
    QCheckBox* SaveCsvBox() const { return m_saveCsv; }
    QCheckBox* AppendCsvBox() const { return m_appendCsv; }
    CListWithButtons* IncludeList() const { return m_include; }
    CListWithButtons* ExcludeList() const { return m_exclude; }
    CListWithButtons* CalcFDList() const { return m_calc; }
    QCheckBox* UnpacedBox() const { return m_unpaced; }

    void accept() override;

private:
    void ConnectPrefixList(CListWithButtons* box, QStringList CInputOptions::*list);
    void ConnectCalcFDList();
    void RefillCalcFDs(int selection);

    CMain& m_main;
    IUserInteraction& m_ui;
    DialogRunner m_run = ExecRunner();
    CInputOptions m_options;
    QCheckBox* m_saveInternal;
    QCheckBox* m_keepInternal;
    QCheckBox* m_ring;
    QLineEdit* m_capacity;
    QCheckBox* m_saveCsv;
    QCheckBox* m_appendCsv;
    CListWithButtons* m_include;
    CListWithButtons* m_exclude;
    CListWithButtons* m_calc;
    QCheckBox* m_unpaced;
};
