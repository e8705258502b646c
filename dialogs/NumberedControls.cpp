#include "dialogs/NumberedControls.h"

#include "dialogs/DialogParts.h"

#include <QLineEdit>

QWidget* CNumberedControls::Control(int control) const
{
    const auto it = m_controls.find(control);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* CNumberedControls::Edit(int control) const
{
    return qobject_cast<QLineEdit*>(Control(control));
}

void CNumberedControls::Add(int control, QWidget* widget)
{
    m_controls[control] = widget;
}

QLineEdit* CNumberedControls::AddEdit(int control, bool digitsOnly)
{
    QLineEdit* edit = NumberEdit();
    if (digitsOnly)
        DigitsOnly(edit);
    Add(control, edit);
    return edit;
}
