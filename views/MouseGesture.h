#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include <Qt>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// The left-button gestures on the views while a plot or bar edit dialog is open: what a drag
// or click writes into the dialog's fields, decided without any widget.

enum DragKind : int32_t {
    DragNone = 0,
    DragPlain = 1,     // left button alone
    DragShift = 2,     // with SHIFT
    DragCtrl = 3,      // with CTRL
    DragShiftCtrl = 4, // with SHIFT and CTRL
};

// The gesture a left button press starts. The whole button and key state is compared, so a
// press with another button held, or with SHIFT or CTRL besides, is plain; other modifier keys
// do not count.
DragKind DragKindFor(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// The edit modes in which the gestures feed the open edit dialog.
bool GesturesActive(int32_t editMode);

// Below this distance (in whole pixels) a release is a click.
constexpr double kClickDistance = 3.0;

enum class GestureMarkKind : int32_t { None, ClickDisc, Line, Circle, Square };

// What a finished gesture leaves on the window until the view draws its layers again.
struct CGestureMark
{
    GestureMarkKind m_kind = GestureMarkKind::None;
    QPoint m_from, m_to; // Line
    QRect m_box;         // ClickDisc, Circle, Square
};

struct CFieldWrite
{
    int m_control = 0;
    QString m_text;
};

struct CGestureRelease
{
    std::vector<CFieldWrite> m_writes; // in this order
    bool m_apply = false;
    CGestureMark m_mark;
};

// Client point to design coordinates, for a view that can convert.
using ClientToDesignFn = std::function<QPointF(QPoint)>;
// The current text of an edit dialog field by control number.
using FieldTextFn = std::function<QString(int)>;

// The writes, the Apply and the mark of a gesture of kind that went down at start and up at
// end, in the edit mode at the release.
CGestureRelease DecideRelease(DragKind kind, QPoint start, QPoint end, int32_t editMode,
                              const ClientToDesignFn& toDesign, const FieldTextFn& fieldText);

// Moves an axis whose start, end fields hold texts[0..3] (start x, y, end x, y) so that it
// starts at p, keeping its direction and length; when any text is not a number both ends go
// to p. Returns the four new texts in the same order.
std::array<QString, 4> MoveAxisToPoint(QPointF p, const std::array<QString, 4>& texts);

QString FormatCoordinate(double value);
