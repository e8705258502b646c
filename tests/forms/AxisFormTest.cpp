#include "forms/AxisForm.h"
#include "forms/FieldRead.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

#include <functional>

using AxisForm::Field;
using AxisForm::Variant;

namespace {

// Everything the dialogs show of an axis, plus its place and FD, for "is it the same axis".
struct AxisSnapshot
{
    AxisForm::Values values;
    int32_t fdNo;
    double startX, startY, endX, endY, startValue, endValue;
    COLORREF axisColor;
    QString labelFormat;
    bool operator==(const AxisSnapshot&) const = default;
};

AxisSnapshot Snap(const CAxisInfo& a)
{
    return {AxisForm::Load(a), a.m_fdNo, a.m_startX, a.m_startY, a.m_endX, a.m_endY,
            a.m_startValue, a.m_endValue, a.m_axisLine.m_color, a.m_labelText.m_format};
}

struct ReadCase
{
    const char* name;
    std::function<void(AxisForm::Values&, CAxisInfo&)> edit;
    Variant variant;
    std::optional<Field> field; // nullopt: OK passes
    QString message;
    QString caption;
};

} // namespace

TEST(AxisForm, FirstFailingFieldOrCheckStopsOkAndNothingIsWritten)
{
    using namespace FieldRead;
    const QString rowRange = RangeMessage(1, 4294967295);
    const QString related = QStringLiteral("「自動範囲設定」と「最新区間のみ」は同時にチェックできません.");
    const QString badLabel = QStringLiteral("目盛ラベルの書式が不正です.");
    const ReadCase cases[] = {
        {"line width above 100", [](auto& v, auto& a) { v.axisLineWidth = "101"; }, Variant::Wide, Field::AxisLineWidth, RangeMessage(0, 100), {}},
        {"tick length above 1000", [](auto& v, auto& a) { v.tickLength = "1001"; }, Variant::Narrow, Field::TickLength, RangeMessage(0, 1000), {}},
        {"tick width not a number", [](auto& v, auto& a) { v.tickWidth = "abc"; }, Variant::Wide, Field::TickWidth, kInteger, {}},
        {"tick start overflows", [](auto& v, auto& a) { v.tickStart = "1e400"; }, Variant::Wide, Field::TickStart, kReal, {}},
        {"tick end nan", [](auto& v, auto& a) { v.tickEnd = "nan"; }, Variant::Narrow, Field::TickEnd, kReal, {}},
        {"no tick divisions", [](auto& v, auto& a) { v.tickDivisions = "0"; }, Variant::Wide, Field::TickDivisions, RangeMessage(1, 100), {}},
        {"sub-tick length negative", [](auto& v, auto& a) { v.subTickLength = "-1"; }, Variant::Wide, Field::SubTickLength, RangeMessage(0, 1000), {}},
        {"sub-tick width empty", [](auto& v, auto& a) { v.subTickWidth = ""; }, Variant::Narrow, Field::SubTickWidth, kInteger, {}},
        {"sub-tick divisions above 100", [](auto& v, auto& a) { v.subTickDivisions = "101"; }, Variant::Wide, Field::SubTickDivisions, RangeMessage(1, 100), {}},
        {"row count 0", [](auto& v, auto& a) { v.latestRowCount = "0"; }, Variant::Wide, Field::LatestRowCount, rowRange, {}},
        {"row count empty", [](auto& v, auto& a) { v.latestRowCount = ""; }, Variant::Wide, Field::LatestRowCount, kPositive, {}},
        {"row count negative", [](auto& v, auto& a) { v.latestRowCount = "-5"; }, Variant::Wide, Field::LatestRowCount, kPositive, {}},
        {"row count beyond the range", [](auto& v, auto& a) { v.latestRowCount = "4294967296"; }, Variant::Wide, Field::LatestRowCount, rowRange, {}},
        {"multiplier with a comma", [](auto& v, auto& a) { v.multiplier = "1,5"; }, Variant::Wide, Field::Multiplier, kReal, {}},
        {"adder inf", [](auto& v, auto& a) { v.adder = "inf"; }, Variant::Narrow, Field::Adder, kReal, {}},
        {"earlier field wins", [](auto& v, auto& a) { v.tickDivisions = "0"; v.axisLineWidth = "999"; }, Variant::Wide, Field::AxisLineWidth, RangeMessage(0, 100), {}},
        {"row count before multiplier", [](auto& v, auto& a) { v.multiplier = "x"; v.latestRowCount = "0"; }, Variant::Wide, Field::LatestRowCount, rowRange, {}},
        {"narrow form has no row count", [](auto& v, auto& a) { v.latestRowCount = ""; }, Variant::Narrow, std::nullopt, {}, {}},
        {"auto range with latest rows", [](auto& v, auto& a) { v.autoRange = v.latestRows = true; }, Variant::Wide, Field::LatestRows, related, QStringLiteral("関連チェック")},
        {"fields before checks", [](auto& v, auto& a) { v.autoRange = v.latestRows = true; v.tickEnd = "?"; }, Variant::Wide, Field::TickEnd, kReal, {}},
        {"narrow form checks nothing", [](auto& v, auto& a) { v.autoRange = v.latestRows = true; v.showLabels = true; }, Variant::Narrow, std::nullopt, {}, {}},
        {"number label %d", [](auto& v, auto& a) { v.showLabels = true; }, Variant::Wide, Field::LabelSettings, badLabel, QStringLiteral("入力チェック")},
        {"hidden labels pass", [](auto& v, auto& a) { v.showLabels = false; }, Variant::Wide, std::nullopt, {}, {}},
        {"date label with unknown conversion", [](auto& v, auto& a) { v.showLabels = true; v.logicalKind = 1; a.m_labelText.m_format = "%Y %q"; }, Variant::Wide, Field::LabelSettings, badLabel, QStringLiteral("入力チェック")},
        {"largest row count", [](auto& v, auto& a) { v.latestRowCount = " 2147483647 "; }, Variant::Wide, std::nullopt, {}, {}},
    };
    for (const ReadCase& c : cases) {
        CAxisInfo axis;
        axis.m_labelText.m_format = "%d";
        AxisForm::Values values = AxisForm::Load(axis);
        c.edit(values, axis);
        const AxisSnapshot before = Snap(axis);
        const std::optional<AxisForm::Failure> failure = AxisForm::Apply(values, c.variant, axis);
        ASSERT_EQ(failure.has_value(), c.field.has_value()) << c.name;
        if (!failure)
            continue;
        EXPECT_EQ(failure->field, *c.field) << c.name;
        EXPECT_EQ(failure->message, c.message) << c.name;
        EXPECT_EQ(failure->caption, c.caption) << c.name;
        EXPECT_TRUE(Snap(axis) == before) << c.name;
    }
}

