#include "model/AxisInfo.h"
#include "model/BarInfo.h"
#include "model/PlotInfo.h"
#include "render/DrawContext.h"
#include "render/ElementDrawing.h"
#include "tests/render/RenderSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

template <typename Draw>
QImage Drawn(int w, int h, Draw draw)
{
    QImage image = BlankLayer(w, h);
    CDrawContext dc(image);
    draw(dc);
    return image;
}

CLineInfo Line(int32_t width, LineStyle style = LineStyle::Solid)
{
    CLineInfo line;
    line.m_show = 1;
    line.m_width = width;
    line.m_style = style;
    return line;
}

} // namespace

TEST(DrawSegment, ThickHorizontalAndVerticalSegmentsFillTheirRectangle)
{
    const QImage horizontal =
        Drawn(120, 60, [](CDrawContext& dc) { DrawSegment(dc, Line(5), QPoint(10, 50), QPoint(110, 50)); });
    EXPECT_EQ(InkBounds(horizontal), QRect(QPoint(10, 48), QPoint(109, 51)));
    EXPECT_EQ(CountInk(horizontal), 100 * 4);

    const QImage upward =
        Drawn(60, 120, [](CDrawContext& dc) { DrawSegment(dc, Line(5), QPoint(50, 110), QPoint(50, 10)); });
    EXPECT_EQ(InkBounds(upward), QRect(QPoint(48, 10), QPoint(51, 109)));
}

TEST(DrawSegment, WidthTwoKeepsItsDashesWidthThreeIsSolid)
{
    auto columnsWithInk = [](int32_t width) {
        const QImage image = Drawn(60, 12, [&](CDrawContext& dc) {
            DrawSegment(dc, Line(width, LineStyle::Dash), QPoint(0, 6), QPoint(60, 6));
        });
        int columns = 0;
        for (int x = 0; x < 60; ++x) {
            bool ink = false;
            for (int y = 0; y < 12; ++y)
                ink = ink || image.pixel(x, y) != qRgb(255, 255, 255);
            columns += ink;
        }
        return columns;
    };
    EXPECT_EQ(columnsWithInk(1), 18 + 18 + 12);
    EXPECT_EQ(columnsWithInk(2), 18 + 18 + 12);
    EXPECT_EQ(columnsWithInk(3), 60);
}

TEST(DrawSegment, AbsurdWidthsKeepSquareEnds)
{
    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();
    // Filled shapes with square ends: right and bottom ends are exclusive, a short segment
    // is a short band however wide.
    const struct {
        QLine line;
        int ink;
    } cases[] = {{QLine(0, 10, 19, 10), 19 * 20}, {QLine(3, 0, 3, 19), 19 * 20}, {QLine(min, min, max, max), 400}};
    for (const auto& c : cases) {
        const QImage image = Drawn(20, 20, [&](CDrawContext& dc) { DrawSegment(dc, Line(max), c.line.p1(), c.line.p2()); });
        EXPECT_EQ(CountInk(image), c.ink) << c.line.x1() << "," << c.line.y1();
    }
    const QImage band = Drawn(20, 20, [&](CDrawContext& dc) { DrawSegment(dc, Line(max), QPoint(0, 0), QPoint(5, 7)); });
    EXPECT_GT(CountInk(band), 0);
    EXPECT_LT(CountInk(band), 400);
}

