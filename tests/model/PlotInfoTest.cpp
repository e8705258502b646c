#include "model/PlotInfo.h"
#include "pipeline/DocData.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

namespace {

CDocData Record(std::initializer_list<QString> fds, int32_t row = 0)
{
    return CDocData(Apply, row, FieldRow(fds), nullptr);
}

void SetAxis(CAxisInfo& a, double sx, double sy, double ex, double ey, int32_t fdNo = 0)
{
    a.m_startX = sx;
    a.m_startY = sy;
    a.m_endX = ex;
    a.m_endY = ey;
    a.m_fdNo = fdNo;
}

CPlotInfo Plot(int32_t id, OriginKind kind = OriginKind::Fixed, int32_t originId = 0)
{
    CPlotInfo p;
    p.m_id = id;
    p.m_originKind = kind;
    p.m_originPlotId = originId;
    return p;
}

} // namespace

TEST(PlotPrefixFilter, TargetListDecidesAndIgnoreListIsNotConsulted)
{
    CPlotInfo p;
    p.m_includePrefixes = {QStringLiteral("A"), QStringLiteral("B")};
    p.m_ignorePrefixes = {QStringLiteral("A1")};
    p.ResetRunState();

    p.UpdateFromRecord(Record({QStringLiteral("C"), QStringLiteral("1")}));
    EXPECT_EQ(p.m_firstRecord, 1);
    EXPECT_EQ(p.m_axes[0].m_history.GetCount(), 0);

    p.UpdateFromRecord(Record({QStringLiteral("A123"), QStringLiteral("1")}));
    EXPECT_EQ(p.m_firstRecord, 0);
    EXPECT_EQ(p.m_axes[0].m_history.GetCount(), 1);
}

TEST(PlotPrefixFilter, PrefixLengthEmptyPrefixAndIgnoreList)
{
    CPlotInfo longer;
    longer.m_includePrefixes = {QStringLiteral("ABCD")};
    longer.UpdateFromRecord(Record({QStringLiteral("ABC")}));
    EXPECT_EQ(longer.m_firstRecord, 1);

    CPlotInfo empty;
    empty.m_includePrefixes = {QString()};
    empty.UpdateFromRecord(Record({}));
    EXPECT_EQ(empty.m_firstRecord, 0) << "an empty prefix matches even a record without FDs";

    CPlotInfo ignoring;
    ignoring.m_ignorePrefixes = {QStringLiteral("#")};
    ignoring.UpdateFromRecord(Record({QStringLiteral("#comment")}));
    EXPECT_EQ(ignoring.m_firstRecord, 1);
    ignoring.UpdateFromRecord(Record({QStringLiteral("data")}));
    EXPECT_EQ(ignoring.m_firstRecord, 0);

    CPlotInfo caseSensitive;
    caseSensitive.m_includePrefixes = {QStringLiteral("a")};
    caseSensitive.UpdateFromRecord(Record({QStringLiteral("A")}));
    EXPECT_EQ(caseSensitive.m_firstRecord, 1);
}

TEST(PlotRunState, HistoryModeFollowsLatestRowsThenAutoRange)
{
    auto feed = [](CPlotInfo& p, int n) {
        p.ResetRunState();
        for (int i = 0; i < n; ++i)
            p.UpdateFromRecord(Record({QString::number(i), QString::number(i)}));
    };

    CPlotInfo plain;
    plain.m_texts.resize(1);
    feed(plain, 5);
    EXPECT_EQ(plain.m_axes[0].m_history.GetCount(), 1);
    EXPECT_EQ(plain.m_texts[0].m_history.GetCount(), 1);
    EXPECT_EQ(plain.m_axes[0].m_history.GetAt(0), 4.0);

    CPlotInfo latest;
    latest.m_axes[0].m_latestRows = 1;
    latest.m_axes[0].m_latestRowCount = 3;
    latest.m_variableSize = 1;
    feed(latest, 5);
    EXPECT_EQ(latest.m_axes[0].m_history.GetCount(), 3);
    EXPECT_EQ(latest.m_sizeHistory.GetCount(), 3);

    CPlotInfo second; // axis 2's latest rows count when axis 1 has none
    second.m_axisCount = 2;
    second.m_axes[1].m_latestRows = 1;
    second.m_axes[1].m_latestRowCount = 4;
    second.m_axes[0].m_autoRange = 1;
    feed(second, 6);
    EXPECT_EQ(second.m_axes[0].m_history.GetCount(), 4);
    EXPECT_EQ(second.m_axes[1].m_history.GetCount(), 4);

    CPlotInfo autoRange;
    autoRange.m_axes[0].m_autoRange = 1;
    feed(autoRange, 6);
    EXPECT_EQ(autoRange.m_axes[0].m_history.GetCount(), 6);

    CPlotInfo unusedSecond; // an unused axis 2 does not count
    unusedSecond.m_axes[1].m_autoRange = 1;
    feed(unusedSecond, 3);
    EXPECT_EQ(unusedSecond.m_axes[0].m_history.GetCount(), 1);
    EXPECT_EQ(unusedSecond.m_axes[1].m_history.GetCount(), 0);
}