TEST(AxisForm, RowCountsBeyondInt32AreStoredAsTheLargest)
{
    for (const auto& [text, stored] : {std::pair{"4294967295", 2147483647}, {"2147483648", 2147483647}, {"7", 7}}) {
        CAxisInfo axis;
        axis.m_labelText.m_format = "%.3f";
        AxisForm::Values values = AxisForm::Load(axis);
        values.latestRowCount = QString::fromLatin1(text);
        ASSERT_FALSE(AxisForm::Apply(values, Variant::Wide, axis)) << text;
        EXPECT_EQ(axis.m_latestRowCount, stored) << text;
    }
}

TEST(AxisForm, LabelFormatIsCheckedAgainstTheKindJustRead)
{
    struct Case
    {
        int logicalKind;
        const char* format;
        bool valid;
    } const cases[] = {
        {0, "%.3f", true}, {0, "%d", false}, {2, "%g", true},
        {1, "%H:%M:%S", true}, {1, "%.3f", false}, {1, "%Y/%m/%d %q", false},
    };
    for (const Case& c : cases) {
        CAxisInfo axis;
        axis.m_labelText.m_format = c.format;
        axis.m_labelText.m_valueKind = ValueKind::String; // replaced by Instant before the check
        AxisForm::Values values = AxisForm::Load(axis);
        values.showLabels = true;
        values.logicalKind = c.logicalKind;
        EXPECT_EQ(!AxisForm::Apply(values, Variant::Wide, axis), c.valid) << c.format;
        if (c.valid) {
            EXPECT_EQ(int(axis.m_labelText.m_logicalKind), c.logicalKind);
            EXPECT_EQ(axis.m_labelText.m_valueKind, ValueKind::Instant);
        }
    }
}

