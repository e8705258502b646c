#pragma once

#include "dialogs/AxisDialogBase.h"

// "その他軸情報設定" of a bar axis: how its line, ticks, sub-ticks and tick labels are drawn,
// and the multiplier and addend of its value. OK writes the fields without further checks.
class CDialogAxisLineEdit : public CAxisDialogBase
{
    Q_OBJECT

public:
    explicit CDialogAxisLineEdit(IUserInteraction& ui, QWidget* parent = nullptr);
};
