#pragma once

#include <map>

class QLineEdit;
class QWidget;

// A dialog's controls by the numbers that the views and the form checks use for them.
class CNumberedControls
{
public:
    // The control with that number, or null.
    QWidget* Control(int control) const;
    // The control with that number when it is a line edit, or null.
    QLineEdit* Edit(int control) const;

    void Add(int control, QWidget* widget);
    // A new number edit under that number; digitsOnly lets it take only 0 to 9.
    QLineEdit* AddEdit(int control, bool digitsOnly);

private:
    std::map<int, QWidget*> m_controls;
};
