#include "fields/CalcFDForm.h"

std::optional<CalcFDProblem> CheckCalcFD(const CCalcFD& calc)
{
    const QString caption = QStringLiteral("入力チェック");
    if (!CCalcFD::CheckCondition(calc.m_expr[0]))
        return CalcFDProblem{0, QStringLiteral("条件式に間違いがあります"), caption};
    for (int i = 1; i <= 2; ++i) {
        if (!CCalcFD::CheckExpression(calc.m_expr[static_cast<size_t>(i)]))
            return CalcFDProblem{i, QStringLiteral("数式に間違いがあります"), caption};
    }
    return std::nullopt;
}
