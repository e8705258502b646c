#include "render/Damage.h"

#include <algorithm>
#include <cstring>

void CDamage::Reset(QSize size, int tile)
{
    m_tile = std::max(tile, 1);
    m_size = size.isValid() ? size : QSize(0, 0);
    m_columns = (m_size.width() + m_tile - 1) / m_tile;
    m_rows = (m_size.height() + m_tile - 1) / m_tile;
    m_tiles.assign(size_t(m_columns) * size_t(m_rows), 0);
    m_any = false;
    m_all = false;
}

void CDamage::AddAll()
{
    m_all = true;
}

void CDamage::Clear()
{
    if (m_any)
        std::fill(m_tiles.begin(), m_tiles.end(), uint8_t(0));
    m_any = false;
    m_all = false;
}

void CDamage::Add(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    Add(rect.left(), rect.top(), int64_t(rect.right()) + 1, int64_t(rect.bottom()) + 1);
}

void CDamage::Add(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    if (m_all)
        return;
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, m_size.width());
    bottom = std::min<int64_t>(bottom, m_size.height());
    if (left >= right || top >= bottom)
        return;
    const int c0 = int(left / m_tile), c1 = int((right - 1) / m_tile);
    const int r0 = int(top / m_tile), r1 = int((bottom - 1) / m_tile);
    for (int r = r0; r <= r1; ++r) {
        uint8_t* row = m_tiles.data() + size_t(r) * size_t(m_columns);
        std::fill(row + c0, row + c1 + 1, uint8_t(1));
    }
    m_any = true;
}

void CDamage::Add(const CDamage& other)
{
    if (m_all || other.IsEmpty())
        return;
    if (other.m_all || other.m_size != m_size || other.m_tile != m_tile) {
        m_all = true;
        return;
    }
    // Eight tiles at a time: this runs over every tile of a layer twice per record.
    uint8_t* const tiles = m_tiles.data();
    const uint8_t* const others = other.m_tiles.data();
    const size_t n = m_tiles.size();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, tiles + i, 8);
        std::memcpy(&b, others + i, 8);
        a |= b;
        std::memcpy(tiles + i, &a, 8);
    }
    for (; i < n; ++i)
        tiles[i] |= others[i];
    m_any = true;
}

template <typename F>
void CDamage::ForEachRun(F&& f) const
{
    for (int r = 0; r < m_rows && m_any; ++r) {
        const uint8_t* row = m_tiles.data() + size_t(r) * size_t(m_columns);
        const int top = r * m_tile, bottom = std::min(top + m_tile, m_size.height());
        for (int c = 0; c < m_columns;) {
            if (!row[c]) {
                // Most tiles are clean: skip them eight at a time.
                uint64_t word = 0;
                if (c + 8 <= m_columns && (std::memcpy(&word, row + c, 8), word == 0))
                    c += 8;
                else
                    ++c;
                continue;
            }
            int end = c + 1;
            while (end < m_columns && row[end])
                ++end;
            f(c * m_tile, std::min(end * m_tile, m_size.width()), top, bottom);
            c = end;
        }
    }
}

QRegion CDamage::Region() const
{
    if (m_all)
        return QRegion(0, 0, m_size.width(), m_size.height());
    QList<QRect> rects;
    ForEachRun([&](int left, int right, int top, int bottom) {
        rects.push_back(QRect(left, top, right - left, bottom - top));
    });
    // Row by row from top to bottom and left to right, as a region keeps them.
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

void CDamage::Copy(const QImage& from, QImage& to) const
{
    if (IsEmpty() || from.size() != m_size || to.size() != m_size || from.depth() != 32 || to.depth() != 32)
        return;
    if (m_all && from.bytesPerLine() == to.bytesPerLine()) {
        std::memcpy(to.bits(), from.constBits(), size_t(from.sizeInBytes()));
        return;
    }
    uchar* const toBits = to.bits();
    const uchar* const fromBits = from.constBits();
    auto copyRows = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            std::memcpy(toBits + y * to.bytesPerLine() + x0 * 4, fromBits + y * from.bytesPerLine() + x0 * 4,
                        size_t(x1 - x0) * 4);
    };
    if (m_all) {
        copyRows(0, m_size.width(), 0, m_size.height());
        return;
    }
    ForEachRun([&](int left, int right, int top, int bottom) { copyRows(left, right, top, bottom); });
}
