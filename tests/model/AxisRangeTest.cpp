#include "model/AxisInfo.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

CAxisInfo WithHistory(std::initializer_list<double> values, bool ticks, bool log = false)
{
    CAxisInfo a;
    a.m_autoRange = 1;
    a.m_showTicks = ticks ? 1 : 0;
    a.m_showSubTicks = 1;
    a.m_logScale = log ? 1 : 0;
    a.m_tickDivisions = 7;
    for (const double v : values)
        a.m_history.Add(v);
    a.ApplyAutoRange();
    return a;
}

void ExpectRange(const CAxisInfo& a, double start, double end)
{
    EXPECT_DOUBLE_EQ(a.m_startValue, start);
    EXPECT_DOUBLE_EQ(a.m_tickStartValue, start);
    EXPECT_DOUBLE_EQ(a.m_endValue, end);
    EXPECT_DOUBLE_EQ(a.m_tickEndValue, end);
}

} // namespace

TEST(AxisRange, NiceStepAroundPowersOfTen)
{
    // hi - lo = 5 r; step by q = r / 10^trunc(log10 r).
    const struct {
        double r;
        double step;
    } cases[] = {
        {1.99, 5},   {2, 10},     {4.99, 10},   {5, 20},     {9.99, 20},
        {10, 50},    {10.01, 50}, {19.9, 50},   {20, 100},   {99.9, 200},
        // Exact powers of ten may leave q at 10 after rounding; the step comes out the same.
        {100, 500},  {1000, 5000}, {1e6, 5e6},
        // Below one the exponent is cut toward zero.
        {0.5, 5},    {0.05, 0.5},  {0.15, 5}, {0.002, 0.05},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CAxisInfo::NiceStep(0, 5 * c.r), c.step, c.step * 1e-12) << c.r;
    EXPECT_NEAR(CAxisInfo::NiceStep(-30, 70), 100, 1e-12);
}

TEST(AxisRange, NiceStepWithoutSpanIsZero)
{
    EXPECT_EQ(CAxisInfo::NiceStep(3, 3), 0);
    EXPECT_EQ(CAxisInfo::NiceStep(5, 1), 0);
    EXPECT_EQ(CAxisInfo::NiceStep(-DBL_MAX, DBL_MAX), 0);
    EXPECT_EQ(CAxisInfo::NiceStep(0, NAN), 0);
}

TEST(AxisRange, LinearAutoRangeWithTicks)
{
    const CAxisInfo a = WithHistory({0, 100, 37}, true);
    ExpectRange(a, 0, 200);
    EXPECT_EQ(a.m_tickDivisions, 2);
    EXPECT_EQ(a.m_showSubTicks, 0);
    EXPECT_EQ(a.m_originValue, 0); // origin at the start point
}

TEST(AxisRange, PositiveMaximumOnStepStillGetsOneMoreStep)
{
    const CAxisInfo a = WithHistory({2, 10}, true); // step 5
    ExpectRange(a, 0, 15);
    EXPECT_EQ(a.m_tickDivisions, 3);
}

TEST(AxisRange, NegativeMinimumGetsOneMoreStepDown)
{
    const CAxisInfo a = WithHistory({-7, 3}, true); // step 10
    ExpectRange(a, -10, 10);
    EXPECT_EQ(a.m_tickDivisions, 2);
}

TEST(AxisRange, EqualValuesCollapseToZero)
{
    const CAxisInfo a = WithHistory({7, 7, 7}, true);
    ExpectRange(a, 0, 0);
    EXPECT_EQ(a.m_tickDivisions, 1);
}

TEST(AxisRange, NarrowRangeFarFromZeroStaysAroundData)
{
    const CAxisInfo a = WithHistory({1e12, 1e12 + 1}, true); // step 5
    ExpectRange(a, 1e12, 1e12 + 5);
    EXPECT_EQ(a.m_tickDivisions, 1);
}

TEST(AxisRange, WithoutTicksRangeIsDataExtremes)
{
    const CAxisInfo a = WithHistory({4, -2, 9}, false);
    ExpectRange(a, -2, 9);
    EXPECT_EQ(a.m_tickDivisions, 7);
    EXPECT_EQ(a.m_showSubTicks, 0);
}

TEST(AxisRange, LogarithmicAutoRangeUsesPowersOfTen)
{
    ExpectRange(WithHistory({3, 450, 20}, true, true), 1, 1000);
    ExpectRange(WithHistory({0.02, 0.5}, true, true), 0.01, 1);
    // No positive minimum: two decades below the top.
    ExpectRange(WithHistory({-5, 50}, true, true), 1, 100);
    // No positive maximum: the top is 0.1.
    ExpectRange(WithHistory({-5, -1}, true, true), 0.001, 0.1);
}

TEST(AxisRange, NothingWithoutFlagOrHistory)
{
    CAxisInfo a;
    a.m_showSubTicks = 1;
    a.m_history.Add(5);
    a.ApplyAutoRange();
    ExpectRange(a, 0, 1);
    EXPECT_EQ(a.m_showSubTicks, 1);

    CAxisInfo empty;
    empty.m_autoRange = 1;
    empty.m_showSubTicks = 1;
    empty.ApplyAutoRange();
    EXPECT_EQ(empty.m_showSubTicks, 1);
}

TEST(AxisRange, OriginValueFollowsNewRange)
{
    CAxisInfo a;
    a.m_autoRange = 1;
    a.m_originX = 150; // the middle of the axis
    a.m_originY = 150;
    a.m_history.Add(10);
    a.m_history.Add(30);
    a.ApplyAutoRange();
    EXPECT_DOUBLE_EQ(a.m_originValue, 20);
}

TEST(AxisRange, LatestRowsRangeSpansAxis)
{
    CAxisInfo a;
    a.m_latestRows = 1;
    a.m_latestRowCount = 10;
    a.m_startValue = 0;
    a.m_endValue = 5;
    a.ApplyLatestRowsRange();
    EXPECT_EQ(a.m_startValue, 1);
    EXPECT_EQ(a.m_endValue, 10);
    EXPECT_EQ(a.ValuePoint(1), QPointF(100, 100));
    EXPECT_EQ(a.ValuePoint(10), QPointF(200, 200));
    EXPECT_EQ(a.LatestRowsFirst(25), 15);
    EXPECT_EQ(a.LatestRowsFirst(10), 0);
    EXPECT_EQ(a.LatestRowsFirst(4), 0);
}

TEST(AxisRange, NonFiniteHistoryValuesAreIgnored)
{
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    ExpectRange(WithHistory({nan, 10, inf, 90, -inf}, false), 10, 90);
    ExpectRange(WithHistory({10, nan, 90}, true), 0, 100);

    // Nothing finite: the range stays as it was.
    const CAxisInfo none = WithHistory({nan, inf}, true);
    ExpectRange(none, 0, 1);
    EXPECT_EQ(none.m_showSubTicks, 1);
}