TEST(PlotRunState, SizeValueStartsByKindAndAccumulates)
{
    CPlotInfo p;
    p.m_variableSize = 1;
    p.m_sizeFdNo = 1;
    p.m_sizeBaseValue = 7;
    p.ResetRunState();
    EXPECT_EQ(p.m_sizeValue, 7);

    p.m_sizeValueKind = ValueKind::Max;
    p.ResetRunState();
    EXPECT_EQ(p.m_sizeValue, -DBL_MAX);
    p.UpdateFromRecord(Record({QStringLiteral("x"), QStringLiteral("3")}));
    p.UpdateFromRecord(Record({QStringLiteral("x"), QStringLiteral("1")}));
    p.UpdateFromRecord(Record({QStringLiteral("x")})); // no size FD: the value repeats
    EXPECT_EQ(p.m_sizeValue, 3);
    EXPECT_EQ(p.m_sizeHistory.GetCount(), 1) << "a plain plot keeps the latest value only";

    p.m_sizeValueKind = ValueKind::Min;
    p.ResetRunState();
    EXPECT_EQ(p.m_sizeValue, DBL_MAX);
}

TEST(PlotMarker, RadiusWithVariableSize)
{
    CPlotInfo p;
    p.m_size = 7;
    EXPECT_EQ(p.MarkerRadius(), 3);

    p.m_size = 20;
    p.m_variableSize = 1;
    p.m_sizeBaseValue = 0;
    p.m_sizeStepValue = 10;
    p.m_sizeValue = 5;
    EXPECT_EQ(p.MarkerRadius(), 15);
    p.m_sizeValue = -20;
    EXPECT_EQ(p.MarkerRadius(), -10);
    p.m_sizeStepValue = 0;
    EXPECT_EQ(p.MarkerRadius(), 10);

    // A Max size value that never read a number stays at -DBL_MAX: the radius saturates.
    p.m_sizeStepValue = 1;
    p.m_sizeValue = -DBL_MAX;
    EXPECT_LT(p.MarkerRadius(), INT_MIN / 2);
}

TEST(PlotOrigin, TwoAxesCrossInsideAndOnTheExtensions)
{
    CPlotInfo p;
    p.m_axisCount = 2;
    SetAxis(p.m_axes[0], 100, 500, 900, 500);
    SetAxis(p.m_axes[1], 100, 900, 100, 100);
    ASSERT_TRUE(p.ComputeOrigin());
    EXPECT_NEAR(p.m_axes[0].m_originX, 100, 1e-9);
    EXPECT_NEAR(p.m_axes[0].m_originY, 500, 1e-9);
    EXPECT_NEAR(p.m_axes[1].m_originX, 100, 1e-9);
    EXPECT_NEAR(p.m_axes[1].m_originY, 500, 1e-9);
    EXPECT_NEAR(p.m_axes[0].m_originValue, 0.0, 1e-12);
    EXPECT_NEAR(p.m_axes[1].m_originValue, 0.5, 1e-12);

    // The crossing lies beyond both segments and is used as it is.
    SetAxis(p.m_axes[0], 0, 0, 10, 0);
    SetAxis(p.m_axes[1], 20, 5, 20, 10);
    ASSERT_TRUE(p.ComputeOrigin());
    EXPECT_NEAR(p.m_axes[0].m_originX, 20, 1e-9);
    EXPECT_NEAR(p.m_axes[0].m_originY, 0, 1e-9);
    EXPECT_NEAR(p.m_axes[0].m_originValue, 2.0, 1e-12);
    EXPECT_NEAR(p.m_axes[1].m_originValue, -1.0, 1e-12);
}

