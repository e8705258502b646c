#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

// The part of a layer that drawing may have changed, kept in square tiles: copying a layer
// into another only has to copy what was drawn on either since their last full copy.
// Rectangles are clipped to the layer; a rectangle only needs to contain what the drawing
// touched, never to match it.
class CDamage
{
public:
    // Small enough for thin lines and texts not to drag much of their surroundings along.
    static constexpr int kDefaultTile = 8;

    CDamage() = default;
    explicit CDamage(QSize size, int tile = kDefaultTile) { Reset(size, tile); }

    // Nothing damaged, for a layer of this size.
    void Reset(QSize size, int tile = kDefaultTile);
    QSize Size() const { return m_size; }
    void AddAll();
    void Add(const QRect& rect);
    void Add(int64_t left, int64_t top, int64_t right, int64_t bottom); // right, bottom exclusive
    // Layers of the same size and tiles only; anything else counts as all damaged.
    void Add(const CDamage& other);
    void Clear();

    bool IsEmpty() const { return !m_all && !m_any; }
    bool IsAll() const { return m_all; }
    // The damaged tiles as a region of the layer.
    QRegion Region() const;

    // Copies the damaged part of from into to: images of the layer's size, in one 32-bit
    // format.
    void Copy(const QImage& from, QImage& to) const;

private:
    // f(left, right, top, bottom) for every run of damaged tiles in a row, in region order.
    template <typename F>
    void ForEachRun(F&& f) const;

    QSize m_size;
    int m_tile = kDefaultTile;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<uint8_t> m_tiles;
    bool m_any = false; // some tile marked
    bool m_all = false;
};
