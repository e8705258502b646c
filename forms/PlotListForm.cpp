#include "forms/PlotListForm.h"

#include "forms/EditPattern.h"
#include "model/PlotInfo.h"
#include "platform/SafeFormat.h"


namespace PlotListForm {

namespace {

QString D(int64_t value)
{
    return QString::number(value);
}

// The C library's "%g" with '.' whatever the user's locale is.
QString G(double value)
{
    return FormatG(value);
}

// The value-kind words; other values give nothing.
QString ValueKindWord(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Instant:
        return QStringLiteral("瞬時値");
    case ValueKind::Max:
        return QStringLiteral("最大値");
    case ValueKind::Min:
        return QStringLiteral("最小値");
    default:
        return QString();
    }
}

// A plot from a damaged file may hold fewer axes than its count says.
const CAxisInfo* AxisAt(const CPlotInfo& plot, size_t index)
{
    return index < plot.m_axes.size() ? &plot.m_axes[index] : nullptr;
}

} // namespace

QStringList Headers()
{
    return {
        QStringLiteral(" ID "),
        QStringLiteral("表示種別"),
        QStringLiteral("原点種別"),
        QStringLiteral("軸1基本属性\u3000\u3000\u3000\u3000\u3000\u3000\u3000"),
        QStringLiteral("軸1その他属性"),
        QStringLiteral("軸2基本属性"),
        QStringLiteral("軸2その他属性"),
        QStringLiteral("履歴折れ線"),
        QStringLiteral("プロットサイズ"),
        QStringLiteral("コメント\u3000\u3000\u3000"),
        QStringLiteral("対象データ先頭文字列"),
        QStringLiteral("無視データ先頭文字列"),
    };
}

QString AxisBasicText(const CAxisInfo& axis)
{
    return QStringLiteral("FD番号%1,論理値%2から%3").arg(D(axis.m_fdNo), G(axis.m_startValue), G(axis.m_endValue));
}

QString AxisLogicalText(const CAxisInfo& axis)
{
    switch (axis.m_logicalKind) {
    case LogicalKind::Number:
        return QStringLiteral("数値(*%1+%2)").arg(G(axis.m_multiplier), G(axis.m_adder));
    case LogicalKind::DateTime:
        return QStringLiteral("日時");
    case LogicalKind::InputCount:
        return QStringLiteral("入力数");
    }
    return QString();
}

QString AxisOtherText(const CAxisInfo& axis)
{
    QString text = AxisLogicalText(axis);
    const QString valueKind = ValueKindWord(axis.m_valueKind);
    if (!valueKind.isEmpty())
        text += QStringLiteral(", ") + valueKind;
    if (axis.m_autoRange)
        text += QStringLiteral(", 自動範囲設定");
    // No ", " before this item: it has always followed the previous one directly.
    if (axis.m_latestRows)
        text += QStringLiteral("最新%1行表示").arg(D(axis.m_latestRowCount));
    if (axis.m_logScale)
        text += QStringLiteral(", 対数軸");
    return text;
}

QString SizeText(const CPlotInfo& plot)
{
    if (!plot.m_variableSize)
        return QStringLiteral("固定");
    const QString kind = ValueKindWord(plot.m_sizeValueKind);
    return QStringLiteral("可変:FD番号%1:初期論理値%2:半径変化論理値%3:%4")
        .arg(D(plot.m_sizeFdNo), G(plot.m_sizeBaseValue), G(plot.m_sizeStepValue),
             kind.isEmpty() ? QStringLiteral("???") : kind);
}

QStringList RowTexts(const CPlotInfo& plot)
{
    const QString none = QStringLiteral("---");
    const CAxisInfo* axis1 = AxisAt(plot, 0);
    const CAxisInfo* axis2 = plot.m_axisCount < 2 ? nullptr : AxisAt(plot, 1);
    QStringList cells;
    cells << D(plot.m_id);
    cells << (plot.m_displayKind == DisplayKind::Latest ? QStringLiteral("最新表示") : QStringLiteral("履歴表示"));
    cells << (plot.m_originKind == OriginKind::Fixed ? QStringLiteral("原点固定")
                                                     : QStringLiteral("移動:対象ID%1").arg(D(plot.m_originPlotId)));
    cells << (axis1 ? AxisBasicText(*axis1) : QString());
    cells << (axis1 ? AxisOtherText(*axis1) : QString());
    cells << (axis2 ? AxisBasicText(*axis2) : none);
    cells << (axis2 ? AxisOtherText(*axis2) : none);
    cells << (plot.m_historyLine.m_show ? QStringLiteral("有り") : QStringLiteral("無し"));
    cells << SizeText(plot);
    cells << plot.m_comment;
    cells << QuotedList(plot.m_includePrefixes);
    cells << QuotedList(plot.m_ignorePrefixes);
    return cells;
}

int32_t NextPlotId(const std::vector<CPlotInfo>& plots)
{
    return NextEntryId(plots);
}

int AddPlot(std::vector<CPlotInfo>& plots, int selectedIndex)
{
    CPlotInfo plot;
    if (selectedIndex >= 0 && size_t(selectedIndex) < plots.size())
        plot = plots[size_t(selectedIndex)];
    plot.m_id = NextPlotId(plots);
    for (CAxisInfo& axis : plot.m_axes) {
        axis.m_startX += 50;
        axis.m_startY += 50;
        axis.m_endX += 50;
        axis.m_endY += 50;
    }
    if (!plot.ComputeOrigin() && plot.m_axes.size() >= 2) {
        CAxisInfo& a1 = plot.m_axes[0];
        CAxisInfo& a2 = plot.m_axes[1];
        a1.m_endX = a1.m_startX + 100;
        a1.m_endY = a1.m_startY + 100;
        a2.m_startX = a1.m_startX;
        a2.m_startY = a1.m_startY;
        a2.m_endX = a1.m_startX + 100;
        a2.m_endY = a1.m_startY - 100;
        plot.ComputeOrigin();
    }
    plots.push_back(std::move(plot));
    return static_cast<int>(plots.size()) - 1;
}

int FirstFailingOriginChain(const std::vector<CPlotInfo>& plots)
{
    for (size_t i = 0; i < plots.size(); ++i) {
        if (!plots[i].GetOriginChain(plots))
            return static_cast<int>(i);
    }
    return -1;
}

QString OriginChainMessage(int32_t id)
{
    return QStringLiteral("ID%1プロット情報の原点移動が無限ループか、\n対象プロット情報が存在しないか、\n"
                          "「自動範囲設定」または「最新行表示」が含まれています.")
        .arg(D(id));
}

} // namespace PlotListForm
