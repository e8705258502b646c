#include "model/TextPlacement.h"

#include "model/PixelMath.h"

#include <cmath>

QPoint PlaceText(TextAnchor anchor, int32_t distance, QPoint point, QSize extent)
{
    // 64-bit arithmetic: points and distances from a file may sit at the ends of the range.
    const int64_t x = point.x();
    const int64_t y = point.y();
    const int64_t cx = extent.width();
    const int64_t cy = extent.height();
    const int64_t d = distance;
    const int64_t diag = static_cast<int64_t>(d / std::sqrt(2.0));
    int64_t left = x;
    int64_t top = y;
    switch (anchor) {
    case TextAnchor::TopLeft:
        left = x - (cx + diag);
        top = y - (cy + diag);
        break;
    case TextAnchor::TopCenter:
        left = x - cx / 2;
        top = y - (cy + d);
        break;
    case TextAnchor::TopRight:
        left = x + diag;
        top = y - (cy + diag);
        break;
    case TextAnchor::MiddleLeft:
        left = x - (cx + d);
        top = y - cy / 2;
        break;
    case TextAnchor::Center:
        left = x - cx / 2;
        top = y - cy / 2;
        break;
    case TextAnchor::MiddleRight:
        left = x + diag;
        top = y - cy / 2;
        break;
    case TextAnchor::BottomLeft:
        left = x - (cx + diag);
        top = y + diag;
        break;
    case TextAnchor::BottomCenter:
        left = x - cx / 2;
        top = y + d;
        break;
    case TextAnchor::BottomRight:
        left = x + diag;
        top = y + diag;
        break;
    }
    return QPoint(ClampToInt(left), ClampToInt(top));
}
