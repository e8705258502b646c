#pragma once

#include "model/Enums.h"
#include "model/LineInfo.h"
#include "model/TextInfo.h"
#include "pipeline/Buffer.h"

#include <QLine>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <vector>

class CArchive;
class CDocData;

// One tick label: its value, its text (the unit follows the last one) and, in a layout,
// the pixel point it is drawn at.
struct CAxisLabel
{
    double m_value = 0.0;
    QString m_text;
    QPoint m_point;
};

// Everything Draw puts on a view at one scale. Empty unless the axis line is shown.
struct CAxisLayout
{
    bool m_visible = false;
    QLine m_axisLine;
    std::vector<QLine> m_ticks;
    std::vector<QLine> m_subTicks;
    std::vector<CAxisLabel> m_labels;
};

// A straight axis in design coordinates that places one FD's value between a start and an
// end point, with the run-time state of that FD.
class CAxisInfo
{
public:
    CAxisInfo();
    CAxisInfo(const CAxisInfo&) = default;
    CAxisInfo& operator=(const CAxisInfo&) = default;
    CAxisInfo(CAxisInfo&&) noexcept = default;
    CAxisInfo& operator=(CAxisInfo&&) noexcept = default;
    virtual ~CAxisInfo() = default;

    // Saved fields only, in their fixed order. A failed load throws and leaves the axis as it
    // was; run-time fields are never touched.
    virtual void Serialize(CArchive& ar);

    // A missing or unreadable FD repeats the last value, so the history always grows by one.
    void UpdateFromRecord(const CDocData& record, bool firstRecord);
    // ringOn = 0 keeps the history's ring mode and capacity as they are.
    void ResetRunState(int32_t ringOn, int64_t capacity);

    // Displacement from the origin point to the point of value v (not clamped to the axis).
    QPointF ValueOffset(double v) const;
    // Design point of value v.
    QPointF ValuePoint(double v) const;
    // Logical value of a design point projected onto the axis.
    double PointToValue(double x, double y) const;
    // Axis direction in radians, 0 for a zero-length axis.
    double Angle() const;

    // With m_autoRange on and a history: range and ticks from the history's finite extremes,
    // widened to round values when ticks are shown. Switches sub-ticks off (saved). Nothing
    // changes while the history holds no finite value.
    void ApplyAutoRange();
    // Tick step of an automatic linear range; 0 when hi - lo is not a positive number.
    static double NiceStep(double lo, double hi);

    // Whether the latest-rows display is in effect: a row count below 1 (from a file) would
    // keep every value and show none, so it counts as off; the stored value stays.
    bool LatestRowsOn() const { return m_latestRows != 0 && m_latestRowCount >= 1; }
    // Latest-rows display: the range becomes 1 .. N so that history positions 1 .. N lie
    // along the axis. The caller restores the axis from a copy afterwards.
    void ApplyLatestRowsRange();
    // Index of the first history entry a latest-rows display shows out of count entries.
    int64_t LatestRowsFirst(int64_t count) const;

    // Tick, sub-tick and label values, whatever the show flags; empty when the range does
    // not allow them.
    std::vector<double> TickValues() const;
    std::vector<double> SubTickValues() const;
    std::vector<CAxisLabel> Labels() const;

    // Pixel point of value v at the given scale.
    QPoint ValuePixel(double v, double scale) const;
    // The tick of the given line and side through pixel point p, perpendicular to the axis.
    QLine TickSegment(QPoint p, const CLineInfo& line, TickSide side) const;
    // Axis line, ticks, sub-ticks and labels as Draw shows them, honouring the show flags.
    CAxisLayout Layout(double scale) const;

    int32_t m_fdNo = 0;
    double m_startX = 100;
    double m_startY = 100;
    double m_endX = 200;
    double m_endY = 200;
    double m_startValue = 0.0;
    double m_endValue = 1.0;
    double m_originX = 100;
    double m_originY = 100;
    double m_originValue = 0.0;
    LogicalKind m_logicalKind = LogicalKind::Number;
    ValueKind m_valueKind = ValueKind::Instant;
    int32_t m_logScale = 0;
    int32_t m_latestRows = 0;
    int32_t m_latestRowCount = 100;
    int32_t m_autoRange = 0;
    int32_t m_showAxisLine = 0;
    CLineInfo m_axisLine{1, 0};
    int32_t m_showTicks = 0;
    CLineInfo m_tickLine{1, 15};
    double m_tickStartValue = 0.0;
    double m_tickEndValue = 1.0;
    int32_t m_tickDivisions = 1;
    TickSide m_tickSide = TickSide::Both;
    int32_t m_showSubTicks = 0;
    CLineInfo m_subTickLine{1, 10};
    int32_t m_subTickDivisions = 1;
    TickSide m_subTickSide = TickSide::Both;
    int32_t m_showLabels = 0;
    QString m_unit;
    CTextInfo m_labelText;
    double m_multiplier = 1.0;
    double m_adder = 0.0;

    // Run-time state, not saved.
    double m_value = 0.0;
    double m_prevValue = 0.0;
    CBuffer<double> m_history; // unbounded until a reset makes it a ring

    // Upper bound on ticks, sub-ticks and labels generated for one axis; the dialogs allow at
    // most 101 ticks and 9900 sub-ticks, so only a damaged file ever reaches it.
    static constexpr int64_t kMaxMarks = 100000;

private:
    void ExchangeSaved(CArchive& ar);
    bool LogRangeUsable() const;
};
