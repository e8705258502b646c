#include "model/TextInfo.h"
#include "render/Damage.h"
#include "render/DrawContext.h"
#include "render/FontMapping.h"
#include "render/DrawCache.h"
#include "tests/render/RenderSupport.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

QImage Draw(int w, int h, const std::function<void(CDrawContext&)>& draw)
{
    QImage image = BlankLayer(w, h);
    CDrawContext dc(image);
    draw(dc);
    return image;
}

} // namespace

TEST(DrawContext, LineToLeavesEndPixelUnsetInEveryDirection)
{
    const QPoint centre(6, 6);
    for (const QPoint end : {QPoint(11, 6), QPoint(1, 6), QPoint(6, 11), QPoint(6, 1), QPoint(11, 11),
                             QPoint(1, 1), QPoint(11, 1), QPoint(1, 11), QPoint(11, 8)}) {
        const QImage image = Draw(13, 13, [&](CDrawContext& dc) {
            dc.MoveTo(centre);
            dc.LineTo(end);
        });
        EXPECT_NE(image.pixel(centre), qRgb(255, 255, 255)) << end.x() << "," << end.y();
        EXPECT_EQ(image.pixel(end), qRgb(255, 255, 255)) << end.x() << "," << end.y();
        EXPECT_EQ(CountInk(image), 5) << end.x() << "," << end.y();
    }
}

TEST(DrawContext, OnePixelLinesFollowTheirHandDrawnPixels)
{
    const QImage image = Draw(9, 5, [](CDrawContext& dc) {
        dc.MoveTo(0, 0);
        dc.LineTo(8, 2); // shallow: the row changes halfway through each step
        dc.MoveTo(8, 4);
        dc.LineTo(4, 4); // leftward: starts at its own start pixel
    });
    EXPECT_EQ(Art(image), QStringList({"##.......", "..####...", "......##.", ".........", ".....####"}));
}

TEST(DrawContext, DashedStylesKeepTheirPatternOnThinPens)
{
    auto row = [](int32_t style) {
        const QImage image = Draw(40, 1, [&](CDrawContext& dc) {
            dc.SelectPen(CDcPen{style, 1, 0});
            dc.MoveTo(0, 0);
            dc.LineTo(40, 0);
        });
        return Art(image).front();
    };
    EXPECT_EQ(row(PS_DASH), "##################......################");
    EXPECT_EQ(row(PS_DOT), "###...###...###...###...###...###...###.");
    EXPECT_EQ(row(PS_DASHDOT), "#########......###......#########......#");
    EXPECT_EQ(row(PS_DASHDOTDOT), "#########...###...###...#########...###.");
    EXPECT_EQ(row(PS_NULL), "........................................");
}

TEST(DrawContext, FillSolidRectExcludesRightAndBottomWhateverTheCornerOrder)
{
    const QStringList expected{"......", ".###..", ".###..", "......"};
    EXPECT_EQ(Art(Draw(6, 4, [](CDrawContext& dc) { dc.FillSolidRect(1, 1, 4, 3, 0); })), expected);
    EXPECT_EQ(Art(Draw(6, 4, [](CDrawContext& dc) { dc.FillSolidRect(4, 3, 1, 1, 0); })), expected);
    // The mix mode does not apply to solid fills.
    EXPECT_EQ(Art(Draw(6, 4, [](CDrawContext& dc) {
                  dc.SetROP2(RasterOp::Not);
                  dc.FillSolidRect(1, 1, 4, 3, 0);
              })),
              expected);
}

TEST(DrawContext, PolygonRegionTakesPixelsWhoseCornerIsInside)
{
    // Alternate fill of a self-crossing bow tie leaves no pixel twice filled or missed.
    const QPoint diamond[] = {{4, 0}, {0, 4}, {4, 8}, {8, 4}};
    EXPECT_EQ(Art(Draw(9, 9, [&](CDrawContext& dc) { dc.FillPolygonRegion(diamond, 4, 0); })),
              QStringList({".........", "...##....", "..####...", ".######..", "########.", ".######..",
                           "..####...", "...##....", "........."}));
    const QPoint bowTie[] = {{0, 0}, {6, 4}, {6, 0}, {0, 4}};
    EXPECT_EQ(Art(Draw(7, 4, [&](CDrawContext& dc) { dc.FillPolygonRegion(bowTie, 4, 0); })),
              QStringList({".......", "##...#.", "######.", "##...#."}));
}

