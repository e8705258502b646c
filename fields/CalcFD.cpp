#include "fields/CalcFD.h"

#include "fields/ExprGrammar.h"
#include "fields/FDInfo.h"
#include "pipeline/FieldRow.h"
#include "platform/Archive.h"
#include "platform/Cp932.h"
#include "platform/NumberParse.h"

#include <string_view>

namespace {

struct RowContext
{
    const FieldRow* row;
    const CFDInfos* table;
};

bool ReadField(const void* context, int32_t fd, double& value)
{
    const auto* c = static_cast<const RowContext*>(context);
    const int32_t n = c->table ? c->table->MapFD(fd) : fd;
    // A negative target can only come from a crafted state file; it finds no field.
    if (n < 0 || n >= c->row->size())
        return false;
    // ok is false when nothing converts and on overflow or underflow.
    const NumberParseResult r = ParseDouble(c->row->at(n));
    if (!r.ok)
        return false;
    value = r.value;
    return true;
}

// The grammars read code page 932 bytes, where any non-ASCII character starts with a
// byte of 0x80 or above that no token matches. ASCII text (the usual case) is copied as
// it is, without a trip through iconv.
bool EvaluateText(const QString& text, ExprGrammarKind kind, const ExprFieldReader* reader, double& value)
{
    constexpr qsizetype kInline = 256;
    char buffer[kInline];
    const qsizetype size = text.size();
    if (size <= kInline) {
        const QChar* chars = text.constData();
        bool ascii = true;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t u = chars[i].unicode();
            if (u >= 0x80) {
                ascii = false;
                break;
            }
            buffer[i] = static_cast<char>(u);
        }
        if (ascii)
            return EvaluateExprText(std::string_view(buffer, static_cast<size_t>(size)), kind, reader, value);
    }
    const QByteArray bytes = EncodeCp932(text);
    return EvaluateExprText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), kind,
                            reader, value);
}

} // namespace

CCalcFD::CCalcFD()
    : CCalcFD(QStringLiteral("1 == 1"), QStringLiteral("1"), QStringLiteral("0"))
{
}

CCalcFD::CCalcFD(const QString& condition, const QString& thenExpr, const QString& elseExpr)
    : m_expr{condition, thenExpr, elseExpr}
{
}

void CCalcFD::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        for (const QString& e : m_expr)
            ar.WriteString(e);
        ar.WriteString(m_reserved);
        return;
    }
    std::array<QString, 3> expr;
    for (QString& e : expr)
        e = ar.ReadString();
    QString reserved = ar.ReadString();
    m_expr = std::move(expr);
    m_reserved = std::move(reserved);
}

bool CCalcFD::Evaluate(double& value, const FieldRow* fields, const CFDInfos* table) const
{
    const RowContext context{fields, table};
    const ExprFieldReader reader{&ReadField, &context};
    // No row means validation: every FD(n) yields 1.
    const ExprFieldReader* source = fields ? &reader : nullptr;
    double condition = 0.0;
    if (!EvaluateText(m_expr[0], ExprGrammarKind::Condition, source, condition)) {
        value = 0.0;
        return false;
    }
    // NaN counts as true. The branch not taken is not parsed at all.
    const QString& chosen = condition != 0.0 ? m_expr[1] : m_expr[2];
    return EvaluateText(chosen, ExprGrammarKind::Expression, source, value);
}

QString CCalcFD::GetText() const
{
    return QStringLiteral("if (") + m_expr[0] + QStringLiteral("){ FD値=") + m_expr[1]
        + QStringLiteral("; } else { FD値=") + m_expr[2] + QStringLiteral("; }");
}

bool CCalcFD::CheckCondition(const QString& text)
{
    double value = 0.0;
    return EvaluateText(text, ExprGrammarKind::Condition, nullptr, value);
}

bool CCalcFD::CheckExpression(const QString& text)
{
    double value = 0.0;
    return EvaluateText(text, ExprGrammarKind::Expression, nullptr, value);
}
