#pragma once

#include "platform/Archive.h"

#include <QString>

#include <cstdint>

// Enumerations shared by the design elements and their dialogs. Every one is stored as an
// int32 in memory and in files; a value outside the list is kept as it is (files may hold
// anything) and each operation treats it as its "other value" case.

enum class ValueKind : int32_t { Instant = 0, Max = 1, Min = 2, String = 3 };
enum class DisplayKind : int32_t { Latest = 0, History = 1 };
enum class LogicalKind : int32_t { Number = 0, DateTime = 1, InputCount = 2 };
enum class OriginKind : int32_t { Fixed = 0, Moving = 1 };
// Equal to the pen styles of the drawing context.
enum class LineStyle : int32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };
enum class TextAnchor : int32_t {
    TopLeft = 0,
    TopCenter = 1,
    TopRight = 2,
    MiddleLeft = 3,
    Center = 4,
    MiddleRight = 5,
    BottomLeft = 6,
    BottomCenter = 7,
    BottomRight = 8,
};
enum class PlotShape : int32_t { Circle = 0, Square = 1, Diamond = 2, TriangleUp = 3, TriangleDown = 4, Cross = 5, Plus = 6 };
enum class TickSide : int32_t { Both = 0, UpperLeft = 1, LowerRight = 2 };
// A document's state, stored and compared as int32 (CVantrelDoc::m_editMode): idle, feed
// running, or which list or edit dialog is open.
namespace EditMode {
enum : int32_t {
    None = 0,
    Running = 1,
    PlotList = 2,
    PlotAdd = 3,
    PlotChange = 4,
    ConnectList = 5,
    ConnectAdd = 6,
    ConnectChange = 7,
    BarList = 8,
    BarAdd = 9,
    BarChange = 10,
};
} // namespace EditMode

enum class BarAnchor : int32_t { Center = 0, Start = 1, End = 2 };

// Store or load an enumeration in its int32 form.
template <typename E>
void ExchangeEnum(CArchive& ar, E& value)
{
    int32_t raw = static_cast<int32_t>(value);
    ar.Exchange(raw);
    value = static_cast<E>(raw);
}

// Captions the dialogs show for each value; empty for a value outside the list.
QString Caption(ValueKind v);
QString Caption(DisplayKind v);
QString Caption(LogicalKind v);
QString Caption(OriginKind v);
QString Caption(LineStyle v);
QString Caption(TextAnchor v);
QString Caption(PlotShape v);
QString Caption(TickSide v);
QString Caption(BarAnchor v);
