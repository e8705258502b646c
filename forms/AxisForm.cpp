#include "forms/AxisForm.h"

#include "forms/FieldRead.h"
#include "model/PlotInfo.h"
#include "platform/OleDate.h"

#include <algorithm>

QStringList LineStyleNames()
{
    QStringList names;
    for (int32_t i = 0; i <= int32_t(LineStyle::DashDotDot); ++i)
        names << Caption(LineStyle(i));
    return names;
}

QStringList TickSideNames()
{
    QStringList names;
    for (int32_t i = 0; i <= int32_t(TickSide::LowerRight); ++i)
        names << Caption(TickSide(i));
    return names;
}

QStringList FormatChoices()
{
    return {QStringLiteral("%.3f"),
            QStringLiteral("%.3e"),
            QStringLiteral("%f"),
            QStringLiteral("%e"),
            QStringLiteral("%.0f"),
            QStringLiteral("%g"),
            QStringLiteral("%s"),
            QStringLiteral("%y/%m/%d %H:%M:%S"),
            QStringLiteral("%H:%M:%S"),
            QStringLiteral("%Y/%m/%d %H:%M:%S(%a)")};
}

namespace AxisForm {

namespace {

constexpr int kLineStyles = 5;
constexpr int kTickSides = 3;
constexpr int kKinds = 3;

// Reads the fields in order; the first failure is kept and every later read is skipped.
class Reader
{
public:
    bool IntInRange(const QString& text, int32_t min, int32_t max, int32_t& out, Field field)
    {
        return !m_failure && Report(FieldRead::IntInRange(text, min, max, out), field);
    }
    bool Real(const QString& text, double& out, Field field)
    {
        return !m_failure && Report(FieldRead::Real(text, out), field);
    }
    bool RowCount(const QString& text, int32_t& out)
    {
        int64_t v = 0;
        if (m_failure || !Report(FieldRead::UnsignedInRange(text, kMinRowCount, kMaxRowCount, v),
                                 Field::LatestRowCount))
            return false;
        out = int32_t(std::min<int64_t>(v, kMaxStoredRowCount));
        return true;
    }
    const std::optional<Failure>& Result() const { return m_failure; }

private:
    bool Report(const QString& message, Field field)
    {
        if (message.isEmpty())
            return true;
        m_failure = Failure{field, message, QString()};
        return false;
    }

