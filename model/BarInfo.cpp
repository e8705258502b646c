#include "model/BarInfo.h"

#include "model/DesignLists.h"
#include "model/PixelMath.h"
#include "pipeline/DocData.h"
#include "platform/Archive.h"

#include <cmath>
#include <numbers>

namespace {

// Difference of two directions folded into [0, pi], so that directions on either side of
// the +-pi seam count as close.
double AngleBetween(double a, double b)
{
    double d = std::fabs(a - b);
    if (d > std::numbers::pi)
        d = 2 * std::numbers::pi - d;
    return d;
}

// Pixel length and direction of a displacement; a zero length takes the fallback direction.
// A displacement that is not finite ("NaN", "inf", an overflow) measures as zero and says so.
struct Reach
{
    int length;
    double angle;
    bool finite;
};

Reach MeasureReach(QPointF offset, double scale, double fallbackAngle)
{
    const double pixels = std::hypot(offset.x() * scale, offset.y() * scale);
    if (!std::isfinite(pixels))
        return {0, fallbackAngle, false};
    const int length = TruncToInt(pixels);
    const double angle = length != 0 ? std::atan2(offset.y(), offset.x()) : fallbackAngle;
    return {length, angle, true};
}

QPoint Along(double angle, int length)
{
    return QPoint(TruncToInt(std::cos(angle) * length), TruncToInt(std::sin(angle) * length));
}

QPoint Offset(QPoint p, QPoint d, int sign)
{
    return QPoint(ClampToInt(int64_t(p.x()) + sign * int64_t(d.x())),
                  ClampToInt(int64_t(p.y()) + sign * int64_t(d.y())));
}

} // namespace

CBarInfo::CBarInfo()
{
    m_line.m_show = 1;
}

void CBarInfo::ExchangeSaved(CArchive& ar)
{
    ar.Exchange(m_id);
    ar.Exchange(m_initialValue);
    ar.Exchange(m_reserved);
    m_axis.Serialize(ar);
    ExchangeEnum(ar, m_anchor);
    m_line.Serialize(ar);
    SerializeStringList(ar, m_includePrefixes);
    SerializeStringList(ar, m_ignorePrefixes);
    SerializeObjectList(ar, m_texts, kMinTextInfoBytes);
    ar.Exchange(m_comment);
}

void CBarInfo::Serialize(CArchive& ar)
{
    ExchangeTransactional(ar, *this, [&ar](CBarInfo& object) { object.ExchangeSaved(ar); });
}

void CBarInfo::UpdateFromRecord(const CDocData& record)
{
    if (!AcceptsRecord(m_includePrefixes, m_ignorePrefixes, record))
        return;
    m_axis.UpdateFromRecord(record, m_firstRecord != 0);
    for (CTextInfo& text : m_texts)
        text.UpdateFromRecord(record);
    m_firstRecord = 0;
}

void CBarInfo::ResetRunState()
{
    m_firstRecord = 1;
    m_axis.ResetRunState(1, 1);
    for (CTextInfo& text : m_texts)
        text.ResetRunState(1, 1);
}

void CBarInfo::SetOriginToStart()
{
    m_axis.m_originX = m_axis.m_startX;
    m_axis.m_originY = m_axis.m_startY;
    m_axis.m_originValue = m_axis.PointToValue(m_axis.m_startX, m_axis.m_startY);
}

QPoint CBarInfo::StartPixel(double scale) const
{
    return DesignToPixel(m_axis.m_startX, m_axis.m_startY, scale);
}

std::optional<QLine> CBarInfo::BarSegment(double scale) const
{
    if (m_firstRecord)
        return std::nullopt;
    const QPoint s = StartPixel(scale);
    const double axisAngle = m_axis.Angle();
    Reach value = MeasureReach(m_axis.ValueOffset(m_axis.m_value), scale, axisAngle);
    if (!value.finite)
        return std::nullopt;
    const Reach initial = MeasureReach(m_axis.ValueOffset(m_initialValue), scale, axisAngle);
    // The value lies on the other side of the start point from the initial value.
    if (AngleBetween(value.angle, initial.angle) > kFlipAngle)
        value.length = ClampToInt(-int64_t(value.length));
    const QPoint o1 = Along(initial.angle, value.length);
    const QPoint o0 = Along(initial.angle, initial.length);
    switch (m_anchor) {
    case BarAnchor::Center: return QLine(Offset(s, o1, -1), Offset(s, o1, 1));
    case BarAnchor::Start: return QLine(s, Offset(s, o1, 1));
    case BarAnchor::End: return QLine(Offset(s, o0, -1), Offset(s, o1, 1));
    }
    return QLine(0, 0, 0, 0);
}

QLine CBarInfo::EditSegment(double scale) const
{
    const QPoint s = StartPixel(scale);
    const double axisAngle = m_axis.Angle();
    Reach initial = MeasureReach(m_axis.ValueOffset(m_initialValue), scale, axisAngle);
    if (AngleBetween(initial.angle, axisAngle) > kFlipAngle)
        initial.length = ClampToInt(-int64_t(initial.length));
    const QPoint o0 = Along(initial.angle, initial.length);
    switch (m_anchor) {
    case BarAnchor::Center: return QLine(Offset(s, o0, -1), Offset(s, o0, 1));
    case BarAnchor::Start: return QLine(s, Offset(s, o0, 1));
    case BarAnchor::End: return QLine(Offset(s, o0, -1), s);
    }
    return QLine(0, 0, 0, 0);
}
