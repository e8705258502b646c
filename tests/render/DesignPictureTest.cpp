// A design with every kind of element as a running view shows it. To look at it:
//   VANTREL_WRITE_PNG=1 vantrel_tests_render --gtest_filter=DesignPicture.*
// writes tests/render/data/design.png.
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/DocData.h"
#include "render/DrawContext.h"
#include "render/LayerContent.h"
#include "tests/render/RenderSupport.h"
#include "tests/support/TestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

CAxisInfo Axis(int32_t fd, QPointF start, QPointF end, double from, double to, bool scale = false)
{
    CAxisInfo a;
    a.m_fdNo = fd;
    a.m_startX = start.x(), a.m_startY = start.y(), a.m_endX = end.x(), a.m_endY = end.y();
    a.m_startValue = a.m_tickStartValue = from;
    a.m_endValue = a.m_tickEndValue = to;
    a.m_showAxisLine = a.m_showTicks = a.m_showSubTicks = a.m_showLabels = scale;
    a.m_tickDivisions = 4;
    a.m_subTickDivisions = 2;
    a.m_subTickLine.m_style = LineStyle::Dot;
    a.m_labelText.m_format = QStringLiteral("%.1f");
    a.m_labelText.m_opaque = 0;
    a.m_labelText.m_textColor = 0;
    a.m_labelText.m_anchor = start.y() == end.y() ? TextAnchor::BottomCenter : TextAnchor::MiddleLeft;
    a.m_tickSide = a.m_subTickSide = start.y() == end.y() ? TickSide::LowerRight : TickSide::UpperLeft;
    return a;
}

CPlotInfo Plot(int32_t id, PlotShape shape, COLORREF color, CAxisInfo x, CAxisInfo y)
{
    CPlotInfo p;
    p.m_id = id;
    p.m_shape = shape;
    p.m_fill = 1;
    p.m_size = 12;
    p.m_lineWidth = 2;
    p.m_color = color;
    p.m_axisCount = 2;
    p.m_axes = {x, y};
    p.ComputeOrigin();
    CTextInfo t;
    t.m_fdNo = y.m_fdNo;
    t.m_format = QStringLiteral("%.2f");
    t.m_anchor = TextAnchor::TopRight;
    p.m_texts = {t};
    return p;
}

void BuildDesign(CVantrelDoc& doc)
{
    // A History chart of FD 2 over time with scales and a trail.
    CPlotInfo chart = Plot(1, PlotShape::Circle, 0x800000, Axis(1, {100, 930}, {700, 930}, 0, 60, true),
                           Axis(2, {100, 930}, {100, 530}, -1, 1, true));
    chart.m_displayKind = DisplayKind::History;
    chart.m_size = 6;
    chart.m_historyLine.m_show = 1;
    chart.m_historyLine.m_color = 0x0000C0;
    chart.m_axes[0].m_unit = QStringLiteral(" s");
    doc.m_plots.push_back(chart);

    // Three circling plots joined by a closed connection and a dashed History one.
    for (int k = 0; k < 3; ++k) {
        CPlotInfo p = Plot(10 + k, PlotShape(k + 1), COLORREF(0x00A000 << (k * 4)) & 0xFFFFFF,
                           Axis(6 + 2 * k, {200, 260}, {600, 260}, -1, 1), Axis(7 + 2 * k, {400, 460}, {400, 60}, -1, 1));
        p.m_fill = k != 1;
        p.m_texts[0].m_anchor = TextAnchor(k * 3 + 2);
        doc.m_plots.push_back(p);
    }
    CConnectInfo ring;
    ring.m_plotIds = {10, 11, 12};
    ring.m_closed = 1;
    ring.m_line.m_width = 2;
    ring.m_line.m_color = 0x008000;
    CConnectInfo trace;
    trace.m_displayKind = DisplayKind::History;
    trace.m_plotIds = {10, 11};
    trace.m_line.m_style = LineStyle::Dash;
    trace.m_line.m_color = 0xC0C0C0;
    doc.m_connects = {trace, ring};

    // The latest 20 rows of FD 3 with a trail, and an automatic range over FD 5.
    CAxisInfo rows = Axis(1, {800, 430}, {1380, 430}, 0, 1);
    rows.m_latestRows = 1;
    rows.m_latestRowCount = 20;
    CPlotInfo latest = Plot(2, PlotShape::Square, 0x0080FF, rows, Axis(3, {800, 430}, {800, 80}, -1, 1, true));
    latest.m_historyLine = CLineInfo(2, 0);
    latest.m_historyLine.m_show = 1;
    latest.m_historyLine.m_color = 0x0080FF;
    doc.m_plots.push_back(latest);
    CPlotInfo ranged = Plot(3, PlotShape::TriangleDown, 0x0000C0, Axis(5, {1480, 930}, {1480, 80}, 0, 1, true), CAxisInfo());
    ranged.m_axisCount = 1;
    ranged.m_axes[0].m_autoRange = 1;
    ranged.m_axes[0].m_unit = QStringLiteral("%");
    ranged.ComputeOrigin();
    doc.m_plots.push_back(ranged);

    // Every marker shape filled and outlined; the crosses sized by FD 4.
    for (int row = 0; row < 2; ++row) {
        for (int s = 0; s < 7; ++s) {
            const QPointF at(850 + s * 95.0, 560 + row * 110.0);
            CPlotInfo p = Plot(100 + row * 10 + s, PlotShape(s), 0x602000 + 0x20 * s, Axis(1, at, at + QPointF(1, 0), 0, 1e9),
                               CAxisInfo());
            p.m_axisCount = 1;
            p.m_texts.clear();
            p.m_fill = row == 0;
            p.m_size = 22;
            p.m_variableSize = s == 5;
            p.m_sizeFdNo = 4;
            p.m_sizeStepValue = 2;
            p.ComputeOrigin();
            doc.m_plots.push_back(p);
        }
    }

    // Bars anchored at their start, centre and end.
    for (int k = 0; k < 3; ++k) {
        CBarInfo bar;
        bar.m_id = k + 1;
        bar.m_anchor = BarAnchor(k == 0 ? 1 : k == 1 ? 0 : 2);
        bar.m_axis = Axis(5, {900 + k * 200.0, 930}, {900 + k * 200.0, 780}, 0, 100);
        bar.m_initialValue = 100;
        bar.m_line.m_width = 14;
        bar.m_line.m_color = 0x00C0C0 - 0x004000 * k;
        bar.m_texts = {doc.m_plots[1].m_texts[0]};
        bar.m_texts[0].m_fdNo = 5;
        bar.m_texts[0].m_anchor = TextAnchor::MiddleRight;
        bar.SetOriginToStart();
        doc.m_bars.push_back(bar);
    }
}