    std::optional<Failure> m_failure;
};

template <typename E>
void TakeChoice(int index, E& out)
{
    if (index >= 0)
        out = E(index);
}

int32_t Flag(bool checked)
{
    return checked ? 1 : 0;
}

} // namespace

int ChoiceIndex(int32_t stored, int count)
{
    return stored >= 0 && stored < count ? int(stored) : -1;
}

Values Load(const CAxisInfo& axis)
{
    using FieldRead::FormatInt;
    using FieldRead::FormatReal;
    Values v;
    v.logicalKind = ChoiceIndex(int32_t(axis.m_logicalKind), kKinds);
    v.valueKind = ChoiceIndex(int32_t(axis.m_valueKind), kKinds);
    v.autoRange = axis.m_autoRange != 0;
    v.latestRows = axis.m_latestRows != 0;
    v.logScale = axis.m_logScale != 0;
    v.showAxisLine = axis.m_showAxisLine != 0;
    v.axisLineStyle = ChoiceIndex(int32_t(axis.m_axisLine.m_style), kLineStyles);
    v.axisLineWidth = FormatInt(axis.m_axisLine.m_width);
    v.showTicks = axis.m_showTicks != 0;
    v.tickStyle = ChoiceIndex(int32_t(axis.m_tickLine.m_style), kLineStyles);
    v.tickLength = FormatInt(axis.m_tickLine.m_length);
    v.tickWidth = FormatInt(axis.m_tickLine.m_width);
    v.tickStart = FormatReal(axis.m_tickStartValue);
    v.tickEnd = FormatReal(axis.m_tickEndValue);
    v.tickDivisions = FormatInt(axis.m_tickDivisions);
    v.tickSide = ChoiceIndex(int32_t(axis.m_tickSide), kTickSides);
    v.showSubTicks = axis.m_showSubTicks != 0;
    v.subTickStyle = ChoiceIndex(int32_t(axis.m_subTickLine.m_style), kLineStyles);
    v.subTickLength = FormatInt(axis.m_subTickLine.m_length);
    v.subTickWidth = FormatInt(axis.m_subTickLine.m_width);
    v.subTickDivisions = FormatInt(axis.m_subTickDivisions);
    v.subTickSide = ChoiceIndex(int32_t(axis.m_subTickSide), kTickSides);
    v.showLabels = axis.m_showLabels != 0;
    v.unit = axis.m_unit;
    v.latestRowCount = FormatInt(axis.m_latestRowCount);
    v.multiplier = FormatReal(axis.m_multiplier);
    v.adder = FormatReal(axis.m_adder);
    return v;
}

std::optional<Failure> Apply(const Values& values, Variant variant, CAxisInfo& axis)
{
    const bool wide = variant == Variant::Wide;
    CAxisInfo a = axis;
    Reader r;
    r.IntInRange(values.axisLineWidth, 0, kMaxLineWidth, a.m_axisLine.m_width, Field::AxisLineWidth);
    r.IntInRange(values.tickLength, 0, kMaxTickLength, a.m_tickLine.m_length, Field::TickLength);
    r.IntInRange(values.tickWidth, 0, kMaxLineWidth, a.m_tickLine.m_width, Field::TickWidth);
    r.Real(values.tickStart, a.m_tickStartValue, Field::TickStart);
    r.Real(values.tickEnd, a.m_tickEndValue, Field::TickEnd);
    r.IntInRange(values.tickDivisions, kMinDivisions, kMaxDivisions, a.m_tickDivisions, Field::TickDivisions);
    r.IntInRange(values.subTickLength, 0, kMaxTickLength, a.m_subTickLine.m_length, Field::SubTickLength);
    r.IntInRange(values.subTickWidth, 0, kMaxLineWidth, a.m_subTickLine.m_width, Field::SubTickWidth);
    r.IntInRange(values.subTickDivisions, kMinDivisions, kMaxDivisions, a.m_subTickDivisions,
                 Field::SubTickDivisions);
    if (wide)
        r.RowCount(values.latestRowCount, a.m_latestRowCount);
    r.Real(values.multiplier, a.m_multiplier, Field::Multiplier);
    r.Real(values.adder, a.m_adder, Field::Adder);
    if (r.Result())
        return r.Result();

    if (wide) {
        TakeChoice(values.logicalKind, a.m_logicalKind);
        TakeChoice(values.valueKind, a.m_valueKind);
        if (values.autoRange && values.latestRows)
            return Failure{Field::LatestRows,
                           QStringLiteral("「自動範囲設定」と「最新区間のみ」は同時にチェックできません."),
                           QStringLiteral("関連チェック")};
        if (values.showLabels) {
            a.m_labelText.m_logicalKind = a.m_logicalKind;
            a.m_labelText.m_valueKind = ValueKind::Instant;
            if (!a.m_labelText.IsFormatValid())
                return Failure{Field::LabelSettings, QStringLiteral("目盛ラベルの書式が不正です."),
                               QStringLiteral("入力チェック")};
        }
        a.m_autoRange = Flag(values.autoRange);
        a.m_latestRows = Flag(values.latestRows);
        a.m_logScale = Flag(values.logScale);
    }
    a.m_showAxisLine = Flag(values.showAxisLine);
    TakeChoice(values.axisLineStyle, a.m_axisLine.m_style);
    a.m_showTicks = Flag(values.showTicks);
    TakeChoice(values.tickStyle, a.m_tickLine.m_style);
    TakeChoice(values.tickSide, a.m_tickSide);
    a.m_showSubTicks = Flag(values.showSubTicks);
    TakeChoice(values.subTickStyle, a.m_subTickLine.m_style);
    TakeChoice(values.subTickSide, a.m_subTickSide);
    a.m_showLabels = Flag(values.showLabels);
    a.m_unit = values.unit;
    axis = std::move(a);
    return std::nullopt;
}

bool OpenWide(CAxisInfo& axis)
{
    if (axis.m_showTicks == 0) {
        axis.m_tickStartValue = axis.m_startValue;
        axis.m_tickEndValue = axis.m_endValue;
    }
    return axis.m_logicalKind != LogicalKind::DateTime;
}

DateStep LogicalKindStep(bool dateTimeChecked, bool& rangeNotInitialised, CAxisInfo& axis, double now)
{
    DateStep step;
    if (!dateTimeChecked)
        return step;
    step.buttonsEnabled = true;
    if (rangeNotInitialised) {
        axis.m_startValue = now;
        axis.m_endValue = now + 1.0;
        // Fifteen digits keep the time to well under a second.
        step.tickStartText = FieldRead::FormatReal(axis.m_startValue);
        step.tickEndText = FieldRead::FormatReal(axis.m_endValue);
        rangeNotInitialised = false;
    }
    step.startText = DateForm::StartText(axis.m_startValue);
    step.endText = DateForm::EndText(axis.m_endValue);
    return step;
}

void SetLabelKinds(CAxisInfo& axis, bool dateTimeChecked)
{
    axis.m_labelText.m_logicalKind = dateTimeChecked ? LogicalKind::DateTime : LogicalKind::Number;
    axis.m_labelText.m_valueKind = ValueKind::Instant;
}

} // namespace AxisForm

