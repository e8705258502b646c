#pragma once

#include "render/DrawContext.h"

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// The pixels of a shape the painter drew once, for drawing it again elsewhere: a history
// replay draws the same markers and short wide segments hundreds of times per record, and
// the painter's round shapes are slow. The painter rasterises without antialiasing at whole-
// pixel offsets alike, so a shape's pixels only move with it.
struct CSprite
{
    struct CRun
    {
        int m_y, m_left, m_right; // relative to the shape's reference point
        QRgb m_color;
    };
    std::vector<CRun> m_runs; // the pixels the shape sets, row by row
    // False when the painter left partly covered pixels or touched the border of the
    // scratch image: the shape is then drawn by the painter itself.
    bool m_usable = true;
};

// What drawing contexts keep from one to the next: a view draws its layers with a fresh
// context for every record, and shapes and texts (axis labels above all) repeat from record
// to record. Bounded; not thread-safe (a view uses its own under its lock).
class CDrawCache
{
public:
    // The ellipse filling a box of this size with the pen and brush; null when not kept.
    const CSprite* FindEllipse(QSize box, const CDcPen& pen, const CDcBrush& brush) const;
    const CSprite& AddEllipse(QSize box, const CDcPen& pen, const CDcBrush& brush, CSprite sprite);
    // A wide pen's stroke from a point to the point + delta, reference point at its start.
    const CSprite* FindStroke(QPoint delta, const CDcPen& pen) const;
    const CSprite& AddStroke(QPoint delta, const CDcPen& pen, CSprite sprite);

    size_t StrokeCount() const { return m_strokes.size(); }

    // The measure of a text in a font at a resolution (an image's dots per inch, both ways).
    CTextMeasure* FindText(const LOGFONTW& font, int dpi, const QString& text);
    CTextMeasure& AddText(const LOGFONTW& font, int dpi, const QString& text, CTextMeasure measure);

private:
    struct CEllipseEntry
    {
        QSize m_box;
        CDcPen m_pen;
        CDcBrush m_brush;
        CSprite m_sprite;
    };
    struct CStrokeKey
    {
        QPoint m_delta;
        CDcPen m_pen;
        bool operator==(const CStrokeKey&) const = default;
    };
    struct CStrokeHash
    {
        size_t operator()(const CStrokeKey& k) const;
    };

    struct CTextKey
    {
        LOGFONTW m_font;
        int m_dpi;
        QString m_text;
        bool operator==(const CTextKey&) const = default;
    };
    struct CTextHash
    {
        size_t operator()(const CTextKey& k) const;
    };

    std::vector<CEllipseEntry> m_ellipses;
    std::unordered_map<CStrokeKey, CSprite, CStrokeHash> m_strokes;
    std::unordered_map<CTextKey, CTextMeasure, CTextHash> m_texts;
};
