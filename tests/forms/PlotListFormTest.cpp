#include "forms/PlotListForm.h"
#include "model/PlotInfo.h"

#include "tests/support/TestSupport.h"

#include <QLineF>
#include <QPointF>

#include <limits>
#include <vector>

using namespace PlotListForm;

namespace {

CPlotInfo Plot(int32_t id, OriginKind kind = OriginKind::Fixed, int32_t target = 0)
{
    CPlotInfo p;
    p.m_id = id;
    p.m_originKind = kind;
    p.m_originPlotId = target;
    return p;
}

void SetLine(CAxisInfo& a, double sx, double sy, double ex, double ey)
{
    a.m_startX = sx;
    a.m_startY = sy;
    a.m_endX = ex;
    a.m_endY = ey;
}

} // namespace

TEST(PlotListForm, HeadersAndTheCellsOfAPlotWithEveryOptionSet)
{
    const QStringList headers = Headers();
    ASSERT_EQ(headers.size(), 12);
    EXPECT_EQ(headers[0], QStringLiteral(" ID "));
    EXPECT_EQ(headers[3], QStringLiteral("軸1基本属性") + QString(7, QChar(0x3000)));
    EXPECT_EQ(headers[9], QStringLiteral("コメント") + QString(3, QChar(0x3000)));

    CPlotInfo p = Plot(12, OriginKind::Moving, 4);
    p.m_displayKind = DisplayKind::History;
    p.m_axisCount = 2;
    CAxisInfo& a1 = p.m_axes[0];
    a1.m_fdNo = 3;
    a1.m_startValue = -1.5;
    a1.m_endValue = 1234567;
    a1.m_multiplier = 0.001;
    a1.m_adder = 2.5;
    a1.m_valueKind = ValueKind::Max;
    a1.m_autoRange = 1;
    a1.m_latestRows = 1;
    a1.m_latestRowCount = 20;
    a1.m_logScale = 1;
    CAxisInfo& a2 = p.m_axes[1];
    a2.m_fdNo = 4;
    a2.m_logicalKind = LogicalKind::DateTime;
    a2.m_valueKind = ValueKind::Min;
    p.m_historyLine.m_show = 1;
    p.m_variableSize = 1;
    p.m_sizeFdNo = 7;
    p.m_sizeBaseValue = 0.5;
    p.m_sizeStepValue = -2;
    p.m_sizeValueKind = ValueKind::Min;
    p.m_comment = QStringLiteral("右腕 %1");
    p.m_includePrefixes = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    p.m_ignorePrefixes = {QString()};

    EXPECT_EQ(RowTexts(p), QStringList({
                               QStringLiteral("12"),
                               QStringLiteral("履歴表示"),
                               QStringLiteral("移動:対象ID4"),
                               QStringLiteral("FD番号3,論理値-1.5から1.23457e+06"),
                               QStringLiteral("数値(*0.001+2.5), 最大値, 自動範囲設定最新20行表示, 対数軸"),
                               QStringLiteral("FD番号4,論理値0から1"),
                               QStringLiteral("日時, 最小値"),
                               QStringLiteral("有り"),
                               QStringLiteral("可変:FD番号7:初期論理値0.5:半径変化論理値-2:最小値"),
                               QStringLiteral("右腕 %1"),
                               QStringLiteral("\"a\",\"b\",\"c\""),
                               QStringLiteral("\"\""),
                           }));
}

TEST(PlotListForm, OtherEnumerationValuesAndEmptyItems)
{
    CPlotInfo p; // one axis, fixed, no prefixes
    p.m_axes[0].m_logicalKind = static_cast<LogicalKind>(9);
    p.m_axes[0].m_valueKind = ValueKind::String;
    EXPECT_EQ(RowTexts(p).mid(1), QStringList({QStringLiteral("最新表示"), QStringLiteral("原点固定"),
                                               QStringLiteral("FD番号0,論理値0から1"), QString(), QStringLiteral("---"),
                                               QStringLiteral("---"), QStringLiteral("無し"), QStringLiteral("固定"),
                                               QString(), QString(), QString()}));
    p.m_axes[1].m_logicalKind = LogicalKind::InputCount;
    EXPECT_EQ(AxisOtherText(p.m_axes[1]), QStringLiteral("入力数, 瞬時値"));
    p.m_variableSize = 1;
    p.m_sizeValueKind = static_cast<ValueKind>(-1);
    EXPECT_EQ(SizeText(p), QStringLiteral("可変:FD番号0:初期論理値0:半径変化論理値1:???"));
}

