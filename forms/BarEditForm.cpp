#include "forms/BarEditForm.h"

#include "model/BarInfo.h"

CBarEditValues BarEditValuesOf(const CBarInfo& bar)
{
    CBarEditValues v;
    v.id = bar.m_id;
    v.pixelWidth = bar.m_line.m_width;
    v.valueKind = bar.m_axis.m_valueKind;
    v.anchor = bar.m_anchor;
    v.fdNo = bar.m_axis.m_fdNo;
    v.startX = bar.m_axis.m_startX;
    v.startY = bar.m_axis.m_startY;
    v.startValue = bar.m_axis.m_startValue;
    v.endX = bar.m_axis.m_endX;
    v.endY = bar.m_axis.m_endY;
    v.endValue = bar.m_axis.m_endValue;
    v.comment = bar.m_comment;
    v.initialValue = bar.m_initialValue;
    return v;
}

CEditOutcome ApplyBarEdit(std::vector<CBarInfo>& bars, int32_t index, const CBarEditValues& values)
{
    if (index < 0 || index >= static_cast<int32_t>(bars.size()))
        return {};
    if (CEditOutcome refused = CheckUniqueId(bars, index, values.id, BarEditControl::Id); !refused.ok)
        return refused;

    CBarInfo& bar = bars[size_t(index)];
    bar.m_id = values.id;
    bar.m_initialValue = values.initialValue;
    bar.m_line.m_width = values.pixelWidth;
    bar.m_axis.m_valueKind = values.valueKind;
    bar.m_anchor = values.anchor;
    CAxisInfo& axis = bar.m_axis;
    axis.m_fdNo = values.fdNo;
    axis.m_startX = values.startX;
    axis.m_startY = values.startY;
    axis.m_startValue = values.startValue;
    axis.m_endX = values.endX;
    axis.m_endY = values.endY;
    axis.m_endValue = values.endValue;
    bar.SetOriginToStart();
    bar.m_comment = values.comment;
    return {true, QString(), QString(), 0};
}
