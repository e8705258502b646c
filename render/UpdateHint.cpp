#include "render/UpdateHint.h"

CHintAction HintAction(ViewKind kind, int32_t hint)
{
    CHintAction a;
    switch (hint) {
    case 0:
        a.m_repaint = true;
        break;
    case 1:
    case 2:
        // Records applied in a batch: the history grows, the window waits for the last one.
        a.m_renderBase = true;
        break;
    case 3:
        a.m_copyBase = true;
        a.m_repaint = true;
        break;
    case 4:
        a.m_renderOverlay = true;
        a.m_repaint = true;
        break;
    case 5:
        a.m_renderBase = true;
        a.m_renderOverlay = true;
        a.m_repaint = true;
        break;
    case 6:
        if (kind == ViewKind::Scroll) {
            a.m_createLayers = true;
        } else {
            a.m_renderBase = true;
            a.m_renderOverlay = true;
        }
        a.m_repaint = true;
        break;
    default:
        break;
    }
    return a;
}
