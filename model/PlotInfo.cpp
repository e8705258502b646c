#include "model/PlotInfo.h"

#include "model/DesignLists.h"
#include "model/PixelMath.h"
#include "model/RecordValue.h"
#include "pipeline/DocData.h"
#include "platform/Archive.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

CPlotInfo::CPlotInfo()
    : m_axes(2)
{
}

void CPlotInfo::ExchangeSaved(CArchive& ar)
{
    ar.Exchange(m_id);
    ExchangeEnum(ar, m_displayKind);
    ExchangeEnum(ar, m_shape);
    ar.Exchange(m_size);
    ar.Exchange(m_color);
    ar.Exchange(m_fill);
    ar.Exchange(m_lineWidth);
    ar.Exchange(m_variableSize);
    ar.Exchange(m_sizeFdNo);
    ExchangeEnum(ar, m_sizeValueKind);
    ar.Exchange(m_sizeBaseValue);
    ar.Exchange(m_sizeStepValue);
    SerializeStringList(ar, m_includePrefixes);
    SerializeStringList(ar, m_ignorePrefixes);
    ExchangeEnum(ar, m_originKind);
    ar.Exchange(m_originPlotId);
    ar.Exchange(m_axisCount);
    const int64_t axesAt = ar.Position();
    SerializeObjectList(ar, m_axes, kMinAxisInfoBytes);
    // Every plot the program makes holds two axes, and the drawing and dialogs rely on it.
    if (ar.IsLoading() && m_axes.size() < 2)
        throw CArchiveError(axesAt, QStringLiteral("a plot with %1 axes; every plot holds two").arg(m_axes.size()));
    SerializeObjectList(ar, m_texts, kMinTextInfoBytes);
    m_historyLine.Serialize(ar);
    ar.Exchange(m_comment);
}

void CPlotInfo::Serialize(CArchive& ar)
{
    ExchangeTransactional(ar, *this, [&ar](CPlotInfo& object) { object.ExchangeSaved(ar); });
}

int32_t CPlotInfo::UsedAxisCount() const
{
    // A damaged file may hold fewer axes than the count asks for.
    const int32_t wanted = m_axisCount >= 2 ? 2 : 1;
    return std::min<int32_t>(wanted, static_cast<int32_t>(m_axes.size()));
}

bool CPlotInfo::UsesLatestRows() const
{
    for (int32_t i = 0; i < UsedAxisCount(); ++i) {
        if (m_axes[size_t(i)].LatestRowsOn())
            return true;
    }
    return false;
}

bool CPlotInfo::UsesAutoRange() const
{
    for (int32_t i = 0; i < UsedAxisCount(); ++i) {
        if (m_axes[size_t(i)].m_autoRange)
            return true;
    }
    return false;
}

void CPlotInfo::UpdateFromRecord(const CDocData& record)
{
    if (!AcceptsRecord(m_includePrefixes, m_ignorePrefixes, record))
        return;

    if (m_variableSize) {
        if (const std::optional<QString> text = MappedFdText(record, m_sizeFdNo)) {
            if (const std::optional<double> v = ParseFdNumber(*text))
                m_sizeValue = AccumulateValue(m_sizeValueKind, m_sizeValue, *v);
        }
        m_sizeHistory.Add(m_sizeValue);
    }

    for (int32_t i = 0; i < UsedAxisCount(); ++i)
        m_axes[size_t(i)].UpdateFromRecord(record, m_firstRecord != 0);
    for (CTextInfo& text : m_texts)
        text.UpdateFromRecord(record);
    m_firstRecord = 0;
}

void CPlotInfo::ResetRunState()
{
    m_firstRecord = 1;
    m_sizeValue = AccumulationStart(m_sizeValueKind, m_sizeBaseValue);

    // Plain axes keep the latest value, latest-rows axes their N rows, auto-range axes all.
    int32_t ringOn = 1;
    int64_t capacity = 1;
    const int32_t used = UsedAxisCount();
    if (used >= 1 && m_axes[0].LatestRowsOn())
        capacity = m_axes[0].m_latestRowCount;
    else if (used >= 2 && m_axes[1].LatestRowsOn())
        capacity = m_axes[1].m_latestRowCount;
    else if (UsesAutoRange())
        ringOn = 0;

    m_sizeHistory.RemoveAll();
    m_sizeHistory.SetRing(ringOn != 0, capacity);
    for (int32_t i = 0; i < used; ++i)
        m_axes[size_t(i)].ResetRunState(ringOn, capacity);
    for (CTextInfo& text : m_texts)
        text.ResetRunState(ringOn, capacity);
}

