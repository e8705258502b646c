#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/DocData.h"
#include "render/DrawContext.h"
#include "render/LayerContent.h"
#include "tests/render/RenderSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr double kScale = 0.1;

// One colour per element, so that each layer can be searched for it.
constexpr COLORREF kHistoryPlot = 0x000080, kLatestPlot = 0x008000, kHistoryConnect = 0x800000,
                   kLatestConnect = 0x008080, kBar = 0x800080, kWorkPlot0 = 0x0000C0, kWorkPlot1 = 0x00C000,
                   kWorkConnect = 0xC00000, kWorkBar0 = 0xC000C0, kWorkBar1 = 0x00C0C0;
constexpr COLORREF kYellow = 0x00FFFF; // behind the selected element's ID

QRgb Rgb(COLORREF c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// A plot with one horizontal axis on row y (design), FD 1 moving it from x 100 to 900.
CPlotInfo Plot(int32_t id, DisplayKind kind, COLORREF color, double y)
{
    CPlotInfo plot;
    plot.m_id = id;
    plot.m_displayKind = kind;
    plot.m_shape = PlotShape::Square;
    plot.m_fill = 1;
    plot.m_size = 10;
    plot.m_color = color;
    CAxisInfo& a = plot.m_axes[0];
    a.m_fdNo = 1;
    a.m_startX = 100, a.m_startY = y, a.m_endX = 900, a.m_endY = y;
    a.m_startValue = 0, a.m_endValue = 100;
    plot.ComputeOrigin();
    plot.ResetRunState();
    return plot;
}

CBarInfo Bar(int32_t id, COLORREF color, double y)
{
    CBarInfo bar;
    bar.m_id = id;
    bar.m_anchor = BarAnchor::Start;
    bar.m_initialValue = 50;
    bar.m_line.m_color = color;
    bar.m_line.m_width = 3;
    CAxisInfo& a = bar.m_axis;
    a.m_fdNo = 1;
    a.m_startX = 100, a.m_startY = y, a.m_endX = 900, a.m_endY = y;
    a.m_startValue = 0, a.m_endValue = 100;
    bar.SetOriginToStart();
    bar.ResetRunState();
    return bar;
}

CConnectInfo Connect(DisplayKind kind, COLORREF color)
{
    CConnectInfo c;
    c.m_displayKind = kind;
    c.m_plotIds = {1, 2};
    c.m_line.m_color = color;
    return c;
}

class LayerContent : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.m_plots = {Plot(1, DisplayKind::History, kHistoryPlot, 200), Plot(2, DisplayKind::Latest, kLatestPlot, 600)};
        m_doc.m_connects = {Connect(DisplayKind::History, kHistoryConnect), Connect(DisplayKind::Latest, kLatestConnect)};
        m_doc.m_bars = {Bar(1, kBar, 900)};
        const CDocData record(Apply, 0, FieldRow({QStringLiteral("D"), QStringLiteral("40")}), nullptr);
        for (CPlotInfo& p : m_doc.m_plots)
            p.UpdateFromRecord(record);
        for (CBarInfo& b : m_doc.m_bars)
            b.UpdateFromRecord(record);

        m_doc.m_workPlots = {Plot(3, DisplayKind::Latest, kWorkPlot0, 300), Plot(4, DisplayKind::Latest, kWorkPlot1, 700)};
        m_doc.m_workConnects = {Connect(DisplayKind::Latest, kWorkConnect)};
        m_doc.m_workBars = {Bar(5, kWorkBar0, 300), Bar(6, kWorkBar1, 700)};
    }

    void Render(int32_t mode, int32_t selected)
    {
        m_doc.m_editMode = mode;
        m_doc.m_selectedIndex = selected;
        m_base = BlankLayer(100, 100);
        {
            CDrawContext dc(m_base);
            DrawBaseElements(dc, m_doc, kScale);
        }
        m_overlay = BlankLayer(100, 100);
        CopyLayer(m_base, m_overlay);
        CDrawContext dc(m_overlay);
        DrawOverlayElements(dc, m_doc, kScale);
    }

    // Colours present on the base layer, and those the overlay adds to it.
    bool OnBase(COLORREF c) const { return PixelsOfColor(m_base, Rgb(c)) > 0; }
    bool AddedByOverlay(COLORREF c) const { return PixelsOfColor(m_overlay, Rgb(c)) > PixelsOfColor(m_base, Rgb(c)); }

    CVantrelDoc m_doc;
    QImage m_base;
    QImage m_overlay;
};

} // namespace

