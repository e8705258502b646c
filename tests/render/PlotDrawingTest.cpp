#include "model/BarInfo.h"
#include "model/PlotInfo.h"
#include "pipeline/DocData.h"
#include "render/DrawContext.h"
#include "render/ElementDrawing.h"
#include "tests/render/RenderSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

constexpr double kScale = 0.1; // design 0..1000 onto pixels 0..100
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);

CDocData Record(double v1, double v2, int row = 0)
{
    return CDocData(Apply, row, FieldRow({QStringLiteral("D"), QString::number(v1), QString::number(v2)}), nullptr);
}

// Axis 1 across the picture (FD 1, 0 .. 100), axis 2 upward (FD 2, 0 .. 100): values (a, b)
// land on pixel (a, 100 - b). Filled square markers of radius 1, red history line.
CPlotInfo TwoAxisPlot(DisplayKind kind)
{
    CPlotInfo plot;
    plot.m_displayKind = kind;
    plot.m_shape = PlotShape::Square;
    plot.m_fill = 1;
    plot.m_size = 2;
    plot.m_axisCount = 2;
    CAxisInfo& x = plot.m_axes[0];
    x.m_fdNo = 1;
    x.m_startX = 0, x.m_startY = 500, x.m_endX = 1000, x.m_endY = 500;
    x.m_startValue = 0, x.m_endValue = 100;
    CAxisInfo& y = plot.m_axes[1];
    y.m_fdNo = 2;
    y.m_startX = 500, y.m_startY = 1000, y.m_endX = 500, y.m_endY = 0;
    y.m_startValue = 0, y.m_endValue = 100;
    plot.m_historyLine.m_color = 0x0000FF;
    EXPECT_TRUE(plot.ComputeOrigin());
    plot.ResetRunState();
    return plot;
}

struct Layers
{
    QImage base = BlankLayer(110, 110);
    QImage overlay = BlankLayer(110, 110);

    // One record's worth of drawing, as the views do it while data runs.
    void Render(CPlotInfo& plot, const std::vector<CPlotInfo>& plots)
    {
        {
            CDrawContext dc(base);
            DrawIncrement(dc, plot, plots, kScale);
        }
        overlay = base.copy();
        CDrawContext dc(overlay);
        DrawPlot(dc, plot, plots, kScale);
    }
};

} // namespace

TEST(DrawPlot, HistoryPlotAccumulatesMarkersOnTheBaseLayerOnly)
{
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::History)};
    Layers layers;
    plots[0].UpdateFromRecord(Record(30, 40));
    layers.Render(plots[0], plots);
    plots[0].UpdateFromRecord(Record(70, 20));
    layers.Render(plots[0], plots);

    EXPECT_EQ(PixelsOfColor(layers.base, kBlack), 8);
    EXPECT_EQ(layers.base.pixel(30, 60), kBlack);
    EXPECT_EQ(layers.base.pixel(70, 80), kBlack);
    EXPECT_EQ(layers.overlay, layers.base); // the overlay adds nothing
}

TEST(DrawPlot, LatestPlotTrailsOnTheBaseLayerMarkerOnTheOverlay)
{
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::Latest)};
    plots[0].m_historyLine.m_show = 1;
    Layers layers;
    plots[0].UpdateFromRecord(Record(20, 50));
    layers.Render(plots[0], plots);
    plots[0].UpdateFromRecord(Record(80, 50));
    layers.Render(plots[0], plots);

    EXPECT_EQ(ColorBounds(layers.base, kRed), QRect(QPoint(20, 50), QPoint(79, 50)));
    EXPECT_EQ(PixelsOfColor(layers.base, kBlack), 0);
    EXPECT_EQ(ColorBounds(layers.overlay, kBlack), QRect(QPoint(79, 49), QPoint(80, 50)));
}