TEST(PlotListForm, AddCopiesTheSelectedPlotWithANewIdMovedBy50)
{
    std::vector<CPlotInfo> none;
    ASSERT_EQ(AddPlot(none, -1), 0);
    EXPECT_EQ(none[0].m_id, 0);
    for (const CAxisInfo& a : none[0].m_axes)
        EXPECT_EQ(QLineF(a.m_startX, a.m_startY, a.m_endX, a.m_endY), QLineF(150, 150, 250, 250));

    std::vector<CPlotInfo> plots{Plot(3), Plot(7), Plot(12)};
    plots[1].m_comment = QStringLiteral("七");
    plots[1].m_axisCount = 2;
    SetLine(plots[1].m_axes[0], 100, 500, 900, 500);
    SetLine(plots[1].m_axes[1], 100, 900, 100, 100);
    ASSERT_EQ(AddPlot(plots, 1), 3);
    EXPECT_EQ(plots[3].m_id, 13);
    EXPECT_EQ(plots[3].m_comment, QStringLiteral("七"));
    const CAxisInfo& c2 = plots[3].m_axes[1];
    EXPECT_EQ(QPointF(c2.m_originX, c2.m_originY), QPointF(150, 550));

    // Parallel axes get a right angle at the shifted start S of axis 1.
    plots[0].m_axisCount = 2;
    SetLine(plots[0].m_axes[0], 10, 20, 30, 20);
    SetLine(plots[0].m_axes[1], 10, 40, 30, 40);
    ASSERT_EQ(AddPlot(plots, 0), 4);
    const CAxisInfo& f1 = plots[4].m_axes[0];
    const CAxisInfo& f2 = plots[4].m_axes[1];
    EXPECT_EQ(QLineF(f1.m_startX, f1.m_startY, f1.m_endX, f1.m_endY), QLineF(60, 70, 160, 170));
    EXPECT_EQ(QLineF(f2.m_startX, f2.m_startY, f2.m_endX, f2.m_endY), QLineF(60, 70, 160, -30));
    EXPECT_EQ(QPointF(f1.m_originX, f1.m_originY), QPointF(60, 70));

    // No ID above the int32 range: the smallest free one keeps IDs unique.
    EXPECT_EQ(NextPlotId({Plot(std::numeric_limits<int32_t>::max()), Plot(0), Plot(1), Plot(3)}), 2);
}

TEST(PlotListForm, OriginChainCheckNamesTheFirstFailingPlot)
{
    const auto moving = [](int32_t id, int32_t target) { return Plot(id, OriginKind::Moving, target); };
    CPlotInfo autoRange = Plot(9);
    autoRange.m_axes[0].m_autoRange = 1;
    CPlotInfo latestOnUnusedAxis = Plot(9);
    latestOnUnusedAxis.m_axes[1].m_latestRows = 1;

    struct Case
    {
        const char* name;
        std::vector<CPlotInfo> plots;
        int failing;
    };
    const Case cases[] = {
        {"all fixed", {Plot(1), Plot(2)}, -1},
        {"self target", {Plot(1), moving(2, 2)}, 1},
        {"missing target", {moving(1, 5), Plot(2)}, 0},
        {"mutual targets", {Plot(1), moving(2, 3), moving(3, 2)}, 1},
        {"chain reaches an auto-range axis", {moving(1, 2), moving(2, 9), autoRange}, 0},
        {"long chain ending at a fixed plot", {moving(1, 2), moving(2, 3), moving(3, 4), moving(4, 9), latestOnUnusedAxis}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstFailingOriginChain(c.plots), c.failing) << c.name;

    EXPECT_EQ(OriginChainMessage(13), QStringLiteral("ID13プロット情報の原点移動が無限ループか、\n対象プロット情報が存在しないか、\n"
                                                     "「自動範囲設定」または「最新行表示」が含まれています."));
}
