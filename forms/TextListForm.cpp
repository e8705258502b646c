#include "forms/TextListForm.h"

#include "forms/FieldRead.h"
#include "model/TextInfo.h"
#include "platform/SafeFormat.h"

#include <cstdlib>

namespace TextListForm {

namespace {

const QString kUnknown = QStringLiteral("???");

QString DisplayKindText(DisplayKind kind)
{
    switch (kind) {
    case DisplayKind::Latest: return QStringLiteral("最新");
    case DisplayKind::History: return QStringLiteral("履歴");
    }
    return kUnknown;
}

QString LogicalKindText(const CTextInfo& t)
{
    switch (t.m_logicalKind) {
    case LogicalKind::Number:
        return QStringLiteral("数値(*") + FormatG(t.m_multiplier) + u'+' + FormatG(t.m_adder) + u')';
    case LogicalKind::DateTime: return QStringLiteral("日時");
    case LogicalKind::InputCount: return QStringLiteral("入力数");
    }
    return QString();
}

QString ValueKindText(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Instant: return QStringLiteral("瞬時値");
    case ValueKind::Max: return QStringLiteral("最大値");
    case ValueKind::Min: return QStringLiteral("最小値");
    case ValueKind::String: return QStringLiteral("テキスト");
    }
    return kUnknown;
}

QString AnchorText(TextAnchor anchor)
{
    const QString caption = Caption(anchor);
    return caption.isEmpty() ? kUnknown : caption;
}

} // namespace

QStringList Headers()
{
    return {QStringLiteral("対象FD番号"), QStringLiteral("表示種別"), QStringLiteral("論理値種別"),
            QStringLiteral("数値種別"),   QStringLiteral("表示書式"), QStringLiteral("色"),
            QStringLiteral("背景色"),     QStringLiteral("背景透明"), QStringLiteral("サイズ"),
            QStringLiteral("位置\u3000\u3000"), QStringLiteral("距離"), QStringLiteral("前置"),
            QStringLiteral("後置")};
}

QStringList CellTexts(const CTextInfo& t)
{
    // Widened before abs(): a height of INT32_MIN has no int32 absolute value.
    const int64_t height = std::llabs(int64_t(t.m_font.lfHeight));
    return {FieldRead::FormatInt(t.m_fdNo),
            DisplayKindText(t.m_displayKind),
            LogicalKindText(t),
            ValueKindText(t.m_valueKind),
            t.m_format,
            QStringLiteral("  "),
            QStringLiteral("  "),
            t.m_opaque ? QStringLiteral("No") : QStringLiteral("Yes"),
            FieldRead::FormatInt(height),
            AnchorText(t.m_anchor),
            FieldRead::FormatInt(t.m_distance),
            t.m_prefix,
            t.m_suffix};
}

std::optional<COLORREF> CellColor(const CTextInfo& t, int column)
{
    if (column == kTextColorColumn)
        return t.m_textColor;
    if (column == kBackColorColumn)
        return t.m_backColor;
    return std::nullopt;
}

} // namespace TextListForm