TEST(DrawMarker, EveryShapeFilledAndOutlined)
{
    // Marker of radius 3 at (5, 5); rows 2 to 8 of an 11-pixel square.
    const struct {
        PlotShape shape;
        bool fill;
        QStringList rows;
    } cases[] = {
        {PlotShape::Circle, true, {"...####....", "..######...", "..######...", "..######...", "..######...", "...####....", "..........."}},
        {PlotShape::Circle, false, {"...####....", "..#....#...", "..#....#...", "..#....#...", "..#....#...", "...####....", "..........."}},
        {PlotShape::Square, true, {"..######...", "..######...", "..######...", "..######...", "..######...", "..######...", "..........."}},
        {PlotShape::Square, false, {"..######...", "..#....#...", "..#....#...", "..#....#...", "..#....#...", "..######...", "..........."}},
        {PlotShape::Diamond, true, {"...........", "....##.....", "...####....", "..######...", "...####....", "....##.....", "..........."}},
        {PlotShape::Diamond, false, {".....#.....", "....#.#....", "...#...#...", "..#.....#..", "...#...#...", "....#.#....", ".....#....."}},
        {PlotShape::TriangleUp, true, {"...........", ".....#.....", "....##.....", "....###....", "...####....", "...#####...", "..........."}},
        {PlotShape::TriangleUp, false, {".....#.....", "....##.....", "....#.#....", "...#..#....", "...#...#...", "..#....#...", "..#######.."}},
        {PlotShape::TriangleDown, true, {"..######...", "...#####...", "...####....", "....###....", "....##.....", ".....#.....", "..........."}},
        {PlotShape::TriangleDown, false, {"..#######..", "...#....#..", "...#...#...", "....#..#...", "....#.#....", ".....##....", ".....#....."}},
        {PlotShape::Cross, true, {"..#........", "...#...#...", "....#.#....", ".....#.....", "....#.#....", "...#...#...", "..#........"}},
        {PlotShape::Cross, false, {"..#........", "...#...#...", "....#.#....", ".....#.....", "....#.#....", "...#...#...", "..#........"}},
        {PlotShape::Plus, true, {".....#.....", ".....#.....", ".....#.....", "..######...", ".....#.....", ".....#.....", "..........."}},
        {PlotShape::Plus, false, {".....#.....", ".....#.....", ".....#.....", "..######...", ".....#.....", ".....#.....", "..........."}},
    };
    for (const auto& c : cases) {
        CPlotInfo plot;
        plot.m_shape = c.shape;
        plot.m_fill = c.fill;
        const QImage image = Drawn(11, 11, [&](CDrawContext& dc) { DrawMarker(dc, plot, QPoint(5, 5), 3); });
        EXPECT_EQ(Art(image, QRect(0, 2, 11, 7)), c.rows) << Caption(c.shape).toStdString() << " fill " << c.fill;
        EXPECT_EQ(Art(image, QRect(0, 0, 11, 2)), QStringList({"...........", "..........."}));
        EXPECT_EQ(Art(image, QRect(0, 9, 11, 2)), QStringList({"...........", "..........."}));
    }
}

TEST(DrawMarker, FilledSquareHasNoOutlineOutlinedOneTakesTheLineWidth)
{
    CPlotInfo plot;
    plot.m_shape = PlotShape::Square;
    plot.m_fill = 1;
    plot.m_lineWidth = 3;
    const QImage filled = Drawn(200, 200, [&](CDrawContext& dc) { DrawMarker(dc, plot, QPoint(100, 100), 5); });
    EXPECT_EQ(InkBounds(filled), QRect(QPoint(95, 95), QPoint(104, 104)));
    EXPECT_EQ(CountInk(filled), 100);

    plot.m_fill = 0;
    const QImage outlined = Drawn(200, 200, [&](CDrawContext& dc) { DrawMarker(dc, plot, QPoint(100, 100), 5); });
    int leftEdge = 0;
    for (int x = 90; x < 100; ++x)
        leftEdge += outlined.pixel(x, 100) != qRgb(255, 255, 255);
    EXPECT_EQ(leftEdge, 3);
    EXPECT_EQ(outlined.pixel(100, 100), qRgb(255, 255, 255));
}

TEST(DrawMarker, SmallRadiiUnknownShapesAndExtremesAreSafe)
{
    CPlotInfo plot;
    plot.m_fill = 1;
    for (int32_t r : {0, -5, std::numeric_limits<int32_t>::min()})
        EXPECT_EQ(CountInk(Drawn(20, 20, [&](CDrawContext& dc) { DrawMarker(dc, plot, QPoint(10, 10), r); })), 0);
    plot.m_shape = static_cast<PlotShape>(7);
    EXPECT_EQ(CountInk(Drawn(20, 20, [&](CDrawContext& dc) { DrawMarker(dc, plot, QPoint(10, 10), 5); })), 0);

    const int max = std::numeric_limits<int>::max();
    for (int shape = 0; shape < 7; ++shape) {
        for (int fill : {0, 1}) {
            plot.m_shape = static_cast<PlotShape>(shape);
            plot.m_fill = fill;
            plot.m_lineWidth = max;
            Drawn(30, 30, [&](CDrawContext& dc) {
                DrawMarker(dc, plot, QPoint(15, 15), max);
                DrawMarker(dc, plot, QPoint(std::numeric_limits<int>::min(), max), max);
            });
        }
    }
}