TEST(AxisForm, OkWritesEveryFieldAndKeepsStoredValuesNothingShows)
{
    CAxisInfo axis;
    axis.m_subTickLine.m_style = LineStyle(7); // from a file: no entry of the list
    axis.m_logicalKind = LogicalKind(9);
    axis.m_labelText.m_format = "%.1f";
    AxisForm::Values v = AxisForm::Load(axis);
    EXPECT_EQ(v.subTickStyle, -1);
    EXPECT_EQ(v.logicalKind, -1);
    v.valueKind = 2;
    v.autoRange = true;
    v.logScale = true;
    v.showAxisLine = true;
    v.axisLineStyle = 4;
    v.axisLineWidth = "100";
    v.showTicks = true;
    v.tickStyle = 1;
    v.tickLength = "1000";
    v.tickWidth = "0";
    v.tickStart = "-2.5";
    v.tickEnd = "1e3";
    v.tickDivisions = "100";
    v.tickSide = 2;
    v.showSubTicks = true;
    v.subTickLength = "3";
    v.subTickWidth = "4";
    v.subTickDivisions = "1";
    v.subTickSide = 1;
    v.showLabels = true;
    v.unit = "℃";
    v.latestRowCount = "250";
    v.multiplier = "0.001";
    v.adder = "-273.15";
    ASSERT_FALSE(AxisForm::Apply(v, Variant::Wide, axis));

    EXPECT_EQ(int(axis.m_logicalKind), 9);
    EXPECT_EQ(int(axis.m_subTickLine.m_style), 7);
    EXPECT_EQ(axis.m_valueKind, ValueKind::Min);
    EXPECT_EQ(axis.m_autoRange, 1);
    EXPECT_EQ(axis.m_latestRows, 0);
    EXPECT_EQ(axis.m_logScale, 1);
    EXPECT_EQ(axis.m_showAxisLine, 1);
    EXPECT_EQ(axis.m_axisLine.m_style, LineStyle::DashDotDot);
    EXPECT_EQ(axis.m_axisLine.m_width, 100);
    EXPECT_EQ(axis.m_tickLine.m_style, LineStyle::Dash);
    EXPECT_EQ(axis.m_tickLine.m_length, 1000);
    EXPECT_EQ(axis.m_tickLine.m_width, 0);
    EXPECT_EQ(axis.m_tickStartValue, -2.5);
    EXPECT_EQ(axis.m_tickEndValue, 1000.0);
    EXPECT_EQ(axis.m_tickDivisions, 100);
    EXPECT_EQ(axis.m_tickSide, TickSide::LowerRight);
    EXPECT_EQ(axis.m_subTickLine.m_length, 3);
    EXPECT_EQ(axis.m_subTickLine.m_width, 4);
    EXPECT_EQ(axis.m_subTickDivisions, 1);
    EXPECT_EQ(axis.m_subTickSide, TickSide::UpperLeft);
    EXPECT_EQ(axis.m_showLabels, 1);
    EXPECT_EQ(axis.m_unit, QStringLiteral("℃"));
    EXPECT_EQ(axis.m_latestRowCount, 250);
    EXPECT_EQ(axis.m_multiplier, 0.001);
    EXPECT_EQ(axis.m_adder, -273.15);
}

TEST(AxisForm, DateRangeStartsNowOnTheFirstSwitchOnly)
{
    const double now = DateForm::FromDateTime(QDateTime(QDate(2022, 11, 23), QTime(10, 33, 50)));
    CAxisInfo axis;
    axis.m_startValue = 5;
    axis.m_endValue = 7;
    axis.m_tickStartValue = 99; // typed while ticks were hidden
    bool notInitialised = AxisForm::OpenWide(axis);
    EXPECT_TRUE(notInitialised);
    EXPECT_EQ(axis.m_tickStartValue, 5.0);
    EXPECT_EQ(axis.m_tickEndValue, 7.0);

    AxisForm::DateStep step = AxisForm::LogicalKindStep(false, notInitialised, axis, now);
    EXPECT_FALSE(step.buttonsEnabled);
    EXPECT_TRUE(step.startText.isEmpty() && step.endText.isEmpty() && !step.tickStartText);

    step = AxisForm::LogicalKindStep(true, notInitialised, axis, now);
    EXPECT_TRUE(step.buttonsEnabled);
    EXPECT_FALSE(notInitialised);
    EXPECT_EQ(axis.m_startValue, now);
    EXPECT_EQ(axis.m_endValue, now + 1);
    EXPECT_EQ(step.startText, QStringLiteral("開始:2022/11/23 10:33:50"));
    EXPECT_EQ(step.endText, QStringLiteral("終了:2022/11/24 10:33:50"));
    // The tick fields keep the time of day, not a tenth of a day.
    double back = 0;
    ASSERT_TRUE(step.tickStartText && FieldRead::Real(*step.tickStartText, back).isEmpty());
    EXPECT_EQ(DateForm::StartText(back), step.startText);

    step = AxisForm::LogicalKindStep(true, notInitialised, axis, now + 30);
    EXPECT_EQ(axis.m_startValue, now);
    EXPECT_FALSE(step.tickStartText);

    // A date-time axis shows its range at once; shown ticks keep their own range.
    CAxisInfo dated;
    dated.m_logicalKind = LogicalKind::DateTime;
    dated.m_showTicks = 1;
    dated.m_startValue = now;
    dated.m_tickStartValue = 3;
    notInitialised = AxisForm::OpenWide(dated);
    EXPECT_FALSE(notInitialised);
    EXPECT_EQ(dated.m_tickStartValue, 3.0);
    step = AxisForm::LogicalKindStep(true, notInitialised, dated, now + 30);
    EXPECT_EQ(dated.m_startValue, now);
    EXPECT_EQ(step.startText, QStringLiteral("開始:2022/11/23 10:33:50"));
}

