#pragma once

#include "model/Enums.h"

#include <QPoint>
#include <QSize>

#include <cstdint>

// Top-left corner of a text of the given extent placed at `distance` pixels from the anchor
// point on the side `anchor` names. Diagonal positions and MiddleRight use distance/sqrt(2);
// an anchor outside the list puts the corner at the point itself.
QPoint PlaceText(TextAnchor anchor, int32_t distance, QPoint point, QSize extent);
