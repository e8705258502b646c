#pragma once

#include <QPoint>
#include <QRgb>
#include <QSize>

#include <cstdint>
#include <span>

// How a pixel is combined with the colour: copied, XORed with it, or inverted.
enum class PixelMix { Copy, Xor, Invert };

// Direct pixel access to a 32-bit image, for the primitives whose exact pixels matter:
// one-pixel lines, polygon regions and rectangles. Every coordinate in the int range is
// accepted and clipped to the image first, so the work is bounded by the image size.
class CRaster
{
public:
    CRaster() = default;
    CRaster(uchar* bits, qsizetype bytesPerLine, QSize size)
        : m_bits(bits), m_stride(bytesPerLine), m_width(size.width()), m_height(size.height())
    {
    }

    // Pixels left <= x < right on row y.
    void Span(int64_t y, int64_t left, int64_t right, QRgb color, PixelMix mix);
    // Rows top <= y < bottom of the columns left <= x < right.
    void Rect(int64_t left, int64_t top, int64_t right, int64_t bottom, QRgb color, PixelMix mix);
    // From `from` toward `to`, the end pixel left unset. dashes, when not empty, alternate
    // on and off runs in pixels counted along the major axis.
    void Line(QPoint from, QPoint to, QRgb color, PixelMix mix, std::span<const int> dashes = {});
    // Alternate (odd-even) fill: a pixel belongs when its top-left corner lies inside, left
    // and top edges included, right and bottom ones not.
    void Polygon(std::span<const QPoint> points, QRgb color, PixelMix mix);

private:
    void Put(int64_t x, int64_t y, QRgb color, PixelMix mix);

    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
};
