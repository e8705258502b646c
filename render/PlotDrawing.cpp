#include "render/ElementDrawing.h"

#include "model/PixelMath.h"
#include "model/PlotInfo.h"
#include "render/DrawContext.h"

#include <optional>
#include <utility>

namespace {

std::optional<QPoint> PixelOf(const std::optional<QPointF>& p, double scale)
{
    if (!p)
        return std::nullopt;
    return DesignToPixel(p->x(), p->y(), scale);
}

void DrawUsedAxes(CDrawContext& dc, const CPlotInfo& plot, double scale)
{
    for (int32_t i = 0; i < plot.UsedAxisCount(); ++i)
        DrawAxis(dc, plot.m_axes[size_t(i)], scale);
}

// Entry i of a history that ran alongside one of `count` entries. The histories grow
// together, but one that missed records (a text display without its FD, an axis brought
// into use later) is shorter: it is matched from the newest end. -1 when it has no entry.
int64_t AlignedIndex(int64_t i, int64_t count, int64_t ownCount)
{
    const int64_t j = i - (count - ownCount);
    return j >= 0 && j < ownCount ? j : -1;
}

// Axis values the replay overwrites, and for a latest-rows axis its range.
struct SavedAxis
{
    double m_value;
    double m_prevValue;
    double m_startValue;
    double m_endValue;
    double m_originValue;
};

// Replays history entries first .. count-1 of axis 1's history. latestAxis is the index of
// the latest-rows axis (positions 1 .. N instead of values), or -1.
void ReplayHistory(CDrawContext& dc, CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale,
                   int64_t first, int latestAxis)
{
    const int32_t used = plot.UsedAxisCount();
    const int64_t count = plot.m_axes[0].m_history.GetCount();
    const int64_t last = count - 1;
    // After the first entry every value's previous value is the value of the entry before, so
    // with a fixed origin (no other plot's previous values in the chain) the previous position
    // is the position found one entry earlier.
    const bool fixedOrigin = plot.m_originKind == OriginKind::Fixed;
    std::optional<QPoint> previous;
    for (int64_t i = first; i < count; ++i) {
        for (int32_t k = 0; k < used; ++k) {
            CAxisInfo& a = plot.m_axes[size_t(k)];
            double value = a.m_value;
            double atFirst = 1.0;
            if (k == latestAxis) {
                value = double(i - first + 1);
            } else {
                const int64_t j = AlignedIndex(i, count, a.m_history.GetCount());
                if (j >= 0)
                    value = a.m_history.GetAt(j);
                atFirst = value;
            }
            a.m_prevValue = i == first ? atFirst : a.m_value;
            a.m_value = value;
        }

        // An entry without a finite position is left out, and so are the history line's
        // segments into and out of it. (A failing chain fails for every entry alike.)
        const std::optional<QPoint> p = PixelOf(plot.GetPosition(plots), scale);
        const std::optional<QPoint> before = std::exchange(previous, p);
        if (!p)
            continue;
        if (plot.m_historyLine.m_show) {
            const std::optional<QPoint> prev =
                fixedOrigin && i > first ? before : PixelOf(plot.GetPreviousPosition(plots), scale);
            if (prev)
                DrawSegment(dc, plot.m_historyLine, *p, *prev);
        }
        if (plot.m_displayKind == DisplayKind::History || i == last)
            DrawMarker(dc, plot, *p, plot.MarkerRadius());
        for (const CTextInfo& t : plot.m_texts) {
            if (t.m_displayKind != DisplayKind::History && i != last)
                continue;
            const int64_t j = AlignedIndex(i, count, t.m_history.GetCount());
            if (j >= 0)
                DrawText(dc, t, *p, t.m_history.GetAt(j));
        }
    }
}

void DrawReplay(CDrawContext& dc, CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale)
{
    const int32_t used = plot.UsedAxisCount();
    for (int32_t k = 0; k < used; ++k)
        plot.m_axes[size_t(k)].ApplyAutoRange();

    // Everything below is put back, however the replay ends: the feed goes on accumulating
    // from these values after the drawing.
    std::vector<SavedAxis> saved;
    for (int32_t k = 0; k < used; ++k) {
        const CAxisInfo& a = plot.m_axes[size_t(k)];
        saved.push_back({a.m_value, a.m_prevValue, a.m_startValue, a.m_endValue, a.m_originValue});
    }

    int latestAxis = -1;
    if (plot.m_axes[0].LatestRowsOn())
        latestAxis = 0;
    else if (used >= 2 && plot.m_axes[1].LatestRowsOn())
        latestAxis = 1;

    if (latestAxis < 0) {
        ReplayHistory(dc, plot, plots, scale, 0, -1);
    } else {
        CAxisInfo& rows = plot.m_axes[size_t(latestAxis)];
        rows.ApplyLatestRowsRange();
        const int64_t first = rows.LatestRowsFirst(plot.m_axes[0].m_history.GetCount());
        ReplayHistory(dc, plot, plots, scale, first, latestAxis);
    }

    for (int32_t k = 0; k < used; ++k) {
        CAxisInfo& a = plot.m_axes[size_t(k)];
        const SavedAxis& s = saved[size_t(k)];
        a.m_value = s.m_value;
        a.m_prevValue = s.m_prevValue;
        a.m_startValue = s.m_startValue;
        a.m_endValue = s.m_endValue;
        a.m_originValue = s.m_originValue;
    }
    DrawUsedAxes(dc, plot, scale);
}

QPoint OriginPixel(const CPlotInfo& plot, double scale)
{
    const CAxisInfo& a = plot.m_axes[0];
    return DesignToPixel(a.m_originX, a.m_originY, scale);
}

// "ID%d" centred above the marker of an editing view.
void DrawPlotId(CDrawContext& dc, const CPlotInfo& plot, QPoint origin, const LOGFONTW* font, COLORREF color,
                COLORREF back)
{
    const int64_t markerHalf = plot.m_size / 2;
    DrawBoxedText(dc, QStringLiteral("ID%1").arg(plot.m_id), font, color, back, [&](QSize extent) {
        return QPoint(ClampToInt(int64_t(origin.x()) - extent.width() / 2),
                      ClampToInt(int64_t(origin.y()) - markerHalf - extent.height() - 2));
    });
}

} // namespace