TEST(DrawContext, RectangleAndEllipseStayInsideTheirBox)
{
    const QImage rect = Draw(8, 6, [](CDrawContext& dc) {
        dc.SelectBrush(CDcBrush::Solid(0x00FF00));
        dc.Rectangle(1, 1, 7, 5);
    });
    for (const QPoint p : {QPoint(1, 1), QPoint(6, 1), QPoint(1, 4), QPoint(6, 4), QPoint(6, 2), QPoint(3, 4)})
        EXPECT_EQ(rect.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(2, 2), QPoint(5, 3)})
        EXPECT_EQ(rect.pixel(p), qRgb(0, 255, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(InkBounds(rect), QRect(1, 1, 6, 4));

    const QImage ellipse = Draw(12, 12, [](CDrawContext& dc) { dc.Ellipse(2, 3, 10, 9); });
    EXPECT_EQ(InkBounds(ellipse), QRect(2, 3, 8, 6));
}

TEST(DrawContext, InvertTwiceRestoresTheImageXorCombinesWithThePen)
{
    QImage image = BlankLayer(30, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x)
            image.setPixel(x, y, qRgb(x * 8, y * 12, (x + y) * 5));
    }
    const QImage before = image.copy();
    {
        CDrawContext dc(image);
        dc.SetROP2(RasterOp::Not);
        const QPoint tri[] = {{2, 2}, {20, 5}, {8, 18}};
        for (int pass = 0; pass < 2; ++pass) {
            dc.MoveTo(0, 0);
            dc.LineTo(29, 19);
            dc.SelectPen(CDcPen{PS_SOLID, 2, 0x123456});
            dc.MoveTo(0, 10);
            dc.LineTo(29, 10);
            dc.SelectPen(CDcPen{});
            dc.FillPolygonRegion(tri, 3, 0);
            dc.Rectangle(15, 3, 27, 15);
        }
    }
    EXPECT_EQ(image, before);

    {
        CDrawContext dc(image);
        dc.SetROP2(RasterOp::XorPen);
        dc.SelectPen(CDcPen{PS_SOLID, 1, 0x0000FF}); // red
        dc.MoveTo(0, 1);
        dc.LineTo(30, 1);
    }
    EXPECT_EQ(image.pixel(5, 1), before.pixel(5, 1) ^ 0x00FF0000u);
    EXPECT_EQ(image.pixel(5, 0), before.pixel(5, 0));
}

TEST(DrawContext, ExtremeCoordinatesDrawOnlyTheVisiblePart)
{
    const QImage image = Draw(50, 40, [](CDrawContext& dc) {
        dc.MoveTo(kMin, 5);
        dc.LineTo(kMax, 5);
        dc.MoveTo(kMin, kMin);
        dc.LineTo(kMax, kMax);
        dc.SelectPen(CDcPen{PS_DASH, kMax, 0});
        dc.MoveTo(kMin, 30);
        dc.LineTo(kMax, 31);
        dc.SelectPen(CDcPen{});
        const QPoint huge[] = {{kMin, kMin}, {kMax, kMin}, {kMax, 0}};
        dc.FillPolygonRegion(huge, 3, 0x00FF00);
        dc.Ellipse(kMin, kMin, kMax, kMax);
        dc.Ellipse(-(1 << 16), -(1 << 16), 1 << 16, 1 << 16);
        dc.SelectPen(CDcPen{PS_SOLID, 7, 0});
        dc.Ellipse(-(1 << 16), -(1 << 16), 1 << 16, 1 << 16);
        dc.Rectangle(-(1 << 20), -(1 << 20), kMax, 1 << 20);
        dc.SelectPen(CDcPen{});
        dc.Rectangle(kMin, kMin, kMax, kMax);
        dc.FillSolidRect(kMax, kMax, kMin, kMin, 0xFF0000);
        dc.TextOut(kMax, kMin, QStringLiteral("x"));
        dc.TextOut(kMin, 10, QStringLiteral("x"));
    });
    EXPECT_EQ(image.pixel(25, 20), qRgb(0, 0, 255)); // the last fill covers everything

    const QImage row = Draw(50, 10, [](CDrawContext& dc) {
        dc.MoveTo(kMin, 5);
        dc.LineTo(kMax, 5);
    });
    EXPECT_EQ(InkBounds(row), QRect(0, 5, 50, 1));
}

