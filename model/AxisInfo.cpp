#include "model/AxisInfo.h"

#include "model/PixelMath.h"
#include "model/RecordValue.h"
#include "pipeline/DocData.h"
#include "platform/Archive.h"

#include <cfloat>
#include <cmath>

CAxisInfo::CAxisInfo() = default;

void CAxisInfo::ExchangeSaved(CArchive& ar)
{
    ar.Exchange(m_fdNo);
    ExchangeEnum(ar, m_valueKind);
    ar.Exchange(m_startX);
    ar.Exchange(m_startY);
    ar.Exchange(m_endX);
    ar.Exchange(m_endY);
    ar.Exchange(m_startValue);
    ar.Exchange(m_endValue);
    ar.Exchange(m_originX);
    ar.Exchange(m_originY);
    ar.Exchange(m_originValue);
    ExchangeEnum(ar, m_logicalKind);
    ar.Exchange(m_logScale);
    ar.Exchange(m_latestRows);
    ar.Exchange(m_latestRowCount);
    ar.Exchange(m_autoRange);
    ar.Exchange(m_showAxisLine);
    m_axisLine.Serialize(ar);
    ar.Exchange(m_showTicks);
    m_tickLine.Serialize(ar);
    ar.Exchange(m_tickStartValue);
    ar.Exchange(m_tickEndValue);
    ar.Exchange(m_tickDivisions);
    ExchangeEnum(ar, m_tickSide);
    ar.Exchange(m_showSubTicks);
    m_subTickLine.Serialize(ar);
    ar.Exchange(m_subTickDivisions);
    ExchangeEnum(ar, m_subTickSide);
    ar.Exchange(m_showLabels);
    m_labelText.Serialize(ar);
    ar.Exchange(m_unit);
    ar.Exchange(m_multiplier);
    ar.Exchange(m_adder);
}

void CAxisInfo::Serialize(CArchive& ar)
{
    ExchangeTransactional(ar, *this, [&ar](CAxisInfo& object) { object.ExchangeSaved(ar); });
}

void CAxisInfo::UpdateFromRecord(const CDocData& record, bool firstRecord)
{
    double v = m_value;
    switch (m_logicalKind) {
    case LogicalKind::Number:
        if (const std::optional<QString> text = MappedFdText(record, m_fdNo)) {
            if (const std::optional<double> parsed = ParseFdNumber(*text))
                v = *parsed * m_multiplier + m_adder;
        }
        break;
    case LogicalKind::DateTime:
        if (const std::optional<QString> text = MappedFdText(record, m_fdNo)) {
            if (const std::optional<double> date = ParseFdDateTime(*text))
                v = *date;
        }
        break;
    case LogicalKind::InputCount:
        v = record.m_row;
        break;
    }

    m_prevValue = m_value;
    m_value = AccumulateValue(m_valueKind, m_value, v);
    if (firstRecord)
        m_prevValue = m_value;
    m_history.Add(m_value);
}

void CAxisInfo::ResetRunState(int32_t ringOn, int64_t capacity)
{
    m_value = AccumulationStart(m_valueKind, m_startValue);
    m_prevValue = m_startValue;
    m_history.RemoveAll();
    m_history.SetRing(ringOn != 0, capacity);
}

double CAxisInfo::Angle() const
{
    const double dx = m_endX - m_startX;
    const double dy = m_endY - m_startY;
    return dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
}

QPointF CAxisInfo::ValueOffset(double v) const
{
    if (!m_logScale) {
        const double range = m_endValue - m_startValue;
        if (range != 0) {
            return QPointF((v - m_originValue) * (m_endX - m_startX) / range,
                           (v - m_originValue) * (m_endY - m_startY) / range);
        }
        // No range: every value sits at the middle of the axis.
        return QPointF(m_startX + 0.5 * (m_endX - m_startX) - m_originX,
                       m_startY + 0.5 * (m_endY - m_startY) - m_originY);
    }
    const double s = m_startValue;
    const double e = m_endValue;
    if (s <= 0 || e <= 0 || s >= e || v <= s)
        return QPointF(0, 0);
    const double f = std::log10(v / s) / std::log10(e / s);
    return QPointF(m_startX + f * (m_endX - m_startX) - m_originX,
                   m_startY + f * (m_endY - m_startY) - m_originY);
}