void DrawPlot(CDrawContext& dc, CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale)
{
    if (plot.m_firstRecord || plot.UsedAxisCount() < 1)
        return;
    const bool replays = plot.UsesLatestRows() || plot.UsesAutoRange();
    // Its markers are on the base layer already.
    if (!replays && plot.m_displayKind == DisplayKind::History && plot.m_texts.empty())
        return;
    if (replays) {
        DrawReplay(dc, plot, plots, scale);
        return;
    }

    const std::optional<QPoint> p = PixelOf(plot.GetPosition(plots), scale);
    if (!p)
        return;
    if (plot.m_displayKind == DisplayKind::Latest)
        DrawMarker(dc, plot, *p, plot.MarkerRadius());
    for (const CTextInfo& t : plot.m_texts)
        DrawText(dc, t, *p, t.FormatText());
    DrawUsedAxes(dc, plot, scale);
}

void DrawIncrement(CDrawContext& dc, const CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale)
{
    if (plot.m_firstRecord || plot.UsedAxisCount() < 1)
        return;
    if ((!plot.m_historyLine.m_show && plot.m_displayKind == DisplayKind::Latest) || plot.UsesLatestRows()
        || plot.UsesAutoRange()) {
        // Axes that re-range themselves are drawn with the overlay instead.
        for (int32_t i = 0; i < plot.UsedAxisCount(); ++i) {
            if (!plot.m_axes[size_t(i)].m_autoRange)
                DrawAxis(dc, plot.m_axes[size_t(i)], scale);
        }
        return;
    }

    const std::optional<QPoint> p = PixelOf(plot.GetPosition(plots), scale);
    if (!p)
        return;
    // After a record without a finite position the trail starts afresh here.
    if (plot.m_historyLine.m_show) {
        if (const std::optional<QPoint> prev = PixelOf(plot.GetPreviousPosition(plots), scale))
            DrawSegment(dc, plot.m_historyLine, *prev, *p);
    }
    for (const CTextInfo& t : plot.m_texts) {
        if (t.m_displayKind == DisplayKind::History)
            DrawText(dc, t, *p, t.FormatText());
    }
    if (plot.m_displayKind == DisplayKind::History)
        DrawMarker(dc, plot, *p, plot.MarkerRadius());
    DrawUsedAxes(dc, plot, scale);
}

void DrawEdit(CDrawContext& dc, const CPlotInfo& plot, bool arrows, double scale)
{
    if (plot.m_axes.empty())
        return;
    const QPoint origin = OriginPixel(plot, scale);
    if (arrows) {
        for (int32_t i = 0; i < plot.UsedAxisCount(); ++i)
            DrawArrow(dc, plot.m_axes[size_t(i)], plot.m_color, 1, scale);
    }
    DrawMarker(dc, plot, origin, plot.m_size / 2);
    DrawPlotId(dc, plot, origin, nullptr, kIdColor, kIdBack);
}

void DrawEditSelected(CDrawContext& dc, const CPlotInfo& plot, double scale)
{
    if (plot.m_axes.empty())
        return;
    const QPoint origin = OriginPixel(plot, scale);
    for (const CTextInfo& t : plot.m_texts)
        DrawSummary(dc, t, origin);

    if (plot.m_historyLine.m_show) {
        // A sample of the history line where the ID will stand.
        const QSize sample = dc.GetTextExtent(QStringLiteral("****ID0****"));
        const int64_t left = int64_t(origin.x()) - sample.width() / 2;
        const int y = ClampToInt(int64_t(origin.y()) - 2 - plot.m_size / 2 - sample.height() / 2);
        DrawSegment(dc, plot.m_historyLine, QPoint(ClampToInt(left), y), QPoint(ClampToInt(left + sample.width()), y));
    }

    for (int32_t i = 0; i < plot.UsedAxisCount(); ++i) {
        const CAxisInfo& a = plot.m_axes[size_t(i)];
        if (a.m_showAxisLine)
            DrawAxis(dc, a, scale);
        else
            DrawArrow(dc, a, plot.m_color, 2, scale);
    }
    DrawMarker(dc, plot, origin, plot.m_size / 2);

    const LOGFONTW bold = SelectedIdFont();
    DrawPlotId(dc, plot, origin, &bold, kSelectedIdColor, kSelectedIdBack);
}