TEST_F(LayerContent, RunningSplitsHistoryFromCurrentState)
{
    Render(EditMode::Running, -1);
    EXPECT_TRUE(OnBase(kHistoryPlot));
    EXPECT_TRUE(OnBase(kHistoryConnect));
    EXPECT_FALSE(OnBase(kLatestPlot) || OnBase(kLatestConnect) || OnBase(kBar));

    EXPECT_TRUE(AddedByOverlay(kLatestPlot));
    EXPECT_TRUE(AddedByOverlay(kLatestConnect));
    EXPECT_TRUE(AddedByOverlay(kBar));
    EXPECT_FALSE(AddedByOverlay(kHistoryPlot) || AddedByOverlay(kHistoryConnect));
    EXPECT_FALSE(OnBase(kWorkPlot0) || AddedByOverlay(kWorkPlot0));
}

TEST_F(LayerContent, IdleDrawsNothing)
{
    Render(EditMode::None, 0);
    EXPECT_EQ(CountInk(m_base), 0);
    EXPECT_EQ(CountInk(m_overlay), 0);
}

TEST_F(LayerContent, PlotDialogsShowWorkingPlotsWithTheSelectionOnTop)
{
    Render(2 /* PlotList */, 1);
    EXPECT_TRUE(OnBase(kWorkPlot0) && OnBase(kWorkPlot1));
    EXPECT_TRUE(AddedByOverlay(kYellow));
    EXPECT_FALSE(OnBase(kHistoryPlot) || OnBase(kLatestPlot));

    for (int32_t mode : {3 /* PlotAdd */, 4 /* PlotChange */}) {
        Render(mode, 1);
        EXPECT_TRUE(OnBase(kWorkPlot0));
        EXPECT_FALSE(OnBase(kWorkPlot1));
        EXPECT_TRUE(AddedByOverlay(kWorkPlot1));
        EXPECT_FALSE(AddedByOverlay(kWorkPlot0));
    }

    for (int32_t selected : {-1, 7}) { // none, and an index the list does not hold
        Render(4, selected);
        EXPECT_TRUE(OnBase(kWorkPlot0) && OnBase(kWorkPlot1));
        EXPECT_EQ(m_overlay, m_base);
    }
}

TEST_F(LayerContent, ConnectionDialogsShowCommittedPlotsWithoutArrows)
{
    for (int32_t mode : {5, 6, 7}) {
        Render(mode, 0);
        EXPECT_TRUE(OnBase(kHistoryPlot) && OnBase(kLatestPlot));
        // Markers at the axis start (x 10); an arrow would run on to x 90.
        EXPECT_EQ(m_base.pixel(60, 20), qRgb(255, 255, 255));
        EXPECT_TRUE(AddedByOverlay(kWorkConnect));
        EXPECT_FALSE(OnBase(kWorkPlot0));
    }
}

TEST_F(LayerContent, BarDialogsShowWorkingBarsWithTheSelectionOnTop)
{
    Render(8 /* BarList */, 0);
    EXPECT_TRUE(OnBase(kWorkBar0) && OnBase(kWorkBar1));
    EXPECT_TRUE(AddedByOverlay(kYellow));

    for (int32_t mode : {9 /* BarAdd */, 10 /* BarChange */}) {
        Render(mode, 0);
        EXPECT_FALSE(OnBase(kWorkBar0));
        EXPECT_TRUE(OnBase(kWorkBar1));
        // The selected bar's own colour is mostly XORed away by its arrow; its ID shows it.
        EXPECT_TRUE(AddedByOverlay(kYellow));
        EXPECT_FALSE(OnBase(kBar));
    }
}
