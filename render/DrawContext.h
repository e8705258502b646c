#pragma once

#include "platform/LogFont.h"
#include "render/Raster.h"
#include "platform/UserInteraction.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CDamage;
class CDrawCache;
struct CSprite;

// Pen styles; 0..4 equal LineStyle.
enum : int32_t {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
};

// Mix modes for pens and region fills.
enum class RasterOp : int32_t { Not = 6, XorPen = 7, CopyPen = 13 };
enum class BkMode : int32_t { Transparent = 1, Opaque = 2 };

struct CDcPen
{
    int32_t m_style = PS_SOLID; // unknown styles draw solid
    int32_t m_width = 1;        // pixels; 0 and below draw one pixel wide
    COLORREF m_color = 0;

    bool operator==(const CDcPen&) const = default;
};

struct CDcBrush
{
    bool m_null = false;
    COLORREF m_color = 0;

    static CDcBrush Solid(COLORREF c) { return {false, c}; }
    static CDcBrush Null() { return {true, 0}; }

    bool operator==(const CDcBrush&) const = default;
};

QColor ColorFromRef(COLORREF c);

// A text as a font lays it out: its width, and for texts drawn glyph by glyph the glyphs and
// their positions; the box its pixels stay in once known.
struct CTextMeasure
{
    int m_width = 0;
    bool m_direct = false;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
    std::optional<QRect> m_ink; // relative to the text's top-left corner
};

// A drawing context with the semantics of the small GDI subset the design uses, painting
// on a QImage with antialiasing off. Rectangles follow GDI: (left, top, right, bottom) with
// right and bottom exclusive. Coordinates anywhere in the int range are accepted; what goes
// to the painter is first cut down to a range it handles exactly.
//
// The image must outlive the context and is not to be copied or painted on by anything else
// meanwhile. An image that is not 32-bit is converted to Format_RGB32 first. Shapes and text
// measures that repeat are kept in the cache, which may outlive the context (one of its own
// without).
class CDrawContext
{
public:
    explicit CDrawContext(QImage& target, CDrawCache* cache = nullptr);
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    ~CDrawContext();

    QImage& Image() { return m_image; }
    QSize Size() const { return m_image.size(); }
    // From now on every pixel drawn lies in a rectangle added to damage (null: none kept).
    void TrackDamage(CDamage* damage) { m_damage = damage; }

    // Selection returns what was selected before, for the caller to restore.
    CDcPen SelectPen(const CDcPen& pen);
    CDcBrush SelectBrush(const CDcBrush& brush);
    LOGFONTW SelectFont(const LOGFONTW& font);
    RasterOp SetROP2(RasterOp op);
    COLORREF SetTextColor(COLORREF c);
    COLORREF SetBkColor(COLORREF c);
    BkMode SetBkMode(BkMode mode);

    const CDcPen& Pen() const { return m_pen; }
    const LOGFONTW& Font() const { return m_font; }

    // The current position; LineTo draws to the point without setting its pixel.
    QPoint MoveTo(int x, int y);
    QPoint MoveTo(QPoint p) { return MoveTo(p.x(), p.y()); }
    void LineTo(int x, int y);
    void LineTo(QPoint p) { LineTo(p.x(), p.y()); }
    // MoveTo the first point, LineTo each following one.
    void Polyline(const QPoint* points, int count);

    // Fills with the colour whatever the mix mode; corners in any order.
    void FillSolidRect(int left, int top, int right, int bottom, COLORREF color);
    // A polygon region in alternate fill mode, filled with a solid brush, no outline.
    void FillPolygonRegion(const QPoint* points, int count, COLORREF color);
    // Outlined with the pen, filled with the brush.
    void Ellipse(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);

    // Text with its top-left corner at (x, y), in the selected font and text colour, on a
    // background of the extent in the background colour when the mode is opaque.
    void TextOut(int x, int y, const QString& text);
    QSize GetTextExtent(const QString& text);

    // The font a fresh context starts with.
    static LOGFONTW DefaultFont();

private:
    PixelMix Mix() const;
    // Pen and mix mode for what the painter draws: wide pens, ellipses, wide rectangles.
    void PreparePainter();
    void StrokeLine(QPoint from, QPoint to);
    int PenWidth() const;
    // What a primitive may touch: the box, right and bottom exclusive, grown by margin.
    void Damage(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t margin = 0);
    // The box of a segment grown by what a wide pen adds around it.
    void DamageStroke(QPoint from, QPoint to);
    // The selected font resolved, with its metrics; fonts stay resolved for the context's
    // lifetime, as texts switch between a few of them.
    struct CResolvedFont
    {
        LOGFONTW m_record;
        QFont m_font;
        QFontMetrics m_metrics;
        QRawFont m_raw;            // for texts drawn glyph by glyph
        bool m_glyphsDirect = false; // the raw font draws as the font does
    };
    const CResolvedFont& ResolvedFont();
    int TextWidth(const CResolvedFont& font, const QString& text);
    // Text metrics follow the image's resolution; both ways in one number, for the cache.
    int Resolution() const { return m_image.logicalDpiX() * 65536 + m_image.logicalDpiY(); }
    // What TextOut at (x, y) may touch, for the text TextWidth measured last.
    void DamageText(const CResolvedFont& font, const QString& text, int x, int y);
    // Small ellipses and short wide strokes drawn with the copy mix come from sprites.
    // The pen as the painter draws with it here, which is what a kept sprite is found by.
    CDcPen SpritePen() const;
    const CSprite& EllipseSprite(int width, int height);
    const CSprite* StrokeSprite(QPoint delta);
    void BlitSprite(const CSprite& sprite, int x, int y);

    QImage& m_image;
    CRaster m_raster; // the exact primitives, on the same pixels as the painter
    QPainter m_painter;
    CDcPen m_pen;
    CDcBrush m_brush;
    LOGFONTW m_font;
    std::vector<CResolvedFont> m_fonts;
    std::unique_ptr<CDrawCache> m_ownCache;
    CDrawCache* m_cache;
    CDamage* m_damage = nullptr;
    int m_fontIndex = -1;        // into m_fonts for m_font; -1 until resolved
    int m_painterFontIndex = -1; // the font the painter holds
    // The last text measured: a text is measured for its placement and then drawn. Texts that
    // need neither shaping nor a fallback font are measured and drawn from their glyphs,
    // without laying them out twice.
    QString m_measuredText;
    int m_measuredFont = -1;
    CTextMeasure m_measured;
    RasterOp m_rop = RasterOp::CopyPen;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0xFFFFFF;
    BkMode m_bkMode = BkMode::Opaque;
    QPoint m_position;
    std::optional<CDcPen> m_painterPen; // the painter's pen is made from this one
    std::optional<COLORREF> m_textPen; // the painter's pen is this text colour
};
