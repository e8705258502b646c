#include "model/AxisInfo.h"
#include "pipeline/DocData.h"
#include "platform/OleDate.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

CDocData Record(std::initializer_list<QString> fields, int32_t row = 0)
{
    return CDocData(Apply, row, FieldRow(fields), nullptr);
}

std::vector<double> History(const CAxisInfo& a)
{
    std::vector<double> out;
    for (int64_t i = 0; i < a.m_history.GetCount(); ++i)
        out.push_back(a.m_history.GetAt(i));
    return out;
}

// Axis from (100, 100) to (300, 100) whose origin is its start point.
CAxisInfo Horizontal(double startValue, double endValue, bool log)
{
    CAxisInfo a;
    a.m_endX = 300;
    a.m_endY = 100;
    a.m_startValue = startValue;
    a.m_endValue = endValue;
    a.m_logScale = log ? 1 : 0;
    a.m_originValue = startValue;
    return a;
}

} // namespace

TEST(AxisInfo, LinearValuesAreNotClamped)
{
    const CAxisInfo a; // (100, 100) to (200, 200), 0 .. 1
    EXPECT_EQ(a.ValuePoint(0.5), QPointF(150, 150));
    EXPECT_EQ(a.ValuePoint(2), QPointF(300, 300));
    EXPECT_EQ(a.ValuePoint(-1), QPointF(0, 0));
    EXPECT_EQ(a.ValueOffset(0.5), QPointF(50, 50));
}

TEST(AxisInfo, OffsetIsMeasuredFromOriginValue)
{
    CAxisInfo a;
    a.m_originX = 150;
    a.m_originY = 150;
    a.m_originValue = 0.5;
    EXPECT_EQ(a.ValueOffset(0.5), QPointF(0, 0));
    EXPECT_EQ(a.ValuePoint(1), QPointF(200, 200));
}

TEST(AxisInfo, ZeroRangePutsEveryValueAtMidpoint)
{
    CAxisInfo a;
    a.m_startValue = a.m_endValue = 3;
    a.m_originX = 120;
    for (const double v : {-1e9, 3.0, 7.0})
        EXPECT_EQ(a.ValuePoint(v), QPointF(150, 150));
}

TEST(AxisInfo, LogarithmicPlacement)
{
    const CAxisInfo a = Horizontal(1, 100, true);
    EXPECT_EQ(a.ValuePoint(10), QPointF(200, 100));
    EXPECT_EQ(a.ValuePoint(1000), QPointF(400, 100));
    for (const double v : {0.5, 1.0, -3.0})
        EXPECT_EQ(a.ValueOffset(v), QPointF(0, 0)) << v;
    for (const auto& [s, e] : {std::pair{0.0, 100.0}, {-1.0, 100.0}, {100.0, 10.0}, {5.0, 5.0}})
        EXPECT_EQ(Horizontal(s, e, true).ValueOffset(50), QPointF(0, 0)) << s << " " << e;
}

TEST(AxisInfo, PointToValueInvertsAndProjects)
{
    const CAxisInfo diagonal;
    EXPECT_DOUBLE_EQ(diagonal.PointToValue(150, 150), 0.5);
    EXPECT_DOUBLE_EQ(diagonal.PointToValue(200, 100), 0.5); // perpendicular projection
    EXPECT_DOUBLE_EQ(diagonal.PointToValue(100, 100), 0.0);
    EXPECT_NEAR(diagonal.PointToValue(50, 50), -0.5, 1e-12);

    const CAxisInfo log = Horizontal(1, 100, true);
    EXPECT_NEAR(log.PointToValue(200, 100), 10, 1e-12);
    EXPECT_NEAR(log.PointToValue(0, 100), -10, 1e-12); // behind the start, mirrored

    CAxisInfo point = Horizontal(4, 9, false);
    point.m_endX = 100; // zero length
    EXPECT_EQ(point.PointToValue(500, 500), 4);
}

TEST(AxisInfo, NumberFdParsesLikeStrtod)
{
    CAxisInfo a;
    a.m_fdNo = 1;
    a.ResetRunState(0, 0);
    a.UpdateFromRecord(Record({"x", "12abc"}), true);
    a.UpdateFromRecord(Record({"x", "abc"}), false);
    a.UpdateFromRecord(Record({"x", " 7"}), false);
    a.UpdateFromRecord(Record({"x"}), false);  // missing FD
    a.UpdateFromRecord(Record({"x", "1e999"}), false); // out of range
    a.m_multiplier = 2;
    a.m_adder = 0.5;
    a.UpdateFromRecord(Record({"x", "\t-3"}), false);
    EXPECT_EQ(History(a), (std::vector<double>{12, 12, 7, 7, 7, -5.5}));
}

