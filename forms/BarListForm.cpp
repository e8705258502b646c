#include "forms/BarListForm.h"

#include "forms/EditPattern.h"
#include "forms/PlotListForm.h"
#include "model/BarInfo.h"
#include "platform/SafeFormat.h"

#include <algorithm>

namespace BarListForm {

namespace {

constexpr int32_t kAddedWidth = 6;

QString ValueKindText(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Instant:
    case ValueKind::Max:
    case ValueKind::Min:
        return Caption(kind);
    default:
        return QString();
    }
}

QString AnchorText(BarAnchor anchor)
{
    const QString text = Caption(anchor);
    return text.isEmpty() ? QStringLiteral("???") : text;
}

} // namespace

QStringList Headers()
{
    return {
        QStringLiteral(" ID "),
        QStringLiteral("初期論理値"),
        QStringLiteral("数値種別"),
        QStringLiteral("原点相対位置"),
        QStringLiteral("軸基本属性\u3000\u3000\u3000\u3000\u3000\u3000\u3000"),
        QStringLiteral("軸その他属性"),
        QStringLiteral("コメント\u3000\u3000\u3000"),
        QStringLiteral("対象データ先頭文字列"),
        QStringLiteral("無視データ先頭文字列"),
    };
}

QStringList RowTexts(const CBarInfo& bar)
{
    QStringList cells;
    cells << QString::number(bar.m_id);
    cells << FormatG(bar.m_initialValue);
    cells << ValueKindText(bar.m_axis.m_valueKind);
    cells << AnchorText(bar.m_anchor);
    cells << PlotListForm::AxisBasicText(bar.m_axis);
    cells << PlotListForm::AxisLogicalText(bar.m_axis);
    cells << bar.m_comment;
    cells << QuotedList(bar.m_includePrefixes);
    cells << QuotedList(bar.m_ignorePrefixes);
    return cells;
}

COLORREF ComplementaryColor(COLORREF color)
{
    const uint32_t r = color & 0xFF;
    const uint32_t g = (color >> 8) & 0xFF;
    const uint32_t b = (color >> 16) & 0xFF;
    const uint32_t s = std::max({r, g, b}) + std::min({r, g, b});
    return (s - r) | ((s - g) << 8) | ((s - b) << 16);
}

int AddBar(std::vector<CBarInfo>& bars, int selectedIndex)
{
    CBarInfo bar;
    if (selectedIndex >= 0 && size_t(selectedIndex) < bars.size())
        bar = bars[size_t(selectedIndex)];
    bar.m_id = NextEntryId(bars);
    bar.m_line.m_width = kAddedWidth;
    bar.m_line.m_color = ComplementaryColor(bar.m_line.m_color);
    bars.push_back(std::move(bar));
    return static_cast<int>(bars.size()) - 1;
}

} // namespace BarListForm
