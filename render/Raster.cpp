#include "render/Raster.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace {

int64_t Sign(int64_t v)
{
    return (v > 0) - (v < 0);
}

// Smallest integer >= num / den for den > 0.
int64_t CeilDiv(__int128 num, int64_t den)
{
    if (num >= INT64_MIN && num <= INT64_MAX) {
        const int64_t n = static_cast<int64_t>(num);
        return n / den + (n % den != 0 && n > 0);
    }
    __int128 q = num / den;
    if (num % den != 0 && num > 0)
        ++q;
    return static_cast<int64_t>(q);
}

} // namespace

void CRaster::Put(int64_t x, int64_t y, QRgb color, PixelMix mix)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    QRgb& p = reinterpret_cast<QRgb*>(m_bits + y * m_stride)[x];
    switch (mix) {
    case PixelMix::Copy: p = color | 0xFF000000u; break;
    case PixelMix::Xor: p ^= color & 0x00FFFFFFu; break;
    case PixelMix::Invert: p ^= 0x00FFFFFFu; break;
    }
}

void CRaster::Span(int64_t y, int64_t left, int64_t right, QRgb color, PixelMix mix)
{
    if (y < 0 || y >= m_height)
        return;
    left = std::max<int64_t>(left, 0);
    right = std::min<int64_t>(right, m_width);
    if (left >= right)
        return;
    QRgb* row = reinterpret_cast<QRgb*>(m_bits + y * m_stride);
    switch (mix) {
    case PixelMix::Copy: std::fill(row + left, row + right, color | 0xFF000000u); break;
    case PixelMix::Xor:
        for (int64_t x = left; x < right; ++x)
            row[x] ^= color & 0x00FFFFFFu;
        break;
    case PixelMix::Invert:
        for (int64_t x = left; x < right; ++x)
            row[x] ^= 0x00FFFFFFu;
        break;
    }
}

void CRaster::Rect(int64_t left, int64_t top, int64_t right, int64_t bottom, QRgb color, PixelMix mix)
{
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, m_height);
    for (int64_t y = top; y < bottom; ++y)
        Span(y, left, right, color, mix);
}

void CRaster::Line(QPoint from, QPoint to, QRgb color, PixelMix mix, std::span<const int> dashes)
{
    const int64_t x0 = from.x(), y0 = from.y();
    const int64_t dx = int64_t(to.x()) - x0, dy = int64_t(to.y()) - y0;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0)
        return;
    const bool xMajor = adx >= ady;
    // Step i = 0 .. n-1 moves one pixel along the major axis; the end point (step n) is
    // left out. The minor offset of step i is round-half-up(i * minor / major).
    const int64_t n = xMajor ? adx : ady;
    const int64_t minorLen = xMajor ? ady : adx;
    const int64_t m0 = xMajor ? x0 : y0;
    const int64_t n0 = xMajor ? y0 : x0;
    const int64_t sm = Sign(xMajor ? dx : dy);
    const int64_t sn = Sign(xMajor ? dy : dx);
    const int64_t limit = xMajor ? m_width : m_height;

    // Only the steps whose major coordinate lies on the image.
    int64_t first = 0, last = n - 1;
    if (sm > 0) {
        first = std::max(first, -m0);
        last = std::min(last, limit - 1 - m0);
    } else {
        first = std::max(first, m0 - (limit - 1));
        last = std::min(last, m0);
    }
    if (first > last)
        return;

    const int64_t twiceMajor = 2 * n;
    const __int128 start = __int128(2) * first * minorLen + n;
    int64_t offset = static_cast<int64_t>(start / twiceMajor);
    int64_t rem = static_cast<int64_t>(start % twiceMajor);

    int dashTotal = 0;
    if (!dashes.empty())
        dashTotal = std::accumulate(dashes.begin(), dashes.end(), 0);
    int64_t phase = dashTotal > 0 ? first % dashTotal : 0;

    for (int64_t i = first; i <= last; ++i) {
        bool on = true;
        if (dashTotal > 0) {
            int64_t p = phase;
            size_t k = 0;
            while (p >= dashes[k]) {
                p -= dashes[k];
                k = (k + 1) % dashes.size();
            }
            on = k % 2 == 0;
            if (++phase == dashTotal)
                phase = 0;
        }
        if (on) {
            const int64_t m = m0 + sm * i;
            const int64_t minor = n0 + sn * offset;
            if (xMajor)
                Put(m, minor, color, mix);
            else
                Put(minor, m, color, mix);
        }
        rem += 2 * minorLen;
        if (rem >= twiceMajor) {
            rem -= twiceMajor;
            ++offset;
        }
    }
}

void CRaster::Polygon(std::span<const QPoint> points, QRgb color, PixelMix mix)
{
    if (points.size() < 3)
        return;
    int64_t top = points[0].y(), bottom = points[0].y();
    for (const QPoint& p : points) {
        top = std::min<int64_t>(top, p.y());
        bottom = std::max<int64_t>(bottom, p.y());
    }
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, m_height);

    std::vector<int64_t> crossings;
    crossings.reserve(points.size());
    for (int64_t y = top; y < bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            QPoint a = points[i];
            QPoint b = points[(i + 1) % points.size()];
            if (a.y() == b.y())
                continue;
            if (a.y() > b.y())
                std::swap(a, b);
            // Top end included, bottom end not: a vertex shared by two edges counts once.
            if (y < a.y() || y >= b.y())
                continue;
            const __int128 num = __int128(y - a.y()) * (int64_t(b.x()) - a.x());
            crossings.push_back(a.x() + CeilDiv(num, int64_t(b.y()) - a.y()));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2)
            Span(y, crossings[k], crossings[k + 1], color, mix);
    }
}
