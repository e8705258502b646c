#include "dialogs/DialogAxisLineEdit.h"

CDialogAxisLineEdit::CDialogAxisLineEdit(IUserInteraction& ui, QWidget* parent)
    : CAxisDialogBase(AxisForm::Variant::Narrow, ui, parent)
{
    SetAxis(CAxisInfo());
}