QPointF CAxisInfo::ValuePoint(double v) const
{
    const QPointF d = ValueOffset(v);
    return QPointF(m_originX + d.x(), m_originY + d.y());
}

double CAxisInfo::PointToValue(double x, double y) const
{
    const double ax = m_endX - m_startX;
    const double ay = m_endY - m_startY;
    const double length = std::hypot(ax, ay);
    if (length <= 0)
        return m_startValue;
    const double px = x - m_startX;
    const double py = y - m_startY;
    const double distance = std::hypot(px, py);
    if (distance <= 0)
        return m_startValue;
    const double pointAngle = px == 0 && py == 0 ? 0.0 : std::atan2(py, px);
    const double c = std::cos(pointAngle - Angle());
    const double s = m_startValue;
    const double e = m_endValue;
    if (!m_logScale)
        return c * (e - s) * distance / length + s;
    double r = 0;
    if (s > 0 && e > 0 && s < e)
        r = s * std::pow(10.0, distance * std::log10(e / s) / length);
    return c * r;
}

double CAxisInfo::NiceStep(double lo, double hi)
{
    const double r = (hi - lo) / 5;
    const double exponent = std::log(r) / std::log(10.0);
    // hi <= lo or an infinite span: no usable step.
    if (!std::isfinite(exponent))
        return 0.0;
    const double p = std::pow(10.0, std::trunc(exponent));
    const double q = r / p;
    static constexpr double kCandidates[] = {2, 5, 10, 20, 50};
    for (size_t i = 0; i + 1 < std::size(kCandidates); ++i) {
        if (q < kCandidates[i])
            return kCandidates[i + 1] * p;
    }
    return 100 * p; // q stays below about 10; kept for completeness
}

void CAxisInfo::ApplyAutoRange()
{
    if (!m_autoRange || m_history.GetCount() < 1)
        return;
    double lo = DBL_MAX;
    double hi = -DBL_MAX;
    bool any = false;
    for (int64_t i = 0; i < m_history.GetCount(); ++i) {
        const double v = m_history.GetAt(i);
        // "NaN" and "inf" readings have no place on the axis and must not stretch it.
        if (!std::isfinite(v))
            continue;
        any = true;
        if (v < lo)
            lo = v;
        if (v > hi)
            hi = v;
    }
    if (!any)
        return;
    m_startValue = m_tickStartValue = lo;
    m_endValue = m_tickEndValue = hi;

    if (m_showTicks && m_logScale) {
        const double t = hi > 0 ? hi : 0.1;
        double top = 1.0;
        if (top < t) {
            while (top < t)
                top *= 10;
        } else {
            while (top / 10 >= t)
                top /= 10;
        }
        const double b = lo > 0 ? lo : top / 100;
        double bottom = top;
        while (bottom > b)
            bottom /= 10;
        m_startValue = m_tickStartValue = bottom;
        m_endValue = m_tickEndValue = top;
    } else if (m_showTicks) {
        const double step = NiceStep(lo, hi);
        if (step > 0) {
            // Whole steps counted in double: a 32-bit count would wrap for a narrow range
            // far from zero (1e12 .. 1e12 + 1).
            const double steps = std::trunc(hi / step) + (hi > 0 ? 1 : 0);
            const double first = std::trunc(lo / step) - (lo < 0 ? 1 : 0);
            m_endValue = m_tickEndValue = steps * step;
            m_startValue = m_tickStartValue = first * step;
        } else {
            m_endValue = m_tickEndValue = 0.0;
            m_startValue = m_tickStartValue = 0.0;
        }
        if (m_startValue != m_endValue && step > 0)
            m_tickDivisions = TruncToInt(std::trunc(m_endValue / step) - std::trunc(m_startValue / step));
        else
            m_tickDivisions = 1;
    }
    m_showSubTicks = 0;
    m_originValue = PointToValue(m_originX, m_originY);
}

void CAxisInfo::ApplyLatestRowsRange()
{
    m_startValue = 1.0;
    m_endValue = static_cast<double>(m_latestRowCount);
    // Keep the origin's value in step with the new range, or position 1 would not sit at
    // the start point.
    m_originValue = PointToValue(m_originX, m_originY);
}

int64_t CAxisInfo::LatestRowsFirst(int64_t count) const
{
    return count >= m_latestRowCount ? count - m_latestRowCount : 0;
}