TEST(FontMapping, StoredFacesMapToInstalledJapaneseFonts)
{
    LOGFONTW lf;
    lf.lfHeight = -20;
    lf.SetFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    const QFont proportional = FontFromLogFont(lf);
    EXPECT_EQ(QFontInfo(proportional).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(proportional.pixelSize(), 20); // negative: the character height

    lf.SetFaceName(QStringLiteral("ＭＳ ゴシック"));
    lf.lfHeight = 18; // positive: the cell height
    lf.lfWeight = 700;
    const QFont fixed = FontFromLogFont(lf);
    EXPECT_EQ(QFontInfo(fixed).family(), QStringLiteral("IPAGothic"));
    EXPECT_NEAR(QFontMetrics(fixed).height(), 18, 1);
    EXPECT_EQ(fixed.weight(), QFont::Bold);

    lf.lfHeight = kMin;
    EXPECT_EQ(FontFromLogFont(lf).pixelSize(), kMaxFontPixels);
    lf.lfHeight = 0;
    EXPECT_GT(FontFromLogFont(lf).pixelSize(), 0);
}

TEST(DrawContext, TextOutPaintsItsExtentOpaqueOrOnlyGlyphsTransparent)
{
    // Plain text, a combining mark, characters outside the face and a bold font: the opaque
    // background is exactly the extent, and transparent glyphs stay inside it.
    for (const QString& text : {QStringLiteral("温度21.5℃"), QStringLiteral("e\u0301t"),
                                QStringLiteral("\U0001F600 \u0627\u0628"), QStringLiteral("ID12")}) {
        for (const BkMode mode : {BkMode::Opaque, BkMode::Transparent}) {
            QSize extent;
            const QImage image = Draw(200, 40, [&](CDrawContext& dc) {
                if (text == QStringLiteral("ID12"))
                    dc.SelectFont(CDrawContext::DefaultFont()); // bold
                else
                    dc.SelectFont(CTextInfo::DefaultFont());
                dc.SetBkColor(0xFF0000); // blue
                dc.SetBkMode(mode);
                extent = dc.GetTextExtent(text);
                dc.TextOut(10, 5, text);
            });
            ASSERT_GT(extent.width(), 0);
            const QRect box(QPoint(10, 5), extent);
            if (mode == BkMode::Opaque) {
                EXPECT_EQ(InkBounds(image), box);
                EXPECT_EQ(image.pixel(10, 5), qRgb(0, 0, 255));
            } else {
                EXPECT_FALSE(InkBounds(image).isNull());
                EXPECT_TRUE(box.contains(InkBounds(image)));
                EXPECT_EQ(PixelsOfColor(image, qRgb(0, 0, 255)), 0);
            }
        }
    }
}

// Markers come from cached sprites; they must match what the painter draws directly, also
// where the image edge cuts them.
TEST(DrawContext, CachedEllipsesMatchThePainterAtAnyOffset)
{
    for (const int penWidth : {1, 3}) {
        for (const QPoint at : {QPoint(10, 10), QPoint(11, 13), QPoint(-4, 7), QPoint(25, 27)}) {
            const QImage cached = Draw(32, 32, [&](CDrawContext& dc) {
                dc.SelectPen({PS_SOLID, penWidth, 0x0000FF});
                dc.SelectBrush(CDcBrush::Solid(0x00FF00));
                dc.Ellipse(0, 0, 9, 9); // fills the cache
                dc.FillSolidRect(0, 0, 32, 32, 0xFFFFFF);
                dc.Ellipse(at.x(), at.y(), at.x() + 9, at.y() + 9);
            });
            QImage direct = BlankLayer(32, 32);
            QPainter painter(&direct);
            painter.setPen(penWidth == 1 ? QPen(QColor(255, 0, 0), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin)
                                         : QPen(QColor(255, 0, 0), penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(QColor(0, 255, 0));
            painter.drawEllipse(QRect(at.x(), at.y(), 8, 8));
            painter.end();
            EXPECT_EQ(Art(cached), Art(direct)) << penWidth << " at " << at.x() << "," << at.y();
        }
    }
}

// Wide strokes come from sprites kept across contexts; they must match the painter drawing
// each segment on its own (a dash pattern starts afresh with every segment), also where the
// image edge cuts them, after repeated points and with the cache filled at other places.
TEST(DrawContext, CachedWideStrokesMatchThePainterSegmentBySegment)
{
    const std::vector<QPoint> points{{5, 20},  {6, 20},  {6, 20},   {8, 17},  {9, 25},  {30, 26}, {30, 26}, {28, 4},
                                     {-3, 10}, {12, 38}, {45, 39},  {47, 2},  {20, 20}, {21, 21}, {21, 30}, {40, 30},
                                     {2, 1},   {3, 3},   {2, 1},    {44, 12}};
    const CDcPen pens[] = {{PS_SOLID, 2, 0x0000FF}, {PS_DASH, 2, 0x00FF00}, {PS_DOT, 2, 0xFF0000},
                           {PS_DASHDOT, 3, 0x808000}, {PS_DASHDOTDOT, 4, 0x000080}, {PS_SOLID, 5, 0x123456},
                           {PS_SOLID, 9, 0x654321}};
    auto reference = [&](const CDcPen& pen, QPoint shift) {
        QImage image = BlankLayer(48, 40);
        QPainter painter(&image);
        const QColor color = ColorFromRef(pen.m_color);
        QPen qpen(color, pen.m_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (pen.m_style != PS_SOLID) {
            static const QList<qreal> patterns[] = {{}, {18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
            QList<qreal> dashes;
            for (const qreal d : patterns[pen.m_style])
                dashes << d / pen.m_width;
            qpen = QPen(color, pen.m_width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
            qpen.setDashPattern(dashes);
        }
        painter.setPen(qpen);
        for (size_t i = 1; i < points.size(); ++i) {
            if (points[i - 1] != points[i])
                painter.drawLine(points[i - 1] + shift, points[i] + shift);
        }
        return image;
    };
    for (const CDcPen& pen : pens) {
        CDrawCache cache;
        {
            // A tiny image draws a very wide pen narrower; the cache must not hand that on.
            QImage tiny = BlankLayer(4, 4);
            CDrawContext dc(tiny, &cache);
            dc.SelectPen(pen);
            dc.Polyline(points.data(), int(points.size()));
            fprintf(stderr, "pen %d tiny strokes %zu\n", pen.m_width, cache.StrokeCount());
        }
        for (const QPoint shift : {QPoint(3, 2), QPoint(0, 0), QPoint(-1, 5)}) {
            QImage image = BlankLayer(48, 40);
            CDrawContext dc(image, &cache);
            dc.SelectPen(pen);
            std::vector<QPoint> shifted;
            for (const QPoint p : points)
                shifted.push_back(p + shift);
            dc.Polyline(shifted.data(), int(shifted.size()));
            EXPECT_EQ(image, reference(pen, shift))
                << "style " << pen.m_style << " width " << pen.m_width << " shift " << shift.x() << "," << shift.y();
        }
        EXPECT_GT(cache.StrokeCount(), 0u); // the strokes did come from sprites
    }

    // A tiny image draws a very wide pen narrower; the cache must not hand that on.
    CDrawCache cache;
    for (const int side : {4, 120}) {
        QImage image = BlankLayer(side, side);
        {
            CDrawContext dc(image, &cache);
            dc.SelectPen(CDcPen{PS_SOLID, 40, 0});
            dc.MoveTo(2, 2);
            dc.LineTo(3, 2);
        }
        if (side == 4)
            continue;
        QImage direct = BlankLayer(side, side);
        QPainter painter(&direct);
        painter.setPen(QPen(Qt::black, 40, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(2, 2, 3, 2);
        painter.end();
        EXPECT_EQ(image, direct);
    }
}

// Layers copy only what drawing damaged: every pixel a primitive changes must lie in the
// damage it reports, whatever the pen, mix mode, font or place.
TEST(DrawContext, DamageHoldsEveryPixelDrawn)
{
    LOGFONTW bold = CTextInfo::DefaultFont();
    bold.lfWeight = 700;
    bold.lfHeight = 22;
    LOGFONTW slanted = CTextInfo::DefaultFont();
    slanted.lfItalic = 1;
    slanted.lfWeight = 800;
    slanted.lfHeight = 30;
    LOGFONTW underlined = CTextInfo::DefaultFont();
    underlined.lfUnderline = 1;
    underlined.lfStrikeOut = 1;
    const LOGFONTW fonts[] = {CTextInfo::DefaultFont(), CDrawContext::DefaultFont(), bold, slanted, underlined};
    const QString texts[] = {QStringLiteral("温度21.5℃"), QStringLiteral("Wjgyf|Å"), QStringLiteral("e\u0301t\u0627\u0628"),
                             QStringLiteral("\U0001F600 ID12"), QStringLiteral("VAWfj")};
    std::vector<std::function<void(CDrawContext&)>> cases;
    for (const LOGFONTW& font : fonts) {
        for (const QString& text : texts) {
            for (const QPoint at : {QPoint(7, 9), QPoint(-5, 30), QPoint(150, -6)}) {
                cases.push_back([=](CDrawContext& dc) {
                    dc.SelectFont(font);
                    dc.SetBkMode(BkMode::Transparent);
                    dc.SetTextColor(0x000080);
                    dc.TextOut(at.x(), at.y(), text);
                });
            }
        }
    }
    for (const int32_t width : {0, 1, 2, 3, 7, 40}) {
        for (const int32_t style : {PS_SOLID, PS_DASH, PS_DASHDOT}) {
            for (const RasterOp op : {RasterOp::CopyPen, RasterOp::XorPen, RasterOp::Not}) {
                cases.push_back([=](CDrawContext& dc) {
                    dc.SetROP2(op);
                    dc.SelectPen(CDcPen{style, width, 0x3366CC});
                    const QPoint line[] = {{20, 20}, {60, 23}, {61, 50}, {61, 50}, {-30, 70}, {300, -40}, {90, 31}};
                    dc.Polyline(line, 7);
                    dc.SelectBrush(CDcBrush::Solid(0x00CC00));
                    dc.Ellipse(100, 10, 117, 21);
                    dc.Ellipse(120, 5, 190, 60);
                    dc.Rectangle(30, 40, 50, 55);
                    dc.SelectBrush(CDcBrush::Null());
                    dc.Rectangle(5, 5, 12, 12);
                });
            }
        }
    }
    cases.push_back([](CDrawContext& dc) {
        const QPoint star[] = {{10, 10}, {50, 60}, {90, 5}, {5, 40}, {95, 40}};
        dc.FillPolygonRegion(star, 5, 0x0000FF);
        dc.FillSolidRect(150, 50, 120, 30, 0x00FFFF);
    });

    for (size_t i = 0; i < cases.size(); ++i) {
        QImage image(200, 64, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 5 % 256, y * 7 % 256, 200));
        }
        const QImage before = image.copy();
        CDamage damage(image.size(), 1);
        {
            CDrawContext dc(image);
            dc.TrackDamage(&damage);
            cases[i](dc);
        }
        const QRegion region = damage.Region();
        int outside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                outside += image.pixel(x, y) != before.pixel(x, y) && !region.contains(QPoint(x, y));
        }
        EXPECT_EQ(outside, 0) << "case " << i;
    }
}