TEST(DateForm, PickersJoinAndSplitByTheAutomationDateRule)
{
    struct Case
    {
        QDate date;
        QTime time;
        double value;
    } const cases[] = {
        {QDate(1899, 12, 30), QTime(0, 0), 0.0},
        {QDate(1899, 12, 30), QTime(12, 0), 0.5},
        {QDate(2022, 11, 23), QTime(10, 33, 50), 44888 + (10 * 3600 + 33 * 60 + 50) / 86400.0},
        {QDate(1899, 12, 29), QTime(6, 0), -1.25},
        {QDate(1800, 1, 1), QTime(18, 0), -36522.75},
        {QDate(100, 1, 1), QTime(0, 0, 1), -657434 - 1 / 86400.0},
    };
    for (const Case& c : cases) {
        const QString name = c.date.toString(Qt::ISODate);
        EXPECT_DOUBLE_EQ(DateForm::Join(c.date, c.time), c.value) << name.toStdString();
        // The tick field holds the value with fifteen digits; the pickers read it back whole.
        double field = 0;
        ASSERT_TRUE(FieldRead::Real(FieldRead::FormatReal(c.value), field).isEmpty());
        const std::optional<DateForm::Picked> picked = DateForm::Split(field);
        ASSERT_TRUE(picked) << name.toStdString();
        EXPECT_EQ(picked->date, c.date) << name.toStdString();
        EXPECT_EQ(picked->time, c.time) << name.toStdString();
    }
    EXPECT_FALSE(DateForm::Split(std::nan("")));
    EXPECT_FALSE(DateForm::Split(1e7));
}

namespace {

CPlotInfo TwoAxisPlot(int32_t id, double shift)
{
    CPlotInfo plot;
    plot.m_id = id;
    plot.m_axisCount = 2;
    CAxisInfo& a = plot.m_axes[0];
    a.m_startX = 100 + shift, a.m_startY = 100, a.m_endX = 200 + shift, a.m_endY = 200;
    a.m_fdNo = id * 10 + 1;
    CAxisInfo& b = plot.m_axes[1];
    b.m_startX = 100 + shift, b.m_startY = 300, b.m_endX = 300 + shift, b.m_endY = 100;
    b.m_fdNo = id * 10 + 2;
    b.m_unit = QString::number(id);
    b.m_axisLine.m_color = 0x123456;
    return plot;
}

} // namespace

TEST(AxisCopy, MoveTranslatesTheSourceAxisOntoTheTargetPoint)
{
    using P = AxisCopy::Point;
    struct Case
    {
        int source;
        P sourcePoint;
        int target;
        P targetPoint;
        QPointF start, end; // of the moved axis afterwards
    } const cases[] = {
        {1, P::End, 0, P::Start, {-100, 300}, {100, 100}},   // the dialog's default sentence
        {1, P::Start, 0, P::Middle, {150, 150}, {350, -50}},
        {0, P::Middle, 1, P::End, {250, 50}, {350, 150}},
        {0, P::Start, 0, P::End, {200, 200}, {300, 300}},    // along itself
    };
    for (const Case& c : cases) {
        CPlotInfo plot = TwoAxisPlot(1, 0);
        const CPlotInfo before = plot;
        ASSERT_TRUE(AxisCopy::Move(plot, c.source, c.sourcePoint, c.target, c.targetPoint));
        const CAxisInfo& moved = plot.m_axes[size_t(c.source)];
        EXPECT_EQ(QPointF(moved.m_startX, moved.m_startY), c.start);
        EXPECT_EQ(QPointF(moved.m_endX, moved.m_endY), c.end);
        const size_t other = c.source == 0 ? 1 : 0;
        if (c.target != c.source) {
            EXPECT_TRUE(Snap(plot.m_axes[other]) == Snap(before.m_axes[other]));
        }
    }
}

