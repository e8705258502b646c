#include "model/BarInfo.h"
#include "model/ConnectInfo.h"
#include "model/PlotInfo.h"
#include "pipeline/DocData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A bar on a horizontal axis from (100, 100) to (200, 100) with values 0 .. 1, as its
// dialog leaves it, that has seen a record.
CBarInfo Bar(BarAnchor anchor, double value, double initial = 0)
{
    CBarInfo b;
    b.m_anchor = anchor;
    b.m_axis.m_startX = b.m_axis.m_startY = 100;
    b.m_axis.m_endX = 200;
    b.m_axis.m_endY = 100;
    b.SetOriginToStart();
    b.m_axis.m_value = value;
    b.m_initialValue = initial;
    b.m_firstRecord = 0;
    return b;
}

CPlotInfo PlotAt(int32_t id, double x, double y)
{
    CPlotInfo p;
    p.m_id = id;
    p.m_axes[0].m_startX = p.m_axes[0].m_originX = x;
    p.m_axes[0].m_startY = p.m_axes[0].m_originY = y;
    p.m_axes[0].m_endX = x + 100;
    p.m_axes[0].m_endY = y;
    p.m_axes[0].m_value = 0;
    p.m_firstRecord = 0;
    return p;
}

CConnectInfo Connect(std::vector<int32_t> ids, bool closed = false)
{
    CConnectInfo c;
    c.m_plotIds = std::move(ids);
    c.m_closed = closed ? 1 : 0;
    return c;
}

} // namespace

TEST(BarSegment, ThreeAnchorsAndTheFlipToTheOtherSide)
{
    EXPECT_EQ(Bar(BarAnchor::Start, 0.5).BarSegment(1.0), QLine(100, 100, 150, 100));
    EXPECT_EQ(Bar(BarAnchor::Start, 0.0).BarSegment(1.0), QLine(100, 100, 100, 100));
    EXPECT_EQ(Bar(BarAnchor::Start, -0.5).BarSegment(1.0), QLine(100, 100, 50, 100));
    EXPECT_EQ(Bar(BarAnchor::Center, 0.5).BarSegment(1.0), QLine(50, 100, 150, 100));
    EXPECT_EQ(Bar(BarAnchor::End, 0.5, 0.3).BarSegment(1.0), QLine(70, 100, 150, 100));
    EXPECT_EQ(Bar(BarAnchor::Start, 0.5).BarSegment(0.5), QLine(50, 50, 75, 50));
    EXPECT_EQ(Bar(static_cast<BarAnchor>(7), 0.5).BarSegment(1.0), QLine(0, 0, 0, 0));

    CBarInfo fresh = Bar(BarAnchor::Start, 0.5);
    fresh.ResetRunState();
    EXPECT_FALSE(fresh.BarSegment(1.0));
}

TEST(BarSegment, FlipThresholdIsMeasuredFromTheInitialDirection)
{
    // A logarithmic axis whose stored origin lies 10 units above its start: values leave the
    // start at an angle that shrinks as they grow.
    CBarInfo b = Bar(BarAnchor::Start, 0);
    b.m_axis.m_logScale = 1;
    b.m_axis.m_startValue = 1;
    b.m_axis.m_endValue = 100;
    b.m_axis.m_originY = 90;
    b.m_initialValue = 1; // at the start value: no length, so the axis direction is the reference

    b.m_axis.m_value = std::pow(10.0, 1.2); // 60 units along, angle atan(10/60) = 0.165
    EXPECT_EQ(b.BarSegment(1.0), QLine(100, 100, 160, 100));
    b.m_axis.m_value = 10; // 50 units along, angle atan(10/50) = 0.197
    EXPECT_EQ(b.BarSegment(1.0), QLine(100, 100, 50, 100));
}

TEST(BarSegment, DirectionsEitherSideOfTheSeamDoNotFlip)
{
    // The axis points left (angle pi); the value's offset has a tiny negative y, so its angle is
    // just above -pi: the same direction, not the opposite one.
    CBarInfo b = Bar(BarAnchor::Start, 0);
    b.m_axis.m_startX = 200;
    b.m_axis.m_endX = 100;
    b.m_axis.m_logScale = 1;
    b.m_axis.m_startValue = 1;
    b.m_axis.m_endValue = 100;
    b.m_axis.m_originX = 200;
    b.m_axis.m_originY = 100 + 1e-9;
    b.m_initialValue = 1;
    b.m_axis.m_value = 10;
    EXPECT_EQ(b.BarSegment(1.0), QLine(200, 100, 150, 100));
}

TEST(BarSegment, EditSegmentShowsTheInitialValue)
{
    EXPECT_EQ(Bar(BarAnchor::Center, 0, 0.3).EditSegment(1.0), QLine(70, 100, 130, 100));
    EXPECT_EQ(Bar(BarAnchor::Start, 0, 0.3).EditSegment(1.0), QLine(100, 100, 130, 100));
    EXPECT_EQ(Bar(BarAnchor::End, 0, 0.3).EditSegment(1.0), QLine(70, 100, 100, 100));
    // Initial value equal to the start value: zero length along the axis direction.
    EXPECT_EQ(Bar(BarAnchor::Center, 0, 0).EditSegment(1.0), QLine(100, 100, 100, 100));
}

