#pragma once

#include <QString>

#include <array>

class CArchive;
class CFDInfos;
class FieldRow;

// A computed FD: "if (cond) value = then; else value = else", appended to every record.
// Evaluation keeps its state on the stack, so any number of threads may evaluate at once.
class CCalcFD
{
public:
    CCalcFD();
    CCalcFD(const QString& condition, const QString& thenExpr, const QString& elseExpr);
    CCalcFD(const CCalcFD&) = default;
    CCalcFD(CCalcFD&&) noexcept = default;
    CCalcFD& operator=(const CCalcFD&) = default;
    CCalcFD& operator=(CCalcFD&&) noexcept = default;
    virtual ~CCalcFD() = default;

    // Throws CArchiveError on a malformed load; the object is then left unchanged.
    virtual void Serialize(CArchive& ar);

    // Evaluates the condition, then the chosen expression, on fields with FD numbers mapped
    // through table (null table: identity). On any failure value is 0 and the result false.
    bool Evaluate(double& value, const FieldRow* fields, const CFDInfos* table) const;

    // "if (cond){ FD値=then; } else { FD値=else; }" for list lines.
    QString GetText() const;

    // Validation with every FD(n) taken as 1.
    static bool CheckCondition(const QString& text);
    static bool CheckExpression(const QString& text);

    bool operator==(const CCalcFD& other) const
    {
        return m_expr == other.m_expr && m_reserved == other.m_reserved;
    }

    std::array<QString, 3> m_expr; // [0] condition, [1] then-expression, [2] else-expression
    QString m_reserved;            // kept and stored, never interpreted
};
