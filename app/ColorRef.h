#pragma once

#include "platform/UserInteraction.h"

#include <QColor>

// COLORREF is 0x00BBGGRR; the top byte is not a colour and is dropped.
inline QColor QColorFromColorRef(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline COLORREF ColorRefFromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return COLORREF(rgb.red()) | (COLORREF(rgb.green()) << 8) | (COLORREF(rgb.blue()) << 16);
}

// A chooser confirmed without a change hands back the value it was given, top byte and all.
inline COLORREF KeepUnlessChanged(COLORREF initial, const QColor& chosen)
{
    const COLORREF chosenRef = ColorRefFromQColor(chosen);
    return chosenRef == (initial & 0x00FFFFFF) ? initial : chosenRef;
}