namespace {

// Axis 1 is a latest-rows axis of N rows from pixel x 10 (row 1) to 100 (row 10); axis 2
// holds the values 0 .. count-1, one per history entry, at pixel y 100 - value.
CPlotInfo LatestRowsPlot(DisplayKind kind, int count)
{
    CPlotInfo plot = TwoAxisPlot(kind);
    CAxisInfo& rows = plot.m_axes[0];
    rows.m_latestRows = 1;
    rows.m_latestRowCount = 10;
    rows.m_startX = 100;
    rows.m_startValue = 0;
    rows.m_endValue = 1;
    EXPECT_TRUE(plot.ComputeOrigin());
    plot.m_axes[0].m_history = CBuffer<double>();
    plot.m_axes[1].m_history = CBuffer<double>();
    for (int i = 0; i < count; ++i) {
        plot.m_axes[0].m_history.Add(1000.0 + i); // the FD values of a latest-rows axis are not shown
        plot.m_axes[1].m_history.Add(double(i));
    }
    plot.m_axes[0].m_value = 1000.0 + count - 1;
    plot.m_axes[0].m_prevValue = 1000.0 + count - 2;
    plot.m_axes[1].m_value = count - 1;
    plot.m_axes[1].m_prevValue = count - 2;
    plot.m_firstRecord = 0;
    return plot;
}

} // namespace

TEST(DrawPlot, LatestRowsReplayPlacesTheNewestRowsAlongTheAxis)
{
    for (const DisplayKind kind : {DisplayKind::Latest, DisplayKind::History}) {
        std::vector<CPlotInfo> plots{LatestRowsPlot(kind, 25)};
        const CPlotInfo before = plots[0];
        QImage overlay = BlankLayer(110, 110);
        {
            CDrawContext dc(overlay);
            DrawPlot(dc, plots[0], plots, kScale);
        }
        // Rows 1 .. 10 hold history values 15 .. 24.
        for (int k = 1; k <= 10; ++k) {
            const bool shown = kind == DisplayKind::History || k == 10;
            EXPECT_EQ(overlay.pixel(10 * k, 100 - (14 + k)) == kBlack, shown) << k;
        }
        EXPECT_EQ(PixelsOfColor(overlay, kBlack), kind == DisplayKind::History ? 40 : 4);

        // The temporary range and replayed values are gone again, so a second drawing is the same.
        const CAxisInfo& rows = plots[0].m_axes[0];
        EXPECT_EQ(rows.m_startValue, before.m_axes[0].m_startValue);
        EXPECT_EQ(rows.m_endValue, before.m_axes[0].m_endValue);
        EXPECT_EQ(rows.m_originValue, before.m_axes[0].m_originValue);
        EXPECT_EQ(rows.m_value, before.m_axes[0].m_value);
        EXPECT_EQ(plots[0].m_axes[1].m_prevValue, before.m_axes[1].m_prevValue);
        QImage again = BlankLayer(110, 110);
        {
            CDrawContext dc(again);
            DrawPlot(dc, plots[0], plots, kScale);
        }
        EXPECT_EQ(again, overlay);
    }
}

TEST(DrawPlot, LatestRowCountBelowOneDrawsAsAPlainPlot)
{
    // The marker of the newest values shows where it is, not on a latest-rows axis.
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::Latest)};
    plots[0].m_axes[0].m_latestRows = 1;
    plots[0].m_axes[0].m_latestRowCount = 0;
    plots[0].ResetRunState();
    Layers layers;
    for (const double v : {20.0, 40.0, 60.0}) {
        plots[0].UpdateFromRecord(Record(v, 50));
        layers.Render(plots[0], plots);
    }
    EXPECT_EQ(ColorBounds(layers.overlay, kBlack), QRect(QPoint(59, 49), QPoint(60, 50)));
    EXPECT_EQ(plots[0].m_axes[0].m_history.GetCount(), 1);
}

