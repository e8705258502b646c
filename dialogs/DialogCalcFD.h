#pragma once

#include "fields/CalcFD.h"

#include <QDialog>

#include <array>

class IUserInteraction;
class QLineEdit;

// "CSV計算FD追加": the condition and the two expressions of one computed FD, with the
// grammar's help lines below them.
class CDialogCalcFD : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogCalcFD(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetCalcFD(const CCalcFD& calc);
    // After OK: the checked texts; m_reserved comes back as it was set.
    const CCalcFD& CalcFD() const { return m_calc; }

    // 0 condition, 1 then-expression, 2 else-expression.
    QLineEdit* Edit(int index) const { return m_edits[static_cast<size_t>(index)]; }

    // Stores the three texts, then checks them in order; the first wrong one keeps the
    // dialog open with its message and the focus.
    void accept() override;

private:
    IUserInteraction& m_ui;
    std::array<QLineEdit*, 3> m_edits{};
    CCalcFD m_calc;
};