CDocData Record(int r)
{
    QStringList fds{QStringLiteral("D"), QString::number(r), QString::number(std::sin(r / 6.0)),
                    QString::number(std::cos(r / 4.0)), QString::number(r % 5), QString::number(50 + 45 * std::sin(r / 8.0))};
    for (int k = 0; k < 3; ++k)
        fds << QString::number(0.8 * std::cos(r / 10.0 + k * 2.0944)) << QString::number(0.8 * std::sin(r / 10.0 + k * 2.0944));
    return CDocData(Apply, r, FieldRow(fds), nullptr);
}

} // namespace

TEST(DesignPicture, RunningDesignWithEveryElementKind)
{
    CVantrelDoc doc;
    BuildDesign(doc);
    for (CPlotInfo& p : doc.m_plots)
        p.ResetRunState();
    for (CBarInfo& b : doc.m_bars)
        b.ResetRunState();
    doc.m_editMode = EditMode::Running;

    // A 640 x 400 picture with a faint grid; the design scale is 400 / 1000.
    QImage base(640, 400, QImage::Format_RGB32);
    base.fill(qRgb(246, 248, 250));
    {
        QPainter grid(&base);
        grid.setPen(qRgb(226, 232, 238));
        for (int i = 0; i < 640; i += 40) {
            grid.drawLine(i, 0, i, 399);
            grid.drawLine(0, i, 639, i);
        }
    }
    for (int r = 0; r < 60; ++r) {
        const CDocData record = Record(r);
        for (CPlotInfo& p : doc.m_plots)
            p.UpdateFromRecord(record);
        for (CBarInfo& b : doc.m_bars)
            b.UpdateFromRecord(record);
        CDrawContext dc(base);
        DrawBaseElements(dc, doc, 0.4);
    }
    QImage overlay;
    CopyLayer(base, overlay);
    {
        CDrawContext dc(overlay);
        DrawOverlayElements(dc, doc, 0.4);
    }
    if (qEnvironmentVariableIsSet("VANTREL_WRITE_PNG")) {
        EXPECT_TRUE(overlay.save(TestDataPath(QStringLiteral("render/data/design.png"))));
    }

    auto present = [&](COLORREF c) { return PixelsOfColor(overlay, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)) > 0; };
    for (const CPlotInfo& p : doc.m_plots)
        EXPECT_TRUE(present(p.m_color)) << p.m_id;
    for (const CBarInfo& b : doc.m_bars)
        EXPECT_TRUE(present(b.m_line.m_color)) << b.m_id;
    for (const CConnectInfo& c : doc.m_connects)
        EXPECT_TRUE(present(c.m_line.m_color));
    EXPECT_TRUE(present(0x0000C0)); // the chart's trail
}
