#include "render/LayerContent.h"

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "render/DrawContext.h"
#include "render/ElementDrawing.h"

#include <QImage>

#include <cstring>

namespace {

// The selected element of a working list; null for no selection or an index the list does
// not hold.
template <typename T>
T* Selected(std::vector<T>& list, int32_t index)
{
    return index >= 0 && size_t(index) < list.size() ? &list[size_t(index)] : nullptr;
}

} // namespace

void DrawBaseElements(CDrawContext& dc, CVantrelDoc& doc, double scale)
{
    const int32_t selected = doc.m_selectedIndex;
    switch (doc.m_editMode) {
    case EditMode::Running:
        for (const CConnectInfo& c : doc.m_connects)
            DrawIfHistory(dc, c, doc.m_plots, scale);
        for (const CPlotInfo& p : doc.m_plots)
            DrawIncrement(dc, p, doc.m_plots, scale);
        return;
    case EditMode::PlotList:
    case EditMode::PlotAdd:
    case EditMode::PlotChange:
        for (size_t i = 0; i < doc.m_workPlots.size(); ++i) {
            if (int64_t(i) != selected)
                DrawEdit(dc, doc.m_workPlots[i], true, scale);
        }
        // The list shows the selected plot like the others; the edit dialogs leave it to the
        // overlay alone.
        if (doc.m_editMode == EditMode::PlotList) {
            if (const CPlotInfo* p = Selected(doc.m_workPlots, selected))
                DrawEdit(dc, *p, true, scale);
        }
        return;
    case EditMode::ConnectList:
    case EditMode::ConnectAdd:
    case EditMode::ConnectChange:
        for (const CPlotInfo& p : doc.m_plots)
            DrawEdit(dc, p, false, scale);
        return;
    case EditMode::BarList:
    case EditMode::BarAdd:
    case EditMode::BarChange:
        for (size_t i = 0; i < doc.m_workBars.size(); ++i) {
            if (int64_t(i) != selected)
                DrawEdit(dc, doc.m_workBars[i], scale);
        }
        if (doc.m_editMode == EditMode::BarList) {
            if (const CBarInfo* b = Selected(doc.m_workBars, selected))
                DrawEdit(dc, *b, scale);
        }
        return;
    default:
        return;
    }
}

void DrawOverlayElements(CDrawContext& dc, CVantrelDoc& doc, double scale)
{
    const int32_t selected = doc.m_selectedIndex;
    switch (doc.m_editMode) {
    case EditMode::Running:
        for (const CConnectInfo& c : doc.m_connects) {
            if (c.m_displayKind != DisplayKind::History)
                DrawConnect(dc, c, doc.m_plots, scale);
        }
        for (CPlotInfo& p : doc.m_plots)
            DrawPlot(dc, p, doc.m_plots, scale);
        for (const CBarInfo& b : doc.m_bars)
            DrawBar(dc, b, scale);
        return;
    case EditMode::PlotList:
    case EditMode::PlotAdd:
    case EditMode::PlotChange:
        if (const CPlotInfo* p = Selected(doc.m_workPlots, selected))
            DrawEditSelected(dc, *p, scale);
        return;
    case EditMode::ConnectList:
    case EditMode::ConnectAdd:
    case EditMode::ConnectChange:
        if (const CConnectInfo* c = Selected(doc.m_workConnects, selected))
            DrawEdit(dc, *c, doc.m_plots, scale);
        return;
    case EditMode::BarList:
    case EditMode::BarAdd:
    case EditMode::BarChange:
        if (const CBarInfo* b = Selected(doc.m_workBars, selected))
            DrawEditSelected(dc, *b, scale);
        return;
    default:
        return;
    }
}

void CopyLayer(const QImage& base, QImage& overlay)
{
    if (overlay.size() != base.size() || overlay.format() != base.format()) {
        overlay = base.copy();
        return;
    }
    if (base.isNull())
        return;
    const qsizetype line = std::min(base.bytesPerLine(), overlay.bytesPerLine());
    if (base.bytesPerLine() == overlay.bytesPerLine()) {
        std::memcpy(overlay.bits(), base.constBits(), size_t(base.sizeInBytes()));
        return;
    }
    for (int y = 0; y < base.height(); ++y)
        std::memcpy(overlay.scanLine(y), base.constScanLine(y), size_t(line));
}
