// Segments of any width and plot markers.
#include "render/ElementDrawing.h"

#include "model/LineInfo.h"
#include "model/PixelMath.h"
#include "model/PlotInfo.h"
#include "render/DrawContext.h"

#include <array>
#include <cmath>

namespace {

// A point offset from (x, y), saturated into the int range.
QPoint At(int64_t x, int64_t y)
{
    return QPoint(ClampToInt(x), ClampToInt(y));
}

// Selects a pen and a brush for the lifetime of one shape.
class CSelection
{
public:
    CSelection(CDrawContext& dc, const CDcPen& pen, const CDcBrush& brush)
        : m_dc(dc), m_oldPen(dc.SelectPen(pen)), m_oldBrush(dc.SelectBrush(brush))
    {
    }
    ~CSelection()
    {
        m_dc.SelectPen(m_oldPen);
        m_dc.SelectBrush(m_oldBrush);
    }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    CDrawContext& m_dc;
    CDcPen m_oldPen;
    CDcBrush m_oldBrush;
};

} // namespace

void DrawSegment(CDrawContext& dc, const CLineInfo& line, QPoint from, QPoint to)
{
    if (!line.m_show)
        return;
    const int64_t w = line.m_width;
    if (w <= 2) {
        const CSelection select(dc, CDcPen{static_cast<int32_t>(line.m_style), line.m_width, line.m_color},
                                CDcBrush::Null());
        dc.MoveTo(from);
        dc.LineTo(to);
        return;
    }
    // Wider lines ignore the style: a filled shape with square ends.
    const int64_t half = w / 2;
    const int64_t x1 = from.x(), y1 = from.y(), x2 = to.x(), y2 = to.y();
    if (x1 == x2) {
        dc.FillSolidRect(ClampToInt(x1 - half), from.y(), ClampToInt(x2 + half), to.y(), line.m_color);
        return;
    }
    if (y1 == y2) {
        dc.FillSolidRect(from.x(), ClampToInt(y1 - half), to.x(), ClampToInt(y2 + half), line.m_color);
        return;
    }
    const double a = std::atan2(double(y2 - y1), double(x2 - x1));
    const int64_t s = static_cast<int64_t>(std::sin(a) * double(w) * 0.5);
    const int64_t c = static_cast<int64_t>(std::cos(a) * double(w) * 0.5);
    const std::array<QPoint, 4> quad{At(x1 + s, y1 - c), At(x1 - s, y1 + c), At(x2 - s, y2 + c), At(x2 + s, y2 - c)};
    dc.FillPolygonRegion(quad.data(), int(quad.size()), line.m_color);
}

void DrawMarker(CDrawContext& dc, const CPlotInfo& plot, QPoint at, int32_t radius)
{
    if (radius < 1)
        return;
    const int64_t x = at.x(), y = at.y(), r = radius;
    const COLORREF color = plot.m_color;
    const bool fill = plot.m_fill != 0;
    const CDcPen outline{PS_SOLID, plot.m_lineWidth, color};

    // A filled region, or the closed outline through the same corners in outline order.
    auto region = [&](std::initializer_list<QPoint> corners, std::initializer_list<QPoint> outlineOrder) {
        if (fill) {
            const std::vector<QPoint> v(corners);
            dc.FillPolygonRegion(v.data(), int(v.size()), color);
            return;
        }
        std::vector<QPoint> closed(outlineOrder);
        closed.push_back(closed.front());
        const CSelection select(dc, outline, CDcBrush::Null());
        dc.Polyline(closed.data(), int(closed.size()));
    };
    auto strokes = [&](QPoint a1, QPoint a2, QPoint b1, QPoint b2) {
        const CSelection select(dc, outline, CDcBrush::Null());
        dc.MoveTo(a1);
        dc.LineTo(a2);
        dc.MoveTo(b1);
        dc.LineTo(b2);
    };

    switch (plot.m_shape) {
    case PlotShape::Circle: {
        const CSelection select(dc, fill ? CDcPen{PS_SOLID, 1, color} : outline,
                                fill ? CDcBrush::Solid(color) : CDcBrush::Null());
        const QPoint tl = At(x - r, y - r), br = At(x + r, y + r);
        dc.Ellipse(tl.x(), tl.y(), br.x(), br.y());
        return;
    }
    case PlotShape::Square: {
        const QPoint tl = At(x - r, y - r), br = At(x + r, y + r);
        if (fill) {
            dc.FillSolidRect(tl.x(), tl.y(), br.x(), br.y(), color);
            return;
        }
        const CSelection select(dc, outline, CDcBrush::Null());
        dc.Rectangle(tl.x(), tl.y(), br.x(), br.y());
        return;
    }
    case PlotShape::Diamond: {
        const QPoint top = At(x, y - r), left = At(x - r, y), bottom = At(x, y + r), right = At(x + r, y);
        region({top, left, bottom, right}, {top, left, bottom, right});
        return;
    }
    case PlotShape::TriangleUp: {
        const QPoint top = At(x, y - r), left = At(x - r, y + r), right = At(x + r, y + r);
        region({top, left, right}, {top, left, right});
        return;
    }
    case PlotShape::TriangleDown: {
        // Outlined the other way round: the pixels of a line depend on its direction.
        const QPoint left = At(x - r, y - r), right = At(x + r, y - r), bottom = At(x, y + r);
        region({left, right, bottom}, {left, bottom, right});
        return;
    }
    case PlotShape::Cross:
        strokes(At(x - r, y - r), At(x + r, y + r), At(x - r, y + r), At(x + r, y - r));
        return;
    case PlotShape::Plus:
        strokes(At(x, y - r), At(x, y + r), At(x - r, y), At(x + r, y));
        return;
    }
}