namespace LabelForm {

Values Load(const CTextInfo& text)
{
    Values v;
    v.format = text.m_format;
    v.anchor = AxisForm::ChoiceIndex(int32_t(text.m_anchor), kAnchorCount);
    v.distance = FieldRead::FormatInt(text.m_distance);
    return v;
}

std::optional<Failure> Apply(const Values& values, CTextInfo& text)
{
    int64_t distance = 0;
    const QString message = FieldRead::IntInRange(values.distance, 0, kMaxDistance, distance);
    if (!message.isEmpty())
        return Failure{Field::Distance, message, QString()};
    CTextInfo checked = text;
    checked.m_format = values.format;
    if (!checked.IsFormatValid())
        return Failure{Field::Format, QStringLiteral("書式が不正です."), QStringLiteral("入力チェック")};
    if (values.anchor >= 0)
        checked.m_anchor = TextAnchor(values.anchor);
    checked.m_distance = int32_t(distance);
    text = std::move(checked);
    return std::nullopt;
}

} // namespace LabelForm

namespace DateForm {

double FromDateTime(const QDateTime& local)
{
    return Join(local.date(), local.time());
}

std::optional<Picked> Split(double value)
{
    const std::optional<DateTimeParts> p = OleDateToParts(value);
    if (!p)
        return std::nullopt;
    return Picked{QDate(p->year, p->month, p->day), QTime(p->hour, p->minute, p->second)};
}

double Join(const QDate& date, const QTime& time)
{
    DateTimeParts p;
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    p.hour = time.hour();
    p.minute = time.minute();
    p.second = time.second();
    // Both pickers always hold a valid value; a broken one counts as the epoch.
    return PartsToOleDate(p).value_or(0.0);
}

QString StartText(double value)
{
    return FormatOleDate(value, u"開始:%Y/%m/%d %H:%M:%S");
}

QString EndText(double value)
{
    return FormatOleDate(value, u"終了:%Y/%m/%d %H:%M:%S");
}

} // namespace DateForm

namespace AxisCopy {

namespace {

bool HasAxis(const CPlotInfo& plot, int axis)
{
    return axis >= 0 && size_t(axis) < plot.m_axes.size() && axis < 2;
}

bool InList(const std::vector<CPlotInfo>& plots, int index)
{
    return index >= 0 && size_t(index) < plots.size();
}

} // namespace

QPointF PointOf(const CAxisInfo& axis, Point point)
{
    switch (point) {
    case Point::Start: return {axis.m_startX, axis.m_startY};
    case Point::End: return {axis.m_endX, axis.m_endY};
    case Point::Middle: break;
    }
    return {axis.m_startX + 0.5 * (axis.m_endX - axis.m_startX),
            axis.m_startY + 0.5 * (axis.m_endY - axis.m_startY)};
}

bool Move(CPlotInfo& plot, int sourceAxis, Point sourcePoint, int targetAxis, Point targetPoint)
{
    if (!HasAxis(plot, sourceAxis) || !HasAxis(plot, targetAxis))
        return false;
    CAxisInfo& moved = plot.m_axes[size_t(sourceAxis)];
    const QPointF shift = PointOf(plot.m_axes[size_t(targetAxis)], targetPoint) - PointOf(moved, sourcePoint);
    moved.m_startX += shift.x();
    moved.m_endX += shift.x();
    moved.m_startY += shift.y();
    moved.m_endY += shift.y();
    return true;
}

bool Copy(std::vector<CPlotInfo>& plots, int edited, int source, Axes from, Axes to)
{
    if (!InList(plots, edited) || !InList(plots, source))
        return false;
    CPlotInfo& target = plots[size_t(edited)];
    const CPlotInfo& origin = plots[size_t(source)];
    if (!HasAxis(target, 1) || !HasAxis(origin, 1))
        return false;
    if (from == Axes::Both) {
        if (edited != source) {
            target.m_axes[0] = origin.m_axes[0];
            target.m_axes[1] = origin.m_axes[1];
        }
        return true;
    }
    // A copy first: the source may be the very axis written next.
    const CAxisInfo copy = origin.m_axes[from == Axes::Axis1 ? 0 : 1];
    if (to != Axes::Axis2)
        target.m_axes[0] = copy;
    if (to != Axes::Axis1)
        target.m_axes[1] = copy;
    return true;
}

QStringList PlotIds(const std::vector<CPlotInfo>& plots)
{
    QStringList ids;
    for (const CPlotInfo& plot : plots)
        ids << FieldRead::FormatInt(plot.m_id);
    return ids;
}

} // namespace AxisCopy
