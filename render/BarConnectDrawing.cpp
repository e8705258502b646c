// Bars and connection lines.
#include "render/ElementDrawing.h"

#include "model/BarInfo.h"
#include "model/ConnectInfo.h"
#include "model/PixelMath.h"
#include "render/DrawContext.h"

namespace {

// "ID%d" centred on a bar's segment.
void DrawBarId(CDrawContext& dc, const CBarInfo& bar, const QLine& segment, const LOGFONTW* font, COLORREF color,
               COLORREF back)
{
    const int64_t x1 = segment.x1(), y1 = segment.y1(), x2 = segment.x2(), y2 = segment.y2();
    DrawBoxedText(dc, QStringLiteral("ID%1").arg(bar.m_id), font, color, back, [&](QSize extent) {
        return QPoint(ClampToInt(x1 + (x2 - x1) / 2 - extent.width() / 2),
                      ClampToInt(y1 + (y2 - y1) / 2 - extent.height() / 2));
    });
}

// The axis arrow of the bar editing views, in XOR mode so that it shows on any colour.
void DrawXorArrow(CDrawContext& dc, const CBarInfo& bar, int32_t width, double scale)
{
    const RasterOp old = dc.SetROP2(RasterOp::XorPen);
    DrawArrow(dc, bar.m_axis, bar.m_line.m_color, width, scale);
    dc.SetROP2(old);
}

void DrawSegments(CDrawContext& dc, const CLineInfo& line, const std::vector<QLine>& segments)
{
    for (const QLine& s : segments)
        DrawSegment(dc, line, s.p1(), s.p2());
}

} // namespace

void DrawBar(CDrawContext& dc, const CBarInfo& bar, double scale)
{
    if (bar.m_firstRecord)
        return;
    // A value that is not finite draws no bar; its texts and axis still show.
    if (const std::optional<QLine> segment = bar.BarSegment(scale))
        DrawSegment(dc, bar.m_line, segment->p1(), segment->p2());
    const QPoint start = bar.StartPixel(scale);
    for (const CTextInfo& t : bar.m_texts)
        DrawText(dc, t, start, t.FormatText());
    DrawAxis(dc, bar.m_axis, scale);
}

void DrawEdit(CDrawContext& dc, const CBarInfo& bar, double scale)
{
    const QLine segment = bar.EditSegment(scale);
    DrawSegment(dc, bar.m_line, segment.p1(), segment.p2());
    if (bar.m_axis.m_startValue != bar.m_axis.m_endValue)
        DrawXorArrow(dc, bar, 1, scale);
    DrawBarId(dc, bar, segment, nullptr, kIdColor, kIdBack);
}

void DrawEditSelected(CDrawContext& dc, const CBarInfo& bar, double scale)
{
    const QPoint start = bar.StartPixel(scale);
    for (const CTextInfo& t : bar.m_texts)
        DrawSummary(dc, t, start);
    const QLine segment = bar.EditSegment(scale);
    DrawSegment(dc, bar.m_line, segment.p1(), segment.p2());
    if (bar.m_axis.m_startValue != bar.m_axis.m_endValue) {
        if (bar.m_axis.m_showAxisLine)
            DrawAxis(dc, bar.m_axis, scale);
        else
            DrawXorArrow(dc, bar, 2, scale);
    }
    const LOGFONTW bold = SelectedIdFont();
    DrawBarId(dc, bar, segment, &bold, kSelectedIdColor, kSelectedIdBack);
}

void DrawConnect(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale)
{
    DrawSegments(dc, connect.m_line, connect.Segments(plots, scale));
}

void DrawIfHistory(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale)
{
    if (connect.m_displayKind == DisplayKind::History)
        DrawConnect(dc, connect, plots, scale);
}

void DrawEdit(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale)
{
    DrawSegments(dc, connect.m_line, connect.EditSegments(plots, scale));
}
