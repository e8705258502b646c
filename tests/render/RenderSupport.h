#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

// A white layer of the given size, in the format the views use.
inline QImage BlankLayer(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The image as rows of '.' (white) and '#' (anything else), for expected pictures drawn by
// hand in the test source.
inline QStringList Art(const QImage& image, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QString row;
        for (int x = area.left(); x <= area.right(); ++x)
            row += image.pixel(x, y) == qRgb(255, 255, 255) ? u'.' : u'#';
        rows << row;
    }
    return rows;
}

// Smallest rectangle holding every pixel that differs from the background; null when none.
inline QRect InkBounds(const QImage& image, QRgb background = qRgb(255, 255, 255))
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

inline int CountInk(const QImage& image, QRgb background = qRgb(255, 255, 255))
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != background;
    }
    return n;
}

// Pixels of exactly this colour, and the rectangle around them.
inline int PixelsOfColor(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color;
    }
    return n;
}

inline QRect ColorBounds(const QImage& image, QRgb color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
