#pragma once

#include "platform/LogFont.h"
#include "platform/UserInteraction.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CAxisInfo;
class CBarInfo;
class CConnectInfo;
class CDrawContext;
class CLineInfo;
class CPlotInfo;
class CTextInfo;

// The drawing of every design element. The model classes hold no drawing code: each
// drawing operation of theirs is a function here over the element, a drawing context and
// the view's scale (design units to pixels). Pens, brushes and fonts live only within a call.
//
// Every function accepts any value a file or a record can put into the element; what cannot
// be drawn sensibly is left out.

// --- primitives ---

// One segment with the line's attributes; nothing when the line is not shown. Widths up to
// 2 are pens (the end pixel is left unset); wider lines are filled shapes with square ends.
void DrawSegment(CDrawContext& dc, const CLineInfo& line, QPoint from, QPoint to);
// The plot's marker shape at a pixel point; nothing for a radius below 1.
void DrawMarker(CDrawContext& dc, const CPlotInfo& plot, QPoint at, int32_t radius);
// The axis as an arrow from start to end with a 10-pixel head, for the editing views.
void DrawArrow(CDrawContext& dc, const CAxisInfo& axis, COLORREF color, int32_t width, double scale);
// Axis line, ticks, sub-ticks and labels, as the axis lays them out.
void DrawAxis(CDrawContext& dc, const CAxisInfo& axis, double scale);

// A text placed around an anchor point by the display's anchor and distance, in its font
// and colours.
void DrawText(CDrawContext& dc, const CTextInfo& text, QPoint at, const QString& value);
// The display's description in place of a value, for the editing views.
void DrawSummary(CDrawContext& dc, const CTextInfo& text, QPoint at);
// A text in the given colours on an opaque background; place turns the text's extent into
// its top-left corner. A null font keeps the context's own.
void DrawBoxedText(CDrawContext& dc, const QString& text, const LOGFONTW* font, COLORREF color,
                   COLORREF back, const std::function<QPoint(QSize)>& place);

// The ID labels of the editing views: black on white in the context's font, and for the
// selected element red on yellow in a bold 18-pixel font.
constexpr COLORREF kIdColor = 0x000000;
constexpr COLORREF kIdBack = 0xFFFFFF;
constexpr COLORREF kSelectedIdColor = 0x0000FF;
constexpr COLORREF kSelectedIdBack = 0x00FFFF;
LOGFONTW SelectedIdFont();

// --- plots ---

// The current state on the overlay. Plots with an automatic-range or latest-rows axis replay
// their history; the automatic range is applied for good, every other change is undone before
// returning. plot is normally an element of plots (the list its origin chain is looked up in).
void DrawPlot(CDrawContext& dc, CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale);
// The newest history step on the base layer.
void DrawIncrement(CDrawContext& dc, const CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale);
// At the plot's origin, without data: arrows, marker and ID.
void DrawEdit(CDrawContext& dc, const CPlotInfo& plot, bool arrows, double scale);
// The highlighted plot: text summaries, a history-line sample, axes, marker and a bold ID.
void DrawEditSelected(CDrawContext& dc, const CPlotInfo& plot, double scale);

// --- bars ---

void DrawBar(CDrawContext& dc, const CBarInfo& bar, double scale);
// The bar at its initial value with its axis arrow in XOR mode and its ID.
void DrawEdit(CDrawContext& dc, const CBarInfo& bar, double scale);
void DrawEditSelected(CDrawContext& dc, const CBarInfo& bar, double scale);

// --- connection lines ---

void DrawConnect(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale);
// DrawConnect for a History connection only (the base layer's share).
void DrawIfHistory(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale);
// Through the plots' axis 1 start points, as the editing views show it.
void DrawEdit(CDrawContext& dc, const CConnectInfo& connect, const std::vector<CPlotInfo>& plots, double scale);