TEST(BarRecords, PrefixFilterAndLatestValueOnly)
{
    CBarInfo b;
    b.m_axis.m_fdNo = 1;
    b.m_texts.resize(1);
    b.m_includePrefixes = {QStringLiteral("T")};
    b.ResetRunState();
    b.UpdateFromRecord(CDocData(Apply, 0, FieldRow({QStringLiteral("X"), QStringLiteral("3")}), nullptr));
    EXPECT_EQ(b.m_firstRecord, 1);
    for (const char* v : {"1", "2", "3"})
        b.UpdateFromRecord(CDocData(Apply, 0, FieldRow({QStringLiteral("T"), QString::fromLatin1(v)}), nullptr));
    EXPECT_EQ(b.m_firstRecord, 0);
    EXPECT_EQ(b.m_axis.m_value, 3);
    EXPECT_EQ(b.m_axis.m_history.GetCount(), 1);
    EXPECT_EQ(b.m_texts[0].m_history.GetCount(), 1);
}

TEST(ConnectCheck, FirstFailingPairDecidesTheMessage)
{
    std::vector<CPlotInfo> plots{PlotAt(1, 0, 0), PlotAt(3, 0, 0), PlotAt(4, 0, 0)};
    plots[2].m_axes[0].m_latestRows = 1;
    QString message;

    EXPECT_TRUE(Connect({}).Check(plots, &message));
    EXPECT_TRUE(Connect({2}).Check(plots, &message)) << "one ID is never checked";
    EXPECT_TRUE(Connect({1, 3}).Check(plots, &message));

    EXPECT_FALSE(Connect({1, 2, 3}).Check(plots, &message));
    EXPECT_EQ(message, QStringLiteral("プロット結線するID2のプロット情報が存在しません．"));
    EXPECT_FALSE(Connect({9, 1}).Check(plots, &message));
    EXPECT_EQ(message, QStringLiteral("プロット結線するID9のプロット情報が存在しません．"));

    EXPECT_FALSE(Connect({1, 4}).Check(plots, &message));
    EXPECT_EQ(message, QStringLiteral("プロット結線するID4プロット情報が「最新行表示」軸を持っています．\n"
                                      "「最新行表示」データはプロット結線できません．"));
    EXPECT_FALSE(Connect({1, 3, 8, 4}).Check(plots, &message));
    EXPECT_EQ(message, QStringLiteral("プロット結線するID8のプロット情報が存在しません．"));
}

TEST(ConnectSegments, StopAtTheFirstPairThatCannotBeDrawn)
{
    std::vector<CPlotInfo> plots{PlotAt(1, 10, 10), PlotAt(2, 20, 10), PlotAt(3, 20, 30)};

    EXPECT_EQ(Connect({1, 2, 3}).Segments(plots, 1.0),
              (std::vector<QLine>{QLine(10, 10, 20, 10), QLine(20, 10, 20, 30)}));
    EXPECT_EQ(Connect({1, 2, 3}, true).Segments(plots, 2.0),
              (std::vector<QLine>{QLine(20, 20, 40, 20), QLine(40, 20, 40, 60), QLine(20, 20, 40, 60)}));
    EXPECT_TRUE(Connect({1}, true).Segments(plots, 1.0).empty());
    EXPECT_TRUE(Connect({1, 5, 3}, true).Segments(plots, 1.0).empty()) << "missing plot 5";

    plots[2].m_firstRecord = 1;
    EXPECT_EQ(Connect({1, 2, 3}, true).Segments(plots, 1.0), (std::vector<QLine>{QLine(10, 10, 20, 10)}));
    plots[2].m_firstRecord = 0;
    plots[1].m_axes[0].m_latestRows = 1;
    EXPECT_TRUE(Connect({1, 2, 3}).Segments(plots, 1.0).empty());
}

TEST(ConnectSegments, EditSegmentsJoinAxisStartPoints)
{
    std::vector<CPlotInfo> plots{PlotAt(1, 10, 10), PlotAt(2, 20, 10), PlotAt(3, 20, 30)};
    for (CPlotInfo& p : plots)
        p.m_firstRecord = 1; // no live positions while editing
    EXPECT_EQ(Connect({1, 2, 3}, true).EditSegments(plots, 1.0),
              (std::vector<QLine>{QLine(10, 10, 20, 10), QLine(20, 10, 20, 30), QLine(10, 10, 20, 30)}));
    EXPECT_EQ(Connect({1, 2, 7, 3}, true).EditSegments(plots, 1.0), (std::vector<QLine>{QLine(10, 10, 20, 10)}));
}

TEST(BarSegment, NonFiniteValueGivesNoBarWithAnyAnchor)
{
    for (const BarAnchor anchor : {BarAnchor::Center, BarAnchor::Start, BarAnchor::End}) {
        for (const double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308})
            EXPECT_FALSE(Bar(anchor, v).BarSegment(4.0)) << int(anchor) << " " << v;
    }
    // A non-finite initial value only loses its reference: the axis direction takes over.
    EXPECT_EQ(Bar(BarAnchor::Start, 0.5, std::nan("")).BarSegment(1.0), QLine(100, 100, 150, 100));
    EXPECT_EQ(Bar(BarAnchor::End, 0.5, HUGE_VAL).BarSegment(1.0), QLine(100, 100, 150, 100));
}

TEST(ConnectSegments, PlotWithoutAFinitePositionStopsTheLine)
{
    std::vector<CPlotInfo> plots{PlotAt(1, 10, 10), PlotAt(2, 20, 10), PlotAt(3, 20, 30)};
    plots[1].m_axes[0].m_value = std::nan("");
    EXPECT_TRUE(Connect({1, 2, 3}, true).Segments(plots, 1.0).empty());
    EXPECT_EQ(Connect({3, 1, 2}).Segments(plots, 1.0), (std::vector<QLine>{QLine(20, 30, 10, 10)}));
}
