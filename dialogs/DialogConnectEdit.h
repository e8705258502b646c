#pragma once

#include "dialogs/EditContext.h"
#include "dialogs/NumberedControls.h"
#include "forms/ConnectForm.h"
#include "model/ConnectInfo.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class CWideList;

// "プロット結線情報の編集": edits the working connection at the document's selection index,
// modally, from inside the connection list. Its plot-ID list and colour change the working
// connection at once; Cancel puts back the connection as the dialog found it.
class CDialogConnectEdit : public QDialog
{
    Q_OBJECT

public:
    CDialogConnectEdit(const CEditContext& context, QWidget* parent = nullptr);

    // Any control by its number (ConnectEditControl), or null.
    QWidget* Control(int control) const { return m_controls.Control(control); }
    QLineEdit* Edit(int control) const { return m_controls.Edit(control); }
    CWideList* PlotIdList() const { return m_plotIds; }

    // Fills the fields; opening does this from the working connection.
    void SetValues(const CConnectEditValues& values);

    void accept() override;
    void reject() override;

private:
    CConnectInfo* WorkingConnect() const;
    // All fields in their order; false after the first that does not read.
    bool ReadFields(CConnectEditValues& values);
    // The steps Apply and OK share; false leaves the dialog as it is.
    bool ApplyFields();

    void FillPlotIds(int requested);
    void UpdatePlotIdButtons();
    int SelectedPlotId() const;
    // Runs the plot-ID picker; nothing when it was cancelled.
    std::optional<int32_t> PickPlotId(int32_t initial);
    void AddPlotId();
    void ChangePlotId();
    void DeletePlotId();
    void MovePlotId(int delta);
    void ChooseColor();

    CEditContext m_context;
    CConnectInfo m_saved;
    CNumberedControls m_controls;
    QCheckBox* m_closed = nullptr;
    QRadioButton* m_latest = nullptr;
    QRadioButton* m_history = nullptr;
    QComboBox* m_style = nullptr;
    QWidget* m_swatch = nullptr;
    CWideList* m_plotIds = nullptr;
};
