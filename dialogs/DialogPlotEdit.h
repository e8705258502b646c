#pragma once

#include "dialogs/EditDialog.h"
#include "dialogs/NumberedControls.h"
#include "forms/PlotEditForm.h"
#include "model/PlotInfo.h"

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class CColorSwatch;

// "プロット情報編集…SHIFT+マウスドラッグでサイズ指定可能": edits the working plot at the
// document's selection index while the views stay usable for dragging positions and sizes.
class CDialogPlotEdit : public CEditDialog
{
    Q_OBJECT

public:
    CDialogPlotEdit(const CEditContext& context, QWidget* parent = nullptr);

    // Any control by its number (PlotEditControl), or null.
    QWidget* Control(int control) const { return m_controls.Control(control); }
    QLineEdit* Edit(int control) const { return m_controls.Edit(control); }
    QCheckBox* FillBox() const { return m_fill; }
    QCheckBox* Axis2Box() const { return m_axis2Enabled; }
    QRadioButton* LatestRadio() const { return m_latest; }
    QRadioButton* HistoryRadio() const { return m_history; }
    QRadioButton* FixedRadio() const { return m_fixed; }
    QRadioButton* MovingRadio() const { return m_moving; }
    QComboBox* ShapeList() const { return m_shape; }

    // Fills the fields; opening does this from the working plot.
    void SetValues(const CPlotEditValues& values);

protected:
    bool ApplyFields() override;
    void CancelEdit() override;

private:
    CPlotInfo* WorkingPlot() const;
    // All fields in their order; false after the first that does not read.
    bool ReadFields(CPlotEditValues& values);
    void ChooseColor();
    void EditOthers();
    // "その他軸情報..." of axis 0 or 1, and "軸CopyMove...".
    void EditAxis(int axis);
    void CopyMoveAxes();
    // The FD number, coordinate and logical-value fields as the working plot has them.
    void LoadAxisFields();
    void SetAxisFields(int axis, const CPlotEditAxisValues& values);

    CPlotInfo m_saved;
    CNumberedControls m_controls;
    QCheckBox* m_fill = nullptr;
    QCheckBox* m_axis2Enabled = nullptr;
    QRadioButton* m_latest = nullptr;
    QRadioButton* m_history = nullptr;
    QRadioButton* m_fixed = nullptr;
    QRadioButton* m_moving = nullptr;
    QComboBox* m_shape = nullptr;
    CColorSwatch* m_swatch = nullptr;
};
