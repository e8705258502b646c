#include "views/MouseGesture.h"

#include "dialogs/EditDialog.h"
#include "model/Enums.h"
#include "platform/NumberParse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

DragKind DragKindFor(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    // The buttons and keys a button message's flag word carries; nothing else takes part.
    const Qt::MouseButtons pressed =
        buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton | Qt::BackButton | Qt::ForwardButton);
    const Qt::KeyboardModifiers keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    if (pressed != Qt::LeftButton)
        return DragPlain;
    if (keys == (Qt::ShiftModifier | Qt::ControlModifier))
        return DragShiftCtrl;
    if (keys == Qt::ControlModifier)
        return DragCtrl;
    if (keys == Qt::ShiftModifier)
        return DragShift;
    return DragPlain;
}

bool GesturesActive(int32_t editMode)
{
    return editMode == EditMode::PlotAdd || editMode == EditMode::PlotChange || editMode == EditMode::BarAdd
        || editMode == EditMode::BarChange;
}

QString FormatCoordinate(double value)
{
    return QString::asprintf("%.3f", value);
}

std::array<QString, 4> MoveAxisToPoint(QPointF p, const std::array<QString, 4>& texts)
{
    std::array<double, 4> v{};
    bool all = true;
    for (size_t i = 0; i < texts.size(); ++i) {
        const NumberParseResult r = ParseDouble(texts[i]);
        all = all && r.ok;
        v[i] = r.value;
    }
    const double endX = all ? v[2] - v[0] + p.x() : p.x();
    const double endY = all ? v[3] - v[1] + p.y() : p.y();
    return {FormatCoordinate(p.x()), FormatCoordinate(p.y()), FormatCoordinate(endX), FormatCoordinate(endY)};
}

namespace {

using namespace EditControl;

constexpr std::array<int, 4> kAxis1 = {Axis1StartX, Axis1StartY, Axis1EndX, Axis1EndY};
constexpr std::array<int, 4> kAxis2 = {Axis2StartX, Axis2StartY, Axis2EndX, Axis2EndY};

bool IsPlotMode(int32_t mode)
{
    return mode == EditMode::PlotAdd || mode == EditMode::PlotChange;
}

void MoveAxis(CGestureRelease& out, const std::array<int, 4>& fields, QPointF p, const FieldTextFn& fieldText)
{
    std::array<QString, 4> texts;
    for (size_t i = 0; i < fields.size(); ++i)
        texts[i] = fieldText(fields[i]);
    const std::array<QString, 4> moved = MoveAxisToPoint(p, texts);
    for (size_t i = 0; i < fields.size(); ++i)
        out.m_writes.push_back({fields[i], moved[i]});
}

void WriteAxis(CGestureRelease& out, const std::array<int, 4>& fields, QPointF from, QPointF to)
{
    out.m_writes.push_back({fields[0], FormatCoordinate(from.x())});
    out.m_writes.push_back({fields[1], FormatCoordinate(from.y())});
    out.m_writes.push_back({fields[2], FormatCoordinate(to.x())});
    out.m_writes.push_back({fields[3], FormatCoordinate(to.y())});
}

// The square box centred between start and end whose side is the larger of the drag's
// extents, truncated to an even number of pixels; returns the side.
int CentredBox(QPoint start, QPoint end, QRect& box)
{
    const int64_t dx = std::llabs(int64_t(end.x()) - start.x());
    const int64_t dy = std::llabs(int64_t(end.y()) - start.y());
    const int half = int(std::max(dx, dy) / 2);
    const int cx = int((int64_t(start.x()) + end.x()) / 2);
    const int cy = int((int64_t(start.y()) + end.y()) / 2);
    box = QRect(cx - half, cy - half, 2 * half, 2 * half);
    return 2 * half;
}

} // namespace

CGestureRelease DecideRelease(DragKind kind, QPoint start, QPoint end, int32_t editMode,
                              const ClientToDesignFn& toDesign, const FieldTextFn& fieldText)
{
    CGestureRelease out;
    if (!GesturesActive(editMode))
        return out;
    const double dx = double(end.x()) - start.x();
    const double dy = double(end.y()) - start.y();
    const bool click = std::sqrt(dx * dx + dy * dy) < kClickDistance;
    const bool plot = IsPlotMode(editMode);

    if (kind == DragPlain && click) {
        out.m_mark.m_kind = GestureMarkKind::ClickDisc;
        out.m_mark.m_box = QRect(start.x() - 3, start.y() - 3, 7, 7);
        const QPointF p = toDesign(start);
        MoveAxis(out, kAxis1, p, fieldText);
        // The second axis follows even while it is switched off in the dialog.
        if (plot)
            MoveAxis(out, kAxis2, p, fieldText);
        out.m_apply = true;
    } else if ((kind == DragPlain || (kind == DragCtrl && plot)) && !click) {
        out.m_mark.m_kind = GestureMarkKind::Line;
        out.m_mark.m_from = start;
        out.m_mark.m_to = end;
        WriteAxis(out, kind == DragPlain ? kAxis1 : kAxis2, toDesign(start), toDesign(end));
        out.m_apply = true;
    } else if (kind == DragShift && plot && !click) {
        out.m_mark.m_kind = GestureMarkKind::Circle;
        const int size = CentredBox(start, end, out.m_mark.m_box);
        out.m_writes.push_back({PlotSize, QString::asprintf("%d", size)});
        out.m_apply = true;
    } else if (kind == DragCtrl && !plot && !click) {
        out.m_mark.m_kind = GestureMarkKind::Square;
        const int width = CentredBox(start, end, out.m_mark.m_box);
        out.m_writes.push_back({BarPixelWidth, QString::asprintf("%d", width)});
        out.m_apply = true;
    }
    return out;
}
