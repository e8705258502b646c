#include "render/ElementDrawing.h"

#include "model/AxisInfo.h"
#include "model/PixelMath.h"
#include "render/DrawContext.h"

#include <cmath>
#include <numbers>

void DrawArrow(CDrawContext& dc, const CAxisInfo& axis, COLORREF color, int32_t width, double scale)
{
    CLineInfo line;
    line.m_show = 1;
    line.m_style = LineStyle::Solid;
    line.m_color = color;
    line.m_width = width;
    const QPoint start = DesignToPixel(axis.m_startX, axis.m_startY, scale);
    const QPoint end = DesignToPixel(axis.m_endX, axis.m_endY, scale);
    DrawSegment(dc, line, start, end);

    const double a = axis.Angle();
    auto head = [&](double angle) {
        const int64_t dx = static_cast<int64_t>(std::cos(angle) * 10);
        const int64_t dy = static_cast<int64_t>(std::sin(angle) * 10);
        DrawSegment(dc, line, QPoint(ClampToInt(end.x() - dx), ClampToInt(end.y() - dy)), end);
    };
    head(a + std::numbers::pi / 4);
    head(a - std::numbers::pi / 4);
}

void DrawAxis(CDrawContext& dc, const CAxisInfo& axis, double scale)
{
    const CAxisLayout layout = axis.Layout(scale);
    if (!layout.m_visible)
        return;
    // Shown copies: the axis's own flags decide, not the lines' m_show.
    CLineInfo line = axis.m_axisLine;
    line.m_show = 1;
    DrawSegment(dc, line, layout.m_axisLine.p1(), layout.m_axisLine.p2());
    CLineInfo tick = axis.m_tickLine;
    tick.m_show = 1;
    for (const QLine& t : layout.m_ticks)
        DrawSegment(dc, tick, t.p1(), t.p2());
    CLineInfo subTick = axis.m_subTickLine;
    subTick.m_show = 1;
    for (const QLine& t : layout.m_subTicks)
        DrawSegment(dc, subTick, t.p1(), t.p2());
    for (const CAxisLabel& label : layout.m_labels)
        DrawText(dc, axis.m_labelText, label.m_point, label.m_text);
}