TEST(PlotOrigin, ParallelAndZeroLengthAxesFail)
{
    CPlotInfo p;
    p.m_axisCount = 2;
    SetAxis(p.m_axes[0], 100, 100, 200, 100);
    SetAxis(p.m_axes[1], 100, 300, 400, 300);
    p.m_axes[0].m_originX = p.m_axes[0].m_originY = 7;
    p.m_axes[0].m_originValue = 42;
    p.m_axes[1].m_originX = 9;
    EXPECT_FALSE(p.ComputeOrigin());
    EXPECT_EQ(p.m_axes[0].m_originX, 100);
    EXPECT_EQ(p.m_axes[0].m_originY, 100);
    EXPECT_EQ(p.m_axes[0].m_originValue, 42) << "origin values stay on failure";
    EXPECT_EQ(p.m_axes[1].m_originX, 9);

    SetAxis(p.m_axes[1], 50, 50, 50, 50);
    EXPECT_FALSE(p.ComputeOrigin());
    SetAxis(p.m_axes[0], 50, 50, 50, 50);
    SetAxis(p.m_axes[1], 100, 300, 400, 300);
    EXPECT_FALSE(p.ComputeOrigin());
}

TEST(PlotOrigin, OneAxisUsesItsStartPoint)
{
    CPlotInfo p;
    SetAxis(p.m_axes[0], 10, 20, 30, 40);
    p.m_axes[0].m_startValue = 5;
    p.m_axes[0].m_endValue = 9;
    SetAxis(p.m_axes[1], 0, 0, 0, 0); // unused, would fail a crossing
    EXPECT_TRUE(p.ComputeOrigin());
    EXPECT_EQ(p.m_axes[0].m_originX, 10);
    EXPECT_EQ(p.m_axes[0].m_originY, 20);
    EXPECT_EQ(p.m_axes[0].m_originValue, 5);
}

TEST(PlotOriginChain, FailsOnSelfMissingLoopAndUnusableTarget)
{
    std::vector<CPlotInfo> plots{Plot(1), Plot(2, OriginKind::Moving, 3), Plot(3, OriginKind::Moving, 2),
                                 Plot(4, OriginKind::Moving, 4), Plot(5, OriginKind::Moving, 99),
                                 Plot(6), Plot(7, OriginKind::Moving, 6)};
    EXPECT_EQ(plots[0].GetOriginChain(plots)->size(), 1u);
    EXPECT_FALSE(plots[1].GetOriginChain(plots)) << "loop";
    EXPECT_FALSE(plots[2].GetOriginChain(plots)) << "loop";
    EXPECT_FALSE(plots[3].GetOriginChain(plots)) << "self";
    EXPECT_FALSE(plots[4].GetOriginChain(plots)) << "missing target";
    EXPECT_TRUE(plots[6].GetOriginChain(plots));

    plots[5].m_axes[0].m_autoRange = 1;
    EXPECT_FALSE(plots[6].GetOriginChain(plots)) << "auto-range target";
    plots[5].m_axes[0].m_autoRange = 0;
    plots[5].m_axes[1].m_latestRows = 1;
    EXPECT_TRUE(plots[6].GetOriginChain(plots)) << "an unused axis 2 does not count";
    plots[5].m_axisCount = 2;
    EXPECT_FALSE(plots[6].GetOriginChain(plots)) << "latest-rows target";
}

TEST(PlotOriginChain, LongChainEndsAtTheFixedPlot)
{
    std::vector<CPlotInfo> plots;
    for (int32_t id = 1; id <= 6; ++id)
        plots.push_back(id == 1 ? Plot(1) : Plot(id, OriginKind::Moving, id - 1));
    const auto chain = plots.back().GetOriginChain(plots);
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->size(), 6u);
    EXPECT_EQ(chain->front(), &plots.back());
    EXPECT_EQ(chain->back()->m_id, 1);
}

TEST(PlotPosition, MovingPlotRidesOnItsTarget)
{
    std::vector<CPlotInfo> plots{Plot(1), Plot(2, OriginKind::Moving, 1)};
    SetAxis(plots[0].m_axes[0], 100, 100, 200, 100, 1);
    SetAxis(plots[1].m_axes[0], 0, 0, 0, 100, 2);
    for (CPlotInfo& p : plots) {
        p.ComputeOrigin();
        p.ResetRunState();
    }

    plots[1].UpdateFromRecord(Record({QStringLiteral("r"), QStringLiteral("0.5"), QStringLiteral("0.25")}));
    EXPECT_FALSE(plots[1].GetPosition(plots)) << "the target has no record yet";

    plots[0].UpdateFromRecord(Record({QStringLiteral("r"), QStringLiteral("0.5"), QStringLiteral("0.25")}));
    auto pos = plots[1].GetPosition(plots);
    ASSERT_TRUE(pos);
    EXPECT_DOUBLE_EQ(pos->x(), 150);
    EXPECT_DOUBLE_EQ(pos->y(), 125);

    for (CPlotInfo& p : plots)
        p.UpdateFromRecord(Record({QStringLiteral("r"), QStringLiteral("1"), QStringLiteral("1")}));
    pos = plots[1].GetPosition(plots);
    const auto prev = plots[1].GetPreviousPosition(plots);
    ASSERT_TRUE(pos && prev);
    EXPECT_DOUBLE_EQ(pos->x(), 200);
    EXPECT_DOUBLE_EQ(pos->y(), 200);
    EXPECT_DOUBLE_EQ(prev->x(), 150);
    EXPECT_DOUBLE_EQ(prev->y(), 125);
}