namespace {

CAxisInfo TickedAxis(TickSide side)
{
    CAxisInfo axis;
    axis.m_startX = 20;
    axis.m_startY = 50;
    axis.m_endX = 80;
    axis.m_endY = 50;
    axis.m_originX = 20;
    axis.m_originY = 50;
    axis.m_showAxisLine = 1;
    axis.m_showTicks = 1;
    axis.m_tickDivisions = 2;
    axis.m_tickLine.m_length = 10;
    axis.m_tickSide = side;
    return axis;
}

bool Ink(const QImage& image, int x, int y)
{
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

} // namespace

TEST(DrawAxis, TicksExtendToTheirSide)
{
    // Ticks at x = 20, 50 and 80 of a left-to-right axis on row 50.
    const QImage upper = Drawn(100, 100, [](CDrawContext& dc) { DrawAxis(dc, TickedAxis(TickSide::UpperLeft), 1.0); });
    EXPECT_TRUE(Ink(upper, 50, 40) && Ink(upper, 50, 49));
    EXPECT_FALSE(Ink(upper, 50, 39) || Ink(upper, 50, 51));
    EXPECT_TRUE(Ink(upper, 80, 45)); // the end tick although the axis line stops short of it

    const QImage lower = Drawn(100, 100, [](CDrawContext& dc) { DrawAxis(dc, TickedAxis(TickSide::LowerRight), 1.0); });
    EXPECT_TRUE(Ink(lower, 50, 50) && Ink(lower, 50, 59));
    EXPECT_FALSE(Ink(lower, 50, 49) || Ink(lower, 50, 60));

    const QImage both = Drawn(100, 100, [](CDrawContext& dc) { DrawAxis(dc, TickedAxis(TickSide::Both), 1.0); });
    EXPECT_TRUE(Ink(both, 50, 46) && Ink(both, 50, 55));
    EXPECT_FALSE(Ink(both, 50, 45) || Ink(both, 50, 56));

    CAxisInfo hidden = TickedAxis(TickSide::Both);
    hidden.m_showAxisLine = 0;
    hidden.m_showLabels = 1;
    hidden.m_showSubTicks = 1;
    EXPECT_EQ(CountInk(Drawn(100, 100, [&](CDrawContext& dc) { DrawAxis(dc, hidden, 1.0); })), 0);
}

TEST(DrawArrow, BarEditArrowIsXoredOntoThePicture)
{
    CBarInfo bar;
    bar.m_axis.m_startX = 10;
    bar.m_axis.m_startY = 80;
    bar.m_axis.m_endX = 90;
    bar.m_axis.m_endY = 80;
    bar.m_line.m_color = 0x0000FF;
    const QRgb ground = qRgb(0x40, 0x80, 0xC0);
    const QRgb xored = qRgb(0x40 ^ 0xFF, 0x80, 0xC0);

    QImage image = BlankLayer(100, 100);
    image.fill(ground);
    {
        CDrawContext dc(image);
        DrawEdit(dc, bar, 1.0);
    }
    EXPECT_EQ(image.pixel(60, 80), xored);
    EXPECT_EQ(image.pixel(85, 75), xored); // upper head stroke (83, 73) -> (90, 80)
    EXPECT_EQ(image.pixel(85, 85), xored); // lower head stroke (83, 87) -> (90, 80)
    EXPECT_EQ(image.pixel(90, 80), ground);
    {
        CDrawContext dc(image);
        DrawEdit(dc, bar, 1.0);
    }
    EXPECT_EQ(image.pixel(60, 80), ground);
    EXPECT_EQ(image.pixel(85, 75), ground);
}
