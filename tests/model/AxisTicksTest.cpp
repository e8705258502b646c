#include "model/AxisInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::vector<QString> Texts(const std::vector<CAxisLabel>& labels)
{
    std::vector<QString> out;
    for (const CAxisLabel& l : labels)
        out.push_back(l.m_text);
    return out;
}

CAxisInfo LogAxis(double tickStart, double tickEnd)
{
    CAxisInfo a;
    a.m_logScale = 1;
    a.m_startValue = 1;
    a.m_endValue = 1000;
    a.m_tickStartValue = tickStart;
    a.m_tickEndValue = tickEnd;
    a.m_labelText.m_format = QStringLiteral("%g");
    a.m_unit = QStringLiteral("Pa");
    return a;
}

} // namespace

TEST(AxisTicks, LinearTicksSubTicksAndLabels)
{
    CAxisInfo a;
    a.m_tickStartValue = 0;
    a.m_tickEndValue = 10;
    a.m_tickDivisions = 5;
    a.m_subTickDivisions = 2;
    a.m_labelText.m_format = QStringLiteral("%.0f");
    a.m_labelText.m_prefix = QStringLiteral("not shown");
    a.m_labelText.m_suffix = QStringLiteral("not shown");
    a.m_unit = QStringLiteral("kg");
    EXPECT_EQ(a.TickValues(), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(a.SubTickValues(), (std::vector<double>{1, 3, 5, 7, 9}));
    EXPECT_EQ(Texts(a.Labels()), (std::vector<QString>{"0", "2", "4", "6", "8", "10kg"}));

    a.m_subTickDivisions = 1;
    EXPECT_TRUE(a.SubTickValues().empty());
    a.m_tickDivisions = 0; // the start alone, not a NaN
    EXPECT_EQ(a.TickValues(), (std::vector<double>{0}));
    EXPECT_EQ(Texts(a.Labels()), (std::vector<QString>{"0kg"}));
    a.m_tickDivisions = -1;
    EXPECT_TRUE(a.TickValues().empty());
    EXPECT_TRUE(a.Labels().empty());
}

TEST(AxisTicks, LogarithmicTicksPerDecade)
{
    EXPECT_EQ(LogAxis(1, 1000).TickValues(), (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_EQ(LogAxis(2, 500).TickValues(), (std::vector<double>{2, 20, 200}));
    EXPECT_TRUE(LogAxis(100, 10).TickValues().empty());
}

TEST(AxisTicks, LogarithmicSubTicksStopAtFirstValuePastEnd)
{
    EXPECT_EQ(LogAxis(1, 50).SubTickValues(),
              (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9, 20, 30, 40, 50}));
}

TEST(AxisTicks, LogarithmicLastLabelIsTickEndWithUnit)
{
    EXPECT_EQ(Texts(LogAxis(1, 500).Labels()), (std::vector<QString>{"1", "10", "100", "500Pa"}));
    EXPECT_EQ(Texts(LogAxis(1, 100).Labels()), (std::vector<QString>{"1", "10", "100Pa"}));
}

TEST(AxisTicks, LogarithmicNeedsIncreasingPositiveRange)
{
    for (const auto& [s, e] : {std::pair{0.0, 1000.0}, {10.0, 10.0}, {100.0, 1.0}}) {
        CAxisInfo a = LogAxis(1, 100);
        a.m_startValue = s;
        a.m_endValue = e;
        EXPECT_TRUE(a.TickValues().empty());
        EXPECT_TRUE(a.SubTickValues().empty());
        EXPECT_TRUE(a.Labels().empty());
    }
}

TEST(AxisTicks, DamagedRangesStillEnd)
{
    // Series that never reach their end when multiplied on.
    for (const double start : {0.0, -5.0}) {
        const CAxisInfo a = LogAxis(start, 100);
        EXPECT_TRUE(a.TickValues().empty());
        EXPECT_TRUE(a.SubTickValues().empty());
        EXPECT_EQ(Texts(a.Labels()), (std::vector<QString>{"100Pa"}));
    }
    const double inf = std::numeric_limits<double>::infinity();
    const CAxisInfo open = LogAxis(1, inf);
    EXPECT_EQ(open.TickValues().size(), 309u);
    EXPECT_EQ(open.SubTickValues().size(), 308u * 8);
    EXPECT_EQ(LogAxis(1, NAN).SubTickValues().size(), 308u * 8);

    CAxisInfo many;
    many.m_tickDivisions = std::numeric_limits<int32_t>::max();
    many.m_subTickDivisions = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(static_cast<int64_t>(many.TickValues().size()), CAxisInfo::kMaxMarks);
    EXPECT_EQ(static_cast<int64_t>(many.SubTickValues().size()), CAxisInfo::kMaxMarks);
}

TEST(AxisTicks, TickSegmentsBySide)
{
    CAxisInfo a; // left to right
    a.m_endY = 100;
    CLineInfo line(1, 10);
    const QPoint p(50, 50);
    EXPECT_EQ(a.TickSegment(p, line, TickSide::Both), QLine(50, 55, 50, 45));
    EXPECT_EQ(a.TickSegment(p, line, TickSide::UpperLeft), QLine(50, 40, 50, 50));
    EXPECT_EQ(a.TickSegment(p, line, TickSide::LowerRight), QLine(50, 50, 50, 60));
    EXPECT_EQ(a.TickSegment(p, line, static_cast<TickSide>(3)), QLine(p, p));

    // Downward axis: the left of the direction of travel is to the right on screen.
    a.m_endX = 100;
    a.m_endY = 200;
    EXPECT_EQ(a.TickSegment(p, line, TickSide::UpperLeft), QLine(60, 50, 50, 50));
    // 45 degrees: offsets truncated toward zero.
    a.m_endX = 200;
    EXPECT_EQ(a.TickSegment(p, line, TickSide::Both), QLine(47, 53, 53, 47));
}

TEST(AxisTicks, LayoutNeedsAxisLine)
{
    CAxisInfo a;
    a.m_showTicks = a.m_showSubTicks = a.m_showLabels = 1;
    a.m_subTickDivisions = 2;
    CAxisLayout hidden = a.Layout(1.0);
    EXPECT_FALSE(hidden.m_visible);
    EXPECT_TRUE(hidden.m_ticks.empty() && hidden.m_subTicks.empty() && hidden.m_labels.empty());

    a.m_showAxisLine = 1;
    const CAxisLayout shown = a.Layout(0.5);
    EXPECT_EQ(shown.m_axisLine, QLine(50, 50, 100, 100));
    ASSERT_EQ(shown.m_ticks.size(), 2u);
    EXPECT_EQ(shown.m_subTicks.size(), 1u);
    ASSERT_EQ(shown.m_labels.size(), 2u);
    EXPECT_EQ(shown.m_labels[1].m_point, QPoint(100, 100));
    EXPECT_EQ(shown.m_labels[1].m_text, QStringLiteral("1"));

    a.m_showTicks = a.m_showSubTicks = 0;
    const CAxisLayout labelsOnly = a.Layout(1.0);
    EXPECT_TRUE(labelsOnly.m_ticks.empty() && labelsOnly.m_subTicks.empty());
    EXPECT_EQ(labelsOnly.m_labels.size(), 2u);
}

TEST(AxisTicks, PixelsTruncateTowardZero)
{
    CAxisInfo a;
    a.m_startX = a.m_originX = -10;
    a.m_endX = 10;
    a.m_startY = a.m_originY = 0.9;
    a.m_endY = 0.9;
    EXPECT_EQ(a.ValuePixel(0.025, 1.0), QPoint(-9, 0));
    EXPECT_EQ(a.ValuePixel(0.95, 1.5), QPoint(13, 1));
    EXPECT_EQ(a.ValuePixel(NAN, 1.0).x(), std::numeric_limits<int>::min());
}
