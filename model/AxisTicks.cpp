// Tick, sub-tick and label values of an axis and their pixel geometry.
#include "model/AxisInfo.h"

#include "model/PixelMath.h"

#include <cmath>
#include <numbers>

namespace {

// A value of a logarithmic series that can still be multiplied on: a series that starts at
// or below zero, or that reaches infinity, would never end.
bool Continues(double v)
{
    return v > 0 && std::isfinite(v);
}

double LinearMark(double start, double step, int64_t i)
{
    // The first mark is the start itself, even when zero divisions make the step infinite.
    return i == 0 ? start : start + static_cast<double>(i) * step;
}

int64_t TruncTo64(double v)
{
    // |v| never exceeds 2^31 here: a cosine times an int32 length.
    return static_cast<int64_t>(v);
}

} // namespace

bool CAxisInfo::LogRangeUsable() const
{
    return m_startValue > 0 && m_endValue > 0 && m_startValue < m_endValue;
}

std::vector<double> CAxisInfo::TickValues() const
{
    std::vector<double> out;
    if (!m_logScale) {
        if (m_tickDivisions < 0)
            return out;
        const double step = (m_tickEndValue - m_tickStartValue) / m_tickDivisions;
        const int64_t last = std::min<int64_t>(m_tickDivisions, kMaxMarks - 1);
        out.reserve(static_cast<size_t>(last + 1));
        for (int64_t i = 0; i <= last; ++i)
            out.push_back(LinearMark(m_tickStartValue, step, i));
        return out;
    }
    if (!LogRangeUsable() || !(m_tickStartValue <= m_tickEndValue))
        return out;
    for (double v = m_tickStartValue; v <= m_tickEndValue && Continues(v); v *= 10)
        out.push_back(v);
    return out;
}

std::vector<double> CAxisInfo::SubTickValues() const
{
    std::vector<double> out;
    if (!m_logScale) {
        if (m_tickDivisions <= 0 || m_subTickDivisions <= 1)
            return out;
        const double step = (m_tickEndValue - m_tickStartValue) / m_tickDivisions;
        const double sub = step / m_subTickDivisions;
        for (int64_t i = 0; i < m_tickDivisions; ++i) {
            for (int64_t j = 1; j < m_subTickDivisions; ++j) {
                if (static_cast<int64_t>(out.size()) >= kMaxMarks)
                    return out;
                out.push_back(m_tickStartValue + static_cast<double>(i) * step + static_cast<double>(j) * sub);
            }
        }
        return out;
    }
    if (!LogRangeUsable())
        return out;
    // The first value past the tick end ends the whole series.
    for (double d = m_tickStartValue; Continues(d); d *= 10) {
        for (int k = 2; k <= 9; ++k) {
            const double v = k * d;
            if (v > m_tickEndValue || !std::isfinite(v))
                return out;
            out.push_back(v);
        }
    }
    return out;
}

std::vector<CAxisLabel> CAxisInfo::Labels() const
{
    std::vector<CAxisLabel> out;
    CTextInfo text(m_labelText);
    text.m_prefix.clear();
    text.m_suffix.clear();
    auto add = [&](double v, bool last) {
        if (last)
            text.m_suffix = m_unit;
        text.m_value = v;
        out.push_back(CAxisLabel{v, text.FormatText(), QPoint()});
    };

    if (!m_logScale) {
        if (m_tickDivisions < 0)
            return out;
        const double step = (m_tickEndValue - m_tickStartValue) / m_tickDivisions;
        const int64_t last = std::min<int64_t>(m_tickDivisions, kMaxMarks - 1);
        for (int64_t i = 0; i <= last; ++i)
            add(LinearMark(m_tickStartValue, step, i), i == m_tickDivisions);
        return out;
    }
    if (!LogRangeUsable())
        return out;
    for (double v = m_tickStartValue; v < m_tickEndValue && Continues(v); v *= 10)
        add(v, false);
    // The end always gets its own label, exactly at the tick end and with the unit.
    add(m_tickEndValue, true);
    return out;
}

QPoint CAxisInfo::ValuePixel(double v, double scale) const
{
    const QPointF p = ValuePoint(v);
    return DesignToPixel(p.x(), p.y(), scale);
}

QLine CAxisInfo::TickSegment(QPoint p, const CLineInfo& line, TickSide side) const
{
    const double normal = Angle() + std::numbers::pi / 2;
    const int64_t px = p.x();
    const int64_t py = p.y();
    const double length = line.m_length;
    auto point = [](int64_t x, int64_t y) { return QPoint(ClampToInt(x), ClampToInt(y)); };
    switch (side) {
    case TickSide::Both: {
        const double half = length * 0.5;
        const int64_t ox = TruncTo64(std::cos(normal) * half);
        const int64_t oy = TruncTo64(std::sin(normal) * half);
        return QLine(point(px + ox, py + oy), point(px - ox, py - oy));
    }
    case TickSide::UpperLeft: {
        const int64_t ox = TruncTo64(std::cos(normal) * length);
        const int64_t oy = TruncTo64(std::sin(normal) * length);
        return QLine(point(px - ox, py - oy), p);
    }
    case TickSide::LowerRight: {
        const int64_t ox = TruncTo64(std::cos(normal) * length);
        const int64_t oy = TruncTo64(std::sin(normal) * length);
        return QLine(p, point(px + ox, py + oy));
    }
    }
    return QLine(p, p);
}

CAxisLayout CAxisInfo::Layout(double scale) const
{
    CAxisLayout out;
    if (!m_showAxisLine)
        return out;
    out.m_visible = true;
    out.m_axisLine = QLine(DesignToPixel(m_startX, m_startY, scale), DesignToPixel(m_endX, m_endY, scale));
    if (m_showTicks) {
        for (const double v : TickValues())
            out.m_ticks.push_back(TickSegment(ValuePixel(v, scale), m_tickLine, m_tickSide));
    }
    if (m_showSubTicks) {
        for (const double v : SubTickValues())
            out.m_subTicks.push_back(TickSegment(ValuePixel(v, scale), m_subTickLine, m_subTickSide));
    }
    if (m_showLabels) {
        out.m_labels = Labels();
        for (CAxisLabel& label : out.m_labels)
            label.m_point = ValuePixel(label.m_value, scale);
    }
    return out;
}