bool CPlotInfo::ComputeOrigin()
{
    if (m_axes.empty())
        return false;
    CAxisInfo& a1 = m_axes[0];
    if (UsedAxisCount() < 2) {
        a1.m_originX = a1.m_startX;
        a1.m_originY = a1.m_startY;
        a1.m_originValue = a1.PointToValue(a1.m_startX, a1.m_startY);
        return true;
    }
    CAxisInfo& a2 = m_axes[1];

    // Closest points of the two infinite lines; in the plane that is their crossing.
    const double d1x = a1.m_endX - a1.m_startX, d1y = a1.m_endY - a1.m_startY;
    const double d2x = a2.m_endX - a2.m_startX, d2y = a2.m_endY - a2.m_startY;
    const double n1 = d1x * d1x + d1y * d1y;
    const double n2 = d2x * d2x + d2y * d2y;
    bool crossed = false;
    double px = 0, py = 0;
    if (n1 != 0 && n2 != 0) {
        const double l1 = std::pow(n1, 0.5), l2 = std::pow(n2, 0.5);
        const double u1x = d1x / l1, u1y = d1y / l1;
        const double u2x = d2x / l2, u2y = d2y / l2;
        const double c = u1x * u2x + u1y * u2y;
        const double den = 1 - c * c;
        if (den != 0) {
            const double wx = a2.m_startX - a1.m_startX, wy = a2.m_startY - a1.m_startY;
            const double wu1 = wx * u1x + wy * u1y;
            const double wu2 = wx * u2x + wy * u2y;
            const double t = (wu1 - c * wu2) / den;
            const double s = (c * wu1 - wu2) / den;
            px = a1.m_startX + t * u1x;
            py = a1.m_startY + t * u1y;
            const double qx = a2.m_startX + s * u2x, qy = a2.m_startY + s * u2y;
            const double gap = (px - qx) * (px - qx) + (py - qy) * (py - qy);
            crossed = gap < 0.0001;
        }
    }
    if (!crossed) {
        a1.m_originX = a1.m_startX;
        a1.m_originY = a1.m_startY;
        return false;
    }
    for (CAxisInfo* a : {&a1, &a2}) {
        a->m_originX = px;
        a->m_originY = py;
        a->m_originValue = a->PointToValue(px, py);
    }
    return true;
}

std::optional<std::vector<const CPlotInfo*>> CPlotInfo::GetOriginChain(const std::vector<CPlotInfo>& plots) const
{
    std::vector<const CPlotInfo*> chain{this};
    if (m_originKind == OriginKind::Fixed)
        return chain;
    if (m_id == m_originPlotId)
        return std::nullopt;

    // Each step adds a plot with an ID not yet in the chain, so the walk ends within the list.
    for (;;) {
        const int32_t wanted = chain.back()->m_originPlotId;
        const auto it = std::find_if(plots.begin(), plots.end(),
                                     [wanted](const CPlotInfo& p) { return p.m_id == wanted; });
        if (it == plots.end())
            return std::nullopt;
        const CPlotInfo& target = *it;
        if (target.UsesLatestRows() || target.UsesAutoRange())
            return std::nullopt;
        if (target.m_originKind != OriginKind::Fixed && target.m_id == target.m_originPlotId)
            return std::nullopt;
        for (const CPlotInfo* p : chain) {
            if (p->m_id == target.m_id)
                return std::nullopt;
        }
        chain.push_back(&target);
        if (target.m_originKind == OriginKind::Fixed)
            return chain;
    }
}

std::optional<QPointF> CPlotInfo::ChainPosition(const std::vector<CPlotInfo>& plots, bool previous) const
{
    const auto chain = GetOriginChain(plots);
    if (!chain)
        return std::nullopt;
    QPointF sum(0, 0);
    for (const CPlotInfo* q : *chain) {
        if (q->m_firstRecord)
            return std::nullopt;
        for (int32_t i = 0; i < q->UsedAxisCount(); ++i) {
            const CAxisInfo& a = q->m_axes[size_t(i)];
            sum += a.ValueOffset(previous ? a.m_prevValue : a.m_value);
        }
    }
    const CPlotInfo* fixed = chain->back();
    if (fixed->m_axes.empty())
        return std::nullopt;
    const QPointF position = sum + QPointF(fixed->m_axes[0].m_originX, fixed->m_axes[0].m_originY);
    // A "NaN" or "inf" FD, or an overflowing product, gives no place on the picture.
    if (!std::isfinite(position.x()) || !std::isfinite(position.y()))
        return std::nullopt;
    return position;
}

std::optional<QPointF> CPlotInfo::GetPosition(const std::vector<CPlotInfo>& plots) const
{
    return ChainPosition(plots, false);
}

std::optional<QPointF> CPlotInfo::GetPreviousPosition(const std::vector<CPlotInfo>& plots) const
{
    return ChainPosition(plots, true);
}

int32_t CPlotInfo::MarkerRadius() const
{
    const int32_t r0 = m_size / 2;
    if (!m_variableSize || m_sizeStepValue == 0)
        return r0;
    // No size at all rather than a marker covering the picture.
    if (!std::isfinite(m_sizeValue))
        return 0;
    // A size value still at its reset extreme gives an infinite change: saturate.
    const int64_t change = TruncToInt((m_sizeValue - m_sizeBaseValue) * r0 / m_sizeStepValue);
    return ClampToInt(change + r0);
}