TEST(PlotDamagedInput, PlotWithoutAxesNeverCrashes)
{
    CPlotInfo p;
    p.m_axes.clear();
    p.m_axisCount = 2;
    p.ResetRunState();
    p.UpdateFromRecord(Record({QStringLiteral("1")}));
    EXPECT_FALSE(p.ComputeOrigin());
    std::vector<CPlotInfo> plots{p};
    EXPECT_FALSE(p.GetPosition(plots));
}

TEST(PlotPosition, NonFiniteValuesGiveNoPositionForThemselvesAndTheirRiders)
{
    std::vector<CPlotInfo> plots{Plot(1), Plot(2, OriginKind::Moving, 1)};
    SetAxis(plots[0].m_axes[0], 100, 100, 200, 100, 1);
    SetAxis(plots[1].m_axes[0], 0, 0, 0, 100, 2);
    plots[0].m_axes[0].m_multiplier = 1e300; // "1e10" overflows to inf
    for (CPlotInfo& p : plots) {
        p.ComputeOrigin();
        p.ResetRunState();
    }
    const auto apply = [&](const char* v1, const char* v2) {
        for (CPlotInfo& p : plots)
            p.UpdateFromRecord(Record({QStringLiteral("r"), QString::fromLatin1(v1), QString::fromLatin1(v2)}));
    };
    const struct {
        const char* v1;
        const char* v2;
        bool target;
        bool rider;
    } cases[] = {
        {"0", "NaN", true, false},
        {"NaN", "0", false, false},
        {"1e10", "0", false, false},
        {"0", "-inf", true, false},
        {"0", "1", true, true},
    };
    for (const auto& c : cases) {
        apply(c.v1, c.v2);
        EXPECT_EQ(bool(plots[0].GetPosition(plots)), c.target) << c.v1 << " " << c.v2;
        EXPECT_EQ(bool(plots[1].GetPosition(plots)), c.rider) << c.v1 << " " << c.v2;
    }
    // The newest record is finite but the one before was not.
    EXPECT_FALSE(plots[1].GetPreviousPosition(plots));
}

TEST(PlotMarker, NonFiniteSizeValueDrawsNoMarker)
{
    CPlotInfo p;
    p.m_size = 20;
    p.m_variableSize = 1;
    p.m_sizeStepValue = 10;
    for (const char* text : {"inf", "-inf", "NaN"}) {
        p.ResetRunState();
        p.UpdateFromRecord(Record({QString::fromLatin1(text)}));
        EXPECT_EQ(p.MarkerRadius(), 0) << text;
    }
    p.UpdateFromRecord(Record({QStringLiteral("5")}));
    EXPECT_EQ(p.MarkerRadius(), 15);
}

TEST(PlotRunState, LatestRowCountBelowOneCountsAsOff)
{
    for (const int32_t count : {0, -5, INT_MIN}) {
        CPlotInfo p;
        p.m_axisCount = 2;
        p.m_axes[0].m_latestRows = 1;
        p.m_axes[0].m_latestRowCount = count;
        p.m_axes[1].m_latestRows = 1;
        p.m_axes[1].m_latestRowCount = 3; // axis 2's count applies instead
        p.m_variableSize = 1;
        p.ResetRunState();
        for (int i = 0; i < 50; ++i)
            p.UpdateFromRecord(Record({QString::number(i), QString::number(i)}));
        EXPECT_TRUE(p.UsesLatestRows()) << count;
        EXPECT_EQ(p.m_axes[0].m_history.GetCount(), 3) << count;

        p.m_axes[1].m_latestRowCount = count;
        p.ResetRunState();
        for (int i = 0; i < 50; ++i)
            p.UpdateFromRecord(Record({QString::number(i), QString::number(i)}));
        EXPECT_FALSE(p.UsesLatestRows()) << count;
        EXPECT_EQ(p.m_axes[0].m_history.GetCount(), 1) << count;
        EXPECT_EQ(p.m_axes[1].m_history.GetCount(), 1) << count;
        EXPECT_EQ(p.m_sizeHistory.GetCount(), 1) << count;
        EXPECT_EQ(p.m_axes[0].m_latestRowCount, count);
    }
}