TEST(AxisInfo, DateTimeFdIsAutomationDateWithoutMultiplier)
{
    CAxisInfo a;
    a.m_logicalKind = LogicalKind::DateTime;
    a.m_multiplier = 100;
    a.ResetRunState(0, 0);
    a.UpdateFromRecord(Record({"2000/01/01 12:00:00"}), true);
    EXPECT_DOUBLE_EQ(a.m_value, *PartsToOleDate(DateTimeParts{2000, 1, 1, 12, 0, 0, 0}));
    const double before = a.m_value;
    a.UpdateFromRecord(Record({"not a date"}), false);
    EXPECT_EQ(a.m_value, before);
    EXPECT_EQ(a.m_history.GetCount(), 2);
}

TEST(AxisInfo, InputCountIgnoresFds)
{
    CAxisInfo a;
    a.m_logicalKind = LogicalKind::InputCount;
    a.m_fdNo = 40;
    a.ResetRunState(0, 0);
    a.UpdateFromRecord(Record({}, 17), true);
    a.UpdateFromRecord(Record({"5"}, -1), false);
    EXPECT_EQ(History(a), (std::vector<double>{17, -1}));
}

TEST(AxisInfo, MaxAccumulationStartsFromLowest)
{
    CAxisInfo a;
    a.m_valueKind = ValueKind::Max;
    a.ResetRunState(0, 0);
    EXPECT_EQ(a.m_value, -DBL_MAX);
    a.UpdateFromRecord(Record({"-1e300"}), true);
    EXPECT_EQ(a.m_value, -1e300);
    a.UpdateFromRecord(Record({"-2e300"}), false);
    a.UpdateFromRecord(Record({"4"}), false);
    EXPECT_EQ(History(a), (std::vector<double>{-1e300, -1e300, 4}));

    a.m_valueKind = ValueKind::Min;
    a.ResetRunState(0, 0);
    EXPECT_EQ(a.m_value, DBL_MAX);
    a.UpdateFromRecord(Record({"9"}), true);
    a.UpdateFromRecord(Record({"10"}), false);
    EXPECT_EQ(History(a), (std::vector<double>{9, 9}));
}

TEST(AxisInfo, PreviousValueFollowsFirstRecordFlag)
{
    CAxisInfo a;
    a.m_startValue = 50;
    a.ResetRunState(0, 0);
    EXPECT_EQ(a.m_value, 50);
    EXPECT_EQ(a.m_prevValue, 50);
    a.UpdateFromRecord(Record({"3"}), true);
    EXPECT_EQ(a.m_prevValue, 3);
    a.UpdateFromRecord(Record({"4"}), false);
    EXPECT_EQ(a.m_prevValue, 3);
    EXPECT_EQ(a.m_value, 4);
}

TEST(AxisInfo, ResetEmptiesHistoryAndSetsRing)
{
    CAxisInfo a;
    for (const char* v : {"1", "2"})
        a.UpdateFromRecord(Record({v}), false);
    a.ResetRunState(1, 3);
    EXPECT_EQ(a.m_history.GetCount(), 0);
    for (const char* v : {"1", "2", "3", "4"})
        a.UpdateFromRecord(Record({v}), false);
    EXPECT_EQ(History(a), (std::vector<double>{2, 3, 4}));
    a.ResetRunState(0, 100); // keeps the ring of three
    for (const char* v : {"5", "6", "7", "8"})
        a.UpdateFromRecord(Record({v}), false);
    EXPECT_EQ(History(a), (std::vector<double>{6, 7, 8}));
}

TEST(AxisInfo, MaxAndMinIgnoreNonFiniteReadings)
{
    struct Case
    {
        ValueKind kind;
        std::vector<double> history;
    };
    const Case cases[] = {
        {ValueKind::Max, {3, 3, 3, 3, 5}},
        {ValueKind::Min, {3, 3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        CAxisInfo a;
        a.m_valueKind = c.kind;
        a.ResetRunState(0, 0);
        a.UpdateFromRecord(Record({"3"}), true);
        for (const char* text : {"NaN", "inf", "-inf", "5"})
            a.UpdateFromRecord(Record({QString::fromLatin1(text)}), false);
        EXPECT_EQ(History(a), c.history) << int(c.kind);
    }

    // An instant value takes the reading as it is; the plot then has no position.
    CAxisInfo instant;
    instant.ResetRunState(0, 0);
    instant.UpdateFromRecord(Record({"NaN"}), true);
    EXPECT_TRUE(std::isnan(instant.m_value));
}
