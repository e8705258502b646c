#include "forms/PlotEditForm.h"
#include "model/PlotInfo.h"

#include "tests/support/TestSupport.h"

#include <vector>

namespace {

CPlotInfo Plot(int32_t id)
{
    CPlotInfo plot;
    plot.m_id = id;
    plot.m_comment = QStringLiteral("old");
    return plot;
}

// The plot's fields with axis 2 enabled and the given geometry, size 33 and a new comment.
CPlotEditValues Values(const CPlotInfo& plot, std::array<double, 8> geometry)
{
    CPlotEditValues v = PlotEditValuesOf(plot);
    for (size_t a = 0; a < 2; ++a) {
        const double* g = &geometry[a * 4];
        v.axes[a].startX = g[0], v.axes[a].startY = g[1], v.axes[a].endX = g[2], v.axes[a].endY = g[3];
    }
    v.axis2Enabled = true;
    v.size = 33;
    v.comment = QStringLiteral("new");
    return v;
}

constexpr std::array<double, 8> kCrossing{100, 500, 900, 500, 100, 900, 100, 100};

} // namespace

TEST(PlotEditForm, AnotherPlotsIdIsRefusedAndTheOwnIdKept)
{
    std::vector<CPlotInfo> plots{Plot(3), Plot(7), Plot(12)};
    for (const auto& [id, ok] : {std::pair{12, false}, {3, false}, {7, true}, {8, true}}) {
        CPlotEditValues v = Values(plots[1], kCrossing);
        v.id = id;
        const CPlotEditOutcome out = ApplyPlotEdit(plots, 1, v);
        EXPECT_EQ(out.ok, ok) << id;
        EXPECT_EQ(out.message, ok ? QString() : QStringLiteral("IDが重複しています.")) << id;
        EXPECT_EQ(out.focus, ok ? 0 : PlotEditControl::Id) << id;
        EXPECT_EQ(plots[1].m_size, ok ? 33 : 10) << id;
    }
}

TEST(PlotEditForm, AxisChecksLookAtTheStoredAxes)
{
    const QString both = QStringLiteral("２軸ともに最新行表示には出来ません.");
    const QString moving = QStringLiteral("軸に「自動範囲設定」または「最新行表示」がある時、原点移動は選択できません.");
    struct Case
    {
        const char* name;
        int32_t storedCount, latest1, latest2, auto1, auto2;
        bool axis2Enabled;
        OriginKind origin;
        QString message; // empty: accepted
        int focus;
    };
    const Case cases[] = {
        {"both latest rows", 2, 1, 1, 0, 0, true, OriginKind::Fixed, both, PlotEditControl::Axis2Others},
        {"both latest rows, axis 2 off", 2, 1, 1, 0, 0, false, OriginKind::Fixed, {}, 0},
        {"moving, axis 1 auto range", 1, 0, 0, 1, 0, false, OriginKind::Moving, moving, PlotEditControl::Moving},
        {"moving, one stored axis, axis 2 auto range", 1, 0, 0, 0, 1, true, OriginKind::Moving, {}, 0},
        {"moving, two stored axes, axis 2 latest rows", 2, 0, 1, 0, 0, false, OriginKind::Moving, moving,
         PlotEditControl::Moving},
        {"fixed with auto range", 2, 0, 0, 1, 1, true, OriginKind::Fixed, {}, 0},
    };
    for (const Case& c : cases) {
        std::vector<CPlotInfo> plots{Plot(1), Plot(2)};
        CPlotInfo& plot = plots[0];
        plot.m_axisCount = c.storedCount;
        plot.m_axes[0].m_latestRows = c.latest1;
        plot.m_axes[1].m_latestRows = c.latest2;
        plot.m_axes[0].m_autoRange = c.auto1;
        plot.m_axes[1].m_autoRange = c.auto2;
        CPlotEditValues v = Values(plot, kCrossing);
        v.axis2Enabled = c.axis2Enabled;
        v.originKind = c.origin;
        v.originPlotId = 2;
        const CPlotEditOutcome out = ApplyPlotEdit(plots, 0, v);
        EXPECT_EQ(out.message, c.message) << c.name;
        EXPECT_EQ(out.title, c.message.isEmpty() ? QString() : QStringLiteral("軸チェック")) << c.name;
        EXPECT_EQ(out.focus, c.focus) << c.name;
        EXPECT_EQ(plot.m_size, out.ok ? 33 : 10) << c.name;
        EXPECT_EQ(plot.m_axisCount, out.ok ? (c.axis2Enabled ? 2 : 1) : c.storedCount) << c.name;
    }
}

TEST(PlotEditForm, AxesThatDoNotCrossKeepTheFieldsButNotTheComment)
{
    struct Case
    {
        const char* name;
        std::array<double, 8> geometry;
        bool axis2Enabled;
        bool ok;
        double originX, originY;
    };
    const Case cases[] = {
        {"parallel", {100, 500, 900, 500, 100, 600, 900, 600}, true, false, 100, 500},
        {"zero length", {100, 500, 900, 500, 300, 300, 300, 300}, true, false, 100, 500},
        {"meet only when extended", {100, 500, 200, 500, 500, 900, 500, 800}, true, true, 500, 500},
        {"parallel, axis 2 off", {100, 500, 900, 500, 100, 600, 900, 600}, false, true, 100, 500},
    };
    for (const Case& c : cases) {
        std::vector<CPlotInfo> plots{Plot(1)};
        CPlotEditValues v = Values(plots[0], c.geometry);
        v.axis2Enabled = c.axis2Enabled;
        const CPlotEditOutcome out = ApplyPlotEdit(plots, 0, v);
        EXPECT_EQ(out.ok, c.ok) << c.name;
        EXPECT_EQ(out.message, c.ok ? QString() : QStringLiteral("２軸が交差しません.")) << c.name;
        EXPECT_EQ(out.title, c.ok ? QString() : QStringLiteral("軸交差チェック")) << c.name;
        EXPECT_EQ(out.focus, c.ok ? 0 : PlotEditControl::Axis2StartX) << c.name;
        const CPlotInfo& plot = plots[0];
        EXPECT_EQ(plot.m_size, 33) << c.name;
        EXPECT_EQ(plot.m_axisCount, c.axis2Enabled ? 2 : 1) << c.name;
        EXPECT_EQ(plot.m_axes[1].m_endY, c.geometry[7]) << c.name;
        EXPECT_EQ(plot.m_comment, c.ok ? QStringLiteral("new") : QStringLiteral("old")) << c.name;
        EXPECT_EQ(QPointF(plot.m_axes[0].m_originX, plot.m_axes[0].m_originY), QPointF(c.originX, c.originY))
            << c.name;
    }
}
