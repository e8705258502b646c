#pragma once

#include "dialogs/EditDialog.h"
#include "dialogs/NumberedControls.h"
#include "forms/BarEditForm.h"
#include "model/BarInfo.h"

class QButtonGroup;
class QLineEdit;
class CColorSwatch;

// "棒情報の編集": edits the working bar at the document's selection index while the views
// stay usable for dragging the axis and the pixel width.
class CDialogBarEdit : public CEditDialog
{
    Q_OBJECT

public:
    CDialogBarEdit(const CEditContext& context, QWidget* parent = nullptr);

    // Any control by its number (BarEditControl), or null.
    QWidget* Control(int control) const { return m_controls.Control(control); }
    QLineEdit* Edit(int control) const { return m_controls.Edit(control); }

    // Fills the fields; opening does this from the working bar.
    void SetValues(const CBarEditValues& values);

protected:
    bool ApplyFields() override;
    void CancelEdit() override;

private:
    CBarInfo* WorkingBar() const;
    // All fields in their order over what the bar holds; false after the first that does
    // not read.
    bool ReadFields(CBarEditValues& values);
    void ChooseColor();
    void EditOthers();
    void EditAxis();

    QButtonGroup* AddRadios(const std::vector<std::pair<int, QString>>& radios, QWidget* box);

    CBarInfo m_saved;
    CNumberedControls m_controls;
    QButtonGroup* m_valueKind = nullptr;
    QButtonGroup* m_anchor = nullptr;
    CColorSwatch* m_swatch = nullptr;
};
