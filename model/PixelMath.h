#pragma once

#include <QPoint>

#include <cmath>
#include <cstdint>
#include <limits>

// Truncation toward zero into the int range, saturating; NaN goes to the far negative end
// so that a point without a meaningful value lands off every picture.
inline int TruncToInt(double v)
{
    if (std::isnan(v) || v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

inline int ClampToInt(int64_t v)
{
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// A design coordinate pair as a pixel of a view drawn at the given scale.
inline QPoint DesignToPixel(double x, double y, double scale)
{
    return QPoint(TruncToInt(x * scale), TruncToInt(y * scale));
}
