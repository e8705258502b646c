#pragma once

// The OK check of the computed FD dialog, kept free of widgets.

#include "fields/CalcFD.h"

#include <QString>

#include <optional>

struct CalcFDProblem
{
    int exprIndex; // index into m_expr of the text whose edit gets the focus
    QString message;
    QString caption;
};

// The first text that fails its check, in the order condition, then, else.
std::optional<CalcFDProblem> CheckCalcFD(const CCalcFD& calc);