TEST(AxisCopy, CopyOverwritesWholeAxesOfTheEditedPlot)
{
    using A = AxisCopy::Axes;
    struct Case
    {
        const char* name;
        int source;
        A from, to;
        int expected1, expected2; // which axes end up there: 10 * plot + axis, plot 0 = edited
    } const cases[] = {
        {"axis 1 of another onto axis 2", 1, A::Axis1, A::Axis2, 1, 11},
        {"axis 2 of another onto both", 1, A::Axis2, A::Both, 12, 12},
        {"both of another", 1, A::Both, A::Both, 11, 12},
        {"own axis 1 onto axis 2", 0, A::Axis1, A::Axis2, 1, 1},
        {"own axis 2 onto axis 1", 0, A::Axis2, A::Axis1, 2, 2},
        {"both of itself change nothing", 0, A::Both, A::Both, 1, 2},
    };
    for (const Case& c : cases) {
        std::vector<CPlotInfo> plots{TwoAxisPlot(0, 0), TwoAxisPlot(1, 1000)};
        const std::vector<CPlotInfo> before = plots;
        auto axisNamed = [&](int code) { return Snap(before[size_t(code / 10)].m_axes[size_t(code % 10 - 1)]); };
        ASSERT_TRUE(AxisCopy::Copy(plots, 0, c.source, c.from, c.to)) << c.name;
        EXPECT_TRUE(Snap(plots[0].m_axes[0]) == axisNamed(c.expected1)) << c.name;
        EXPECT_TRUE(Snap(plots[0].m_axes[1]) == axisNamed(c.expected2)) << c.name;
        EXPECT_TRUE(Snap(plots[1].m_axes[0]) == axisNamed(11) && Snap(plots[1].m_axes[1]) == axisNamed(12)) << c.name;
        EXPECT_EQ(plots[0].m_axisCount, 2);
    }
    std::vector<CPlotInfo> plots{TwoAxisPlot(0, 0)};
    EXPECT_FALSE(AxisCopy::Copy(plots, 0, 1, A::Axis1, A::Axis2));
    EXPECT_FALSE(AxisCopy::Copy(plots, -1, 0, A::Axis1, A::Axis2));
    EXPECT_EQ(AxisCopy::PlotIds({TwoAxisPlot(7, 0), TwoAxisPlot(-3, 0)}), QStringList({"7", "-3"}));
}

TEST(LabelForm, DistanceThenFormatAndOnlyAWholeSuccessWrites)
{
    struct Case
    {
        const char* distance;
        const char* format;
        std::optional<LabelForm::Field> field;
        QString message;
    } const cases[] = {
        {"2147483647", "%.2f", std::nullopt, {}},
        {"2147483648", "%.2f", LabelForm::Field::Distance, FieldRead::RangeMessage(0, 2147483647)},
        {"", "%d", LabelForm::Field::Distance, FieldRead::kInteger},
        {"5", "%d", LabelForm::Field::Format, QStringLiteral("書式が不正です.")},
        {"5", "", LabelForm::Field::Format, QStringLiteral("書式が不正です.")},
    };
    for (const Case& c : cases) {
        CTextInfo text;
        LabelForm::Values v = LabelForm::Load(text);
        EXPECT_EQ(v.anchor, int(TextAnchor::TopCenter));
        v.distance = c.distance;
        v.format = c.format;
        v.anchor = int(TextAnchor::BottomRight);
        const std::optional<LabelForm::Failure> failure = LabelForm::Apply(v, text);
        ASSERT_EQ(failure.has_value(), c.field.has_value()) << c.distance << c.format;
        if (failure) {
            EXPECT_EQ(failure->field, *c.field);
            EXPECT_EQ(failure->message, c.message);
            EXPECT_EQ(text.m_anchor, TextAnchor::TopCenter);
            EXPECT_EQ(text.m_format, QStringLiteral("%g"));
        } else {
            EXPECT_EQ(text.m_anchor, TextAnchor::BottomRight);
            EXPECT_EQ(text.m_distance, 2147483647);
            EXPECT_EQ(text.m_format, QStringLiteral("%.2f"));
        }
    }
}