TEST(DrawPlot, NothingIsDrawnWithoutAPositionAndAStoppedReplayRestoresTheValues)
{
    // An automatic-range plot riding on a plot that has no record yet: the replay stops at
    // its first item and must not leave the oldest history value behind.
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::History), TwoAxisPlot(DisplayKind::History)};
    plots[0].m_id = 1;
    plots[1].m_id = 2;
    plots[1].m_originKind = OriginKind::Moving;
    plots[1].m_originPlotId = 1;
    plots[1].m_axes[0].m_autoRange = 1;
    for (CAxisInfo& a : plots[1].m_axes)
        a.m_history = CBuffer<double>(); // unbounded again, as a plot made with the flag on
    plots[1].ResetRunState();
    for (double v : {10.0, 20.0, 30.0})
        plots[1].UpdateFromRecord(Record(v, v));
    ASSERT_EQ(plots[1].m_axes[0].m_history.GetCount(), 3);

    QImage image = BlankLayer(110, 110);
    {
        CDrawContext dc(image);
        DrawPlot(dc, plots[1], plots, kScale);
        DrawIncrement(dc, plots[1], plots, kScale);
        DrawPlot(dc, plots[0], plots, kScale);
        DrawIncrement(dc, plots[0], plots, kScale);
    }
    EXPECT_EQ(CountInk(image), 0);
    for (const CAxisInfo& a : plots[1].m_axes) {
        EXPECT_EQ(a.m_value, 30.0);
        EXPECT_EQ(a.m_prevValue, 20.0);
    }
}

TEST(DrawPlot, ShorterTextHistoryIsMatchedFromTheNewestEntry)
{
    // A text display that missed records holds fewer entries than the axes: its entries
    // belong to the newest positions, and older positions get no text.
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::History)};
    CPlotInfo& plot = plots[0];
    plot.m_axes[0].m_autoRange = 1;
    plot.m_axes[0].m_history = CBuffer<double>();
    plot.m_axes[1].m_history = CBuffer<double>();
    for (double v : {10.0, 50.0, 90.0}) {
        plot.m_axes[0].m_history.Add(v);
        plot.m_axes[1].m_history.Add(50);
    }
    CTextInfo text;
    text.m_displayKind = DisplayKind::History;
    text.m_backColor = 0xFF0000;
    text.m_anchor = TextAnchor::Center;
    text.m_history.Add(QStringLiteral("x"));
    plot.m_texts = {text};
    plot.m_firstRecord = 0;

    QImage image = BlankLayer(110, 110);
    {
        CDrawContext dc(image);
        DrawPlot(dc, plot, plots, kScale);
    }
    // The automatic range puts 10 .. 90 across the axis: the newest value sits at its end.
    const QRect box = ColorBounds(image, qRgb(0, 0, 255));
    ASSERT_FALSE(box.isNull());
    EXPECT_TRUE(box.contains(QPoint(99, 50)));
    EXPECT_LT(box.width(), 30);
}

