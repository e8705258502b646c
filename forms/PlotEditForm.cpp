#include "forms/PlotEditForm.h"

#include "model/PlotInfo.h"

#include <algorithm>

CPlotEditAxisValues PlotEditAxisValuesOf(const CAxisInfo& axis)
{
    return {axis.m_fdNo, axis.m_startX, axis.m_startY, axis.m_startValue,
            axis.m_endX, axis.m_endY, axis.m_endValue};
}

void WritePlotEditAxis(CAxisInfo& axis, const CPlotEditAxisValues& v)
{
    axis.m_fdNo = v.fdNo;
    axis.m_startX = v.startX;
    axis.m_startY = v.startY;
    axis.m_startValue = v.startValue;
    axis.m_endX = v.endX;
    axis.m_endY = v.endY;
    axis.m_endValue = v.endValue;
}

namespace {

CPlotEditOutcome Refuse(const QString& message, const QString& title, int focus)
{
    return {false, message, title, focus};
}

} // namespace

CPlotEditValues PlotEditValuesOf(const CPlotInfo& plot)
{
    CPlotEditValues v;
    v.id = plot.m_id;
    v.size = plot.m_size;
    v.fill = plot.m_fill;
    v.lineWidth = plot.m_lineWidth;
    v.displayKind = plot.m_displayKind;
    v.shape = plot.m_shape;
    v.originKind = plot.m_originKind;
    v.originPlotId = plot.m_originPlotId;
    for (size_t i = 0; i < v.axes.size() && i < plot.m_axes.size(); ++i)
        v.axes[i] = PlotEditAxisValuesOf(plot.m_axes[i]);
    v.axis2Enabled = plot.m_axisCount != 1;
    v.comment = plot.m_comment;
    return v;
}

CPlotEditOutcome ApplyPlotEdit(std::vector<CPlotInfo>& plots, int32_t index, const CPlotEditValues& values)
{
    if (index < 0 || index >= static_cast<int32_t>(plots.size()))
        return {};
    CPlotInfo& plot = plots[size_t(index)];
    // A constructed or loaded plot holds two axes; keep the writes below in bounds regardless.
    if (plot.m_axes.size() < 2)
        plot.m_axes.resize(2);

    if (CPlotEditOutcome refused = CheckUniqueId(plots, index, values.id, PlotEditControl::Id); !refused.ok)
        return refused;

    const QString axisCheck = QStringLiteral("軸チェック");
    if (values.axis2Enabled && plot.m_axes[0].LatestRowsOn() && plot.m_axes[1].LatestRowsOn())
        return Refuse(QStringLiteral("２軸ともに最新行表示には出来ません."), axisCheck,
                      PlotEditControl::Axis2Others);

    // The axes as stored before this Apply decide, not the state of the axis 2 check box.
    if (values.originKind == OriginKind::Moving) {
        const size_t used = plot.m_axisCount == 1 ? 1 : 2;
        const bool moves = std::any_of(plot.m_axes.begin(), plot.m_axes.begin() + used, [](const CAxisInfo& a) {
            return a.LatestRowsOn() || a.m_autoRange != 0;
        });
        if (moves)
            return Refuse(QStringLiteral("軸に「自動範囲設定」または「最新行表示」がある時、原点移動は選択できません."),
                          axisCheck, PlotEditControl::Moving);
    }

    plot.m_id = values.id;
    plot.m_size = values.size;
    plot.m_shape = values.shape;
    plot.m_fill = values.fill;
    plot.m_lineWidth = values.lineWidth;
    plot.m_displayKind = values.displayKind;
    plot.m_originKind = values.originKind;
    plot.m_originPlotId = values.originPlotId;
    WritePlotEditAxis(plot.m_axes[0], values.axes[0]);
    WritePlotEditAxis(plot.m_axes[1], values.axes[1]);
    plot.m_axisCount = values.axis2Enabled ? 2 : 1;

    if (!plot.ComputeOrigin())
        return Refuse(QStringLiteral("２軸が交差しません."), QStringLiteral("軸交差チェック"),
                      PlotEditControl::Axis2StartX);

    plot.m_comment = values.comment;
    return {true, QString(), QString(), 0};
}
