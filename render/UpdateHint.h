#pragma once

#include <cstdint>

// The two kinds of view: the scroll view shows the picture at its own size, the stretch view
// fits it into its window.
enum class ViewKind : int32_t { Scroll = 0, Stretch = 1 };

// What a view does with its layers for one update hint, in this order: recreate them, render
// the base layer, render the overlay layer (which copies the base first) or just copy the base
// into the overlay, then repaint the window.
struct CHintAction
{
    bool m_createLayers = false;
    bool m_renderBase = false;
    bool m_renderOverlay = false;
    bool m_copyBase = false;
    bool m_repaint = false;
};

// Hints 0 to 6 as records, dialogs and the picture change send them; any other does nothing.
// The stretch view keeps its picture rectangle on hint 6 until its size changes; the scroll
// view takes the new picture size at once.
CHintAction HintAction(ViewKind kind, int32_t hint);