TEST(DrawPlot, NonFiniteRecordsLeaveGapsNotStreaks)
{
    // History markers and trail on the base layer: the NaN and inf records draw nothing and
    // no segment runs into or out of them.
    std::vector<CPlotInfo> plots{TwoAxisPlot(DisplayKind::History)};
    plots[0].m_historyLine.m_show = 1;
    Layers layers;
    const auto apply = [&](const char* v1, const char* v2) {
        plots[0].UpdateFromRecord(CDocData(
            Apply, 0, FieldRow({QStringLiteral("D"), QString::fromLatin1(v1), QString::fromLatin1(v2)}), nullptr));
        layers.Render(plots[0], plots);
    };
    for (const auto& [v1, v2] : {std::pair{"30", "40"}, {"NaN", "40"}, {"70", "20"}, {"90", "20"}, {"inf", "-inf"}})
        apply(v1, v2);
    // Three 2 x 2 markers, one pixel of the second painted over by the segment to the third.
    EXPECT_EQ(PixelsOfColor(layers.base, kBlack), 11);
    EXPECT_EQ(layers.base.pixel(30, 60), kBlack);
    EXPECT_EQ(layers.base.pixel(70, 79), kBlack);
    EXPECT_EQ(ColorBounds(layers.base, kRed), QRect(QPoint(70, 80), QPoint(88, 80)));
    EXPECT_EQ(InkBounds(layers.base), QRect(QPoint(29, 59), QPoint(90, 80)));

    // An automatic-range replay skips the entry and goes on after it.
    CPlotInfo& ranged = plots[0];
    ranged.m_axes[0].m_autoRange = 1;
    ranged.m_axes[0].m_history = CBuffer<double>();
    ranged.m_axes[1].m_history = CBuffer<double>();
    for (const double v : {10.0, std::nan(""), 50.0, 90.0}) {
        ranged.m_axes[0].m_history.Add(v);
        ranged.m_axes[1].m_history.Add(50);
    }
    QImage image = BlankLayer(110, 110);
    {
        CDrawContext dc(image);
        DrawPlot(dc, ranged, plots, kScale);
    }
    // 10 .. 90 across the axis (the first marker half off the layer); the trail joins only
    // 50 and 90.
    EXPECT_EQ(PixelsOfColor(image, kBlack), 10);
    EXPECT_EQ(ColorBounds(image, kRed), QRect(QPoint(51, 50), QPoint(98, 50)));
}

TEST(DrawText, TextIsPlacedAroundTheAnchorPoint)
{
    CTextInfo text;
    text.m_backColor = 0xFF0000; // blue box
    text.m_distance = 10;
    const QString value = QStringLiteral("12.5℃");
    QImage probe = BlankLayer(1, 1);
    QSize extent;
    {
        CDrawContext dc(probe);
        dc.SelectFont(text.m_font);
        extent = dc.GetTextExtent(value);
    }
    const int cx = extent.width(), cy = extent.height();
    const QPoint at(100, 60);
    const struct {
        TextAnchor anchor;
        QPoint corner;
    } cases[] = {
        {TextAnchor::TopLeft, at - QPoint(cx + 7, cy + 7)},
        {TextAnchor::MiddleLeft, at - QPoint(cx + 10, cy / 2)},
        {TextAnchor::BottomRight, at + QPoint(7, 7)},
    };
    for (const auto& c : cases) {
        text.m_anchor = c.anchor;
        QImage image = BlankLayer(200, 120);
        {
            CDrawContext dc(image);
            DrawText(dc, text, at, value);
        }
        EXPECT_EQ(InkBounds(image), QRect(c.corner, extent)) << Caption(c.anchor).toStdString();
    }
}

// The dialogs accept widths and distances up to the int32 limit; drawing clamps them to what
// the image can show instead of stroking billions of pixels.
TEST(PlotDrawing, LargestWidthsAndDistancesDrawOnASmallImage)
{
    constexpr int32_t kMax = 2147483647;
    CPlotInfo plot = TwoAxisPlot(DisplayKind::History);
    plot.m_lineWidth = kMax;
    plot.m_size = 1000;
    plot.m_historyLine.m_show = 1;
    plot.m_historyLine.m_width = kMax;
    CTextInfo text;
    text.m_fdNo = 1;
    text.m_distance = kMax;
    plot.m_texts = {text};
    CBarInfo bar;
    bar.m_line.m_width = kMax;
    bar.m_axis.m_endX = 100;
    bar.m_texts = {text};
    bar.SetOriginToStart();

    std::vector<CPlotInfo> plots{plot};
    Layers layers;
    CDrawContext dc(layers.overlay);
    for (int r = 0; r < 3; ++r)
        plots[0].UpdateFromRecord(Record(10 * r, 20 * r, r));
    DrawPlot(dc, plots[0], plots, 0.1);
    DrawEditSelected(dc, plots[0], 0.1);
    DrawEdit(dc, bar, 0.1);
    DrawEditSelected(dc, bar, 0.1);
    EXPECT_GT(CountInk(layers.overlay), 0);
}
