#include "render/DrawContext.h"

#include "render/Damage.h"
#include "render/FontMapping.h"
#include "render/DrawCache.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

// Coordinates beyond this are cut before they reach the painter. Far larger than any picture,
// so the cut never changes a visible pixel of a rectangle.
constexpr int kCoordLimit = 1 << 20;
constexpr int kEllipseLimit = 1 << 16;
// Ellipses up to this size (markers) are drawn from cached sprites.
constexpr int kSpriteLimit = 64;
// Wide strokes whose scratch image stays within this many pixels are drawn from sprites:
// replayed history segments, and the lines of fixed axes redrawn with every record.
constexpr int64_t kStrokeSpriteArea = 1 << 18;
constexpr int kStrokeSpritePenLimit = 64;

int ClampCoord(int v)
{
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}

// Liang-Barsky against a box; the part of the line inside it as fractions t0 <= t1 of the
// line, or false when nothing remains.
bool ClipLine(const QLineF& line, const QRectF& box, double& t0, double& t1)
{
    const double x0 = line.x1(), y0 = line.y1();
    const double dx = line.x2() - x0, dy = line.y2() - y0;
    t0 = 0;
    t1 = 1;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x0 - box.left(), box.right() - x0, y0 - box.top(), box.bottom() - y0};
    for (size_t i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    return true;
}

// Dash patterns in pixels, on and off runs, as the one-pixel pens draw them.
std::span<const int> DashPattern(int32_t style)
{
    static constexpr int dash[] = {18, 6};
    static constexpr int dot[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return {};
    }
}

// Characters whose glyphs sit one after the other as the font maps them: no marks, no
// surrogates, no control characters, and only scripts without contextual forms.
bool NeedsNoShaping(const QString& text)
{
    for (const QChar c : text) {
        if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
        switch (c.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
            break;
        default:
            return false;
        }
    }
    return true;
}

QRgb RgbFromRef(COLORREF c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

struct Normalized
{
    int left, top, right, bottom;
};

Normalized Normalize(int l, int t, int r, int b)
{
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

} // namespace

QColor ColorFromRef(COLORREF c)
{
    return QColor(RgbFromRef(c));
}

LOGFONTW CDrawContext::DefaultFont()
{
    LOGFONTW f;
    f.lfHeight = 16;
    f.lfWeight = 700;
    f.lfCharSet = 128;
    f.SetFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}

CDrawContext::CDrawContext(QImage& target, CDrawCache* cache)
    : m_image(target)
    , m_font(DefaultFont())
    , m_ownCache(cache ? nullptr : std::make_unique<CDrawCache>())
    , m_cache(cache ? cache : m_ownCache.get())
{
    EnsureFontSubstitutions();
    const QImage::Format format = m_image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
        && format != QImage::Format_ARGB32_Premultiplied)
        m_image = m_image.convertToFormat(QImage::Format_RGB32);
    // Detached here, before the painter starts: both then write the same pixels.
    uchar* bits = m_image.bits();
    m_raster = CRaster(bits, m_image.bytesPerLine(), m_image.size());
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

CDrawContext::~CDrawContext()
{
    if (m_painter.isActive())
        m_painter.end();
}

CDcPen CDrawContext::SelectPen(const CDcPen& pen)
{
    return std::exchange(m_pen, pen);
}

CDcBrush CDrawContext::SelectBrush(const CDcBrush& brush)
{
    return std::exchange(m_brush, brush);
}

LOGFONTW CDrawContext::SelectFont(const LOGFONTW& font)
{
    const LOGFONTW old = m_font;
    if (!(font == m_font)) {
        m_font = font;
        m_fontIndex = -1;
    }
    return old;
}

RasterOp CDrawContext::SetROP2(RasterOp op)
{
    return std::exchange(m_rop, op);
}

COLORREF CDrawContext::SetTextColor(COLORREF c)
{
    return std::exchange(m_textColor, c);
}

COLORREF CDrawContext::SetBkColor(COLORREF c)
{
    return std::exchange(m_bkColor, c);
}

BkMode CDrawContext::SetBkMode(BkMode mode)
{
    return std::exchange(m_bkMode, mode);
}

PixelMix CDrawContext::Mix() const
{
    switch (m_rop) {
    case RasterOp::Not: return PixelMix::Invert;
    case RasterOp::XorPen: return PixelMix::Xor;
    default: return PixelMix::Copy;
    }
}

void CDrawContext::PreparePainter()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (m_rop == RasterOp::Not)
        mode = QPainter::RasterOp_NotDestination;
    else if (m_rop == RasterOp::XorPen)
        mode = QPainter::RasterOp_SourceXorDestination;
    if (m_painter.compositionMode() != mode)
        m_painter.setCompositionMode(mode);
    // Segments select their pen and put the old one back every time; the painter keeps its
    // pen while the selection comes back to it.
    if (m_painterPen == m_pen)
        return;
    m_painterPen = m_pen;
    m_textPen.reset();
    if (m_pen.m_style == PS_NULL) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    const QColor color = ColorFromRef(m_pen.m_color);
    if (m_pen.m_width <= 1) {
        m_painter.setPen(QPen(color, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        return;
    }
    const int width = PenWidth();
    const std::span<const int> dashes = DashPattern(m_pen.m_style);
    if (!dashes.empty()) {
        // Qt measures dashes in pen widths; keep them as long in pixels as on a thin pen.
        QPen pen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        QList<qreal> scaled;
        for (const int d : dashes)
            scaled << qreal(d) / width;
        pen.setDashPattern(scaled);
        m_painter.setPen(pen);
        return;
    }
    m_painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPoint CDrawContext::MoveTo(int x, int y)
{
    return std::exchange(m_position, QPoint(x, y));
}

void CDrawContext::Damage(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t margin)
{
    if (m_damage)
        m_damage->Add(left - margin, top - margin, right + margin, bottom + margin);
}

void CDrawContext::DamageStroke(QPoint from, QPoint to)
{
    // A wide pen reaches half its width beyond the segment (more at square corners), and the
    // painter rounds by up to a pixel.
    const int64_t margin = m_pen.m_width <= 1 ? 0 : int64_t(PenWidth()) + 2;
    Damage(std::min(from.x(), to.x()), std::min(from.y(), to.y()), int64_t(std::max(from.x(), to.x())) + 1,
           int64_t(std::max(from.y(), to.y())) + 1, margin);
}

void CDrawContext::StrokeLine(QPoint from, QPoint to)
{
    if (m_pen.m_style == PS_NULL || from == to)
        return;
    DamageStroke(from, to);
    if (m_pen.m_width <= 1) {
        m_raster.Line(from, to, RgbFromRef(m_pen.m_color), Mix(), DashPattern(m_pen.m_style));
        return;
    }
    PreparePainter();
    // The painter gets the part of the line near the image only: a line that runs far off
    // it would cost time in proportion to its length, dash by dash.
    const double margin = PenWidth() / 2.0 + 2;
    const QRectF box(-margin, -margin, m_image.width() + 2 * margin, m_image.height() + 2 * margin);
    const QLineF line{QPointF(from), QPointF(to)};
    if (box.contains(line.p1()) && box.contains(line.p2())) {
        // Each segment starts its own dash pattern, so the stroke depends on the delta only.
        if (const CSprite* sprite = m_rop == RasterOp::CopyPen ? StrokeSprite(to - from) : nullptr) {
            BlitSprite(*sprite, from.x(), from.y());
            return;
        }
        m_painter.drawLine(from, to);
        return;
    }
    double t0 = 0, t1 = 1;
    if (!ClipLine(line, box, t0, t1))
        return;
    if (t0 > 0 && !DashPattern(m_pen.m_style).empty()) {
        // Keep the dashes where the whole line would have put them.
        QPen pen = m_painter.pen();
        pen.setDashOffset(std::fmod(t0 * line.length() / pen.widthF(), 1 << 20));
        m_painter.setPen(pen);
        m_painterPen.reset();
    }
    m_painter.drawLine(line.pointAt(t0), line.pointAt(t1));
}

int CDrawContext::PenWidth() const
{
    // Wider than twice the image, a pen covers all of it from anywhere it is visible.
    const int64_t cover = 2 * (int64_t(m_image.width()) + m_image.height()) + 16;
    return int(std::clamp<int64_t>(m_pen.m_width, 1, cover));
}

void CDrawContext::LineTo(int x, int y)
{
    const QPoint to(x, y);
    StrokeLine(m_position, to);
    m_position = to;
}

void CDrawContext::Polyline(const QPoint* points, int count)
{
    if (count <= 0)
        return;
    MoveTo(points[0]);
    for (int i = 1; i < count; ++i)
        LineTo(points[i]);
}

void CDrawContext::FillSolidRect(int left, int top, int right, int bottom, COLORREF color)
{
    const Normalized r = Normalize(left, top, right, bottom);
    Damage(r.left, r.top, r.right, r.bottom);
    m_raster.Rect(r.left, r.top, r.right, r.bottom, RgbFromRef(color), PixelMix::Copy);
}

void CDrawContext::FillPolygonRegion(const QPoint* points, int count, COLORREF color)
{
    if (count < 3)
        return;
    int64_t left = points[0].x(), top = points[0].y(), right = left, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min<int64_t>(left, points[i].x());
        top = std::min<int64_t>(top, points[i].y());
        right = std::max<int64_t>(right, points[i].x());
        bottom = std::max<int64_t>(bottom, points[i].y());
    }
    Damage(left, top, right + 1, bottom + 1);
    m_raster.Polygon(std::span<const QPoint>(points, size_t(count)), RgbFromRef(color), Mix());
}

void CDrawContext::Ellipse(int left, int top, int right, int bottom)
{
    const Normalized r = Normalize(left, top, right, bottom);
    // An ellipse this large or this far out has no sensible part on a picture (and costs the
    // painter time in proportion to its size).
    auto near = [](int v) { return v >= -kEllipseLimit && v <= kEllipseLimit; };
    if (!near(r.left) || !near(r.top) || !near(r.right) || !near(r.bottom))
        return;
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    Damage(r.left, r.top, r.right, r.bottom, int64_t(PenWidth()) + 2);
    if (m_rop == RasterOp::CopyPen && width <= kSpriteLimit && height <= kSpriteLimit) {
        if (const CSprite& sprite = EllipseSprite(width, height); sprite.m_usable) {
            BlitSprite(sprite, r.left, r.top);
            return;
        }
    }
    PreparePainter();
    m_painter.setBrush(m_brush.m_null ? QBrush(Qt::NoBrush) : QBrush(ColorFromRef(m_brush.m_color)));
    // The outline runs through the last pixel inside the box, which is right - 1.
    m_painter.drawEllipse(QRect(r.left, r.top, width - 1, height - 1));
}

namespace {

// The fully covered pixels of a scratch image as runs relative to origin. Not usable when a
// pixel is partly covered or the shape reaches the image border (the padding was too small).
CSprite SpriteFromImage(const QImage& image, QPoint origin)
{
    CSprite sprite;
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w;) {
            const int alpha = qAlpha(line[x]);
            if (alpha == 0) {
                ++x;
                continue;
            }
            if (alpha != 255 || x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                sprite.m_usable = false;
                sprite.m_runs.clear();
                return sprite;
            }
            int end = x + 1;
            while (end < w && line[end] == line[x])
                ++end;
            sprite.m_runs.push_back({y - origin.y(), x - origin.x(), end - origin.x(), line[x]});
            x = end;
        }
    }
    return sprite;
}

} // namespace

CDcPen CDrawContext::SpritePen() const
{
    // A wide pen is drawn no wider than the image needs, which differs between images.
    CDcPen pen = m_pen;
    if (pen.m_width > 1)
        pen.m_width = PenWidth();
    return pen;
}

const CSprite& CDrawContext::EllipseSprite(int width, int height)
{
    const QSize box(width, height);
    const CDcPen pen = SpritePen();
    if (const CSprite* kept = m_cache->FindEllipse(box, pen, m_brush))
        return *kept;
    const int pad = PenWidth() + 2;
    QImage image(width + 2 * pad, height + 2 * pad, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // Drawn by the same painter settings as a direct ellipse, so the pixels are the same.
    PreparePainter();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(m_painter.pen());
    painter.setBrush(m_brush.m_null ? QBrush(Qt::NoBrush) : QBrush(ColorFromRef(m_brush.m_color)));
    painter.drawEllipse(QRect(pad, pad, width - 1, height - 1));
    painter.end();
    return m_cache->AddEllipse(box, pen, m_brush, SpriteFromImage(image, QPoint(pad, pad)));
}

const CSprite* CDrawContext::StrokeSprite(QPoint delta)
{
    if (m_pen.m_width > kStrokeSpritePenLimit)
        return nullptr;
    const CDcPen pen = SpritePen();
    const CSprite* sprite = m_cache->FindStroke(delta, pen);
    if (!sprite) {
        const int pad = PenWidth() + 2;
        const int64_t w = std::abs(int64_t(delta.x())) + 2 * pad + 1;
        const int64_t h = std::abs(int64_t(delta.y())) + 2 * pad + 1;
        if (w * h > kStrokeSpriteArea)
            return nullptr;
        QImage image(int(w), int(h), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        const QPoint from(pad + std::max(0, -delta.x()), pad + std::max(0, -delta.y()));
        // The painter's pen as PreparePainter set it for this very stroke.
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(m_painter.pen());
        painter.drawLine(from, from + delta);
        painter.end();
        sprite = &m_cache->AddStroke(delta, pen, SpriteFromImage(image, from));
    }
    return sprite->m_usable ? sprite : nullptr;
}

void CDrawContext::BlitSprite(const CSprite& sprite, int x, int y)
{
    for (const CSprite::CRun& run : sprite.m_runs)
        m_raster.Span(int64_t(y) + run.m_y, int64_t(x) + run.m_left, int64_t(x) + run.m_right, run.m_color,
                      PixelMix::Copy);
}

void CDrawContext::Rectangle(int left, int top, int right, int bottom)
{
    const Normalized r = Normalize(left, top, right, bottom);
    const int64_t l = r.left, t = r.top, rr = r.right, b = r.bottom;
    if (rr - l < 1 || b - t < 1)
        return;
    Damage(l, t, rr, b, m_pen.m_width <= 1 ? 0 : int64_t(PenWidth()) + 2);
    const PixelMix mix = Mix();
    const bool nullPen = m_pen.m_style == PS_NULL;
    if (nullPen || m_pen.m_width <= 1) {
        // The outline takes the outermost pixels, right - 1 and bottom - 1 included; the
        // brush fills what lies inside it (without a pen, one pixel less on the right and
        // bottom).
        const int64_t inset = nullPen ? 0 : 1;
        if (!m_brush.m_null)
            m_raster.Rect(l + inset, t + inset, rr - 1, b - 1, RgbFromRef(m_brush.m_color), mix);
        if (nullPen)
            return;
        const QRgb pen = RgbFromRef(m_pen.m_color);
        m_raster.Span(t, l, rr, pen, mix);
        if (b - 1 > t)
            m_raster.Span(b - 1, l, rr, pen, mix);
        const int64_t sideTop = std::max<int64_t>(t + 1, 0);
        const int64_t sideBottom = std::min<int64_t>(b - 1, m_image.height());
        for (int64_t y = sideTop; y < sideBottom; ++y) {
            m_raster.Span(y, l, l + 1, pen, mix);
            if (rr - 1 > l)
                m_raster.Span(y, rr - 1, rr, pen, mix);
        }
        return;
    }
    // Edges beyond the limit are off every picture; moving them in changes no pixel.
    const QRect box(ClampCoord(r.left), ClampCoord(r.top), ClampCoord(r.right) - ClampCoord(r.left) - 1,
                    ClampCoord(r.bottom) - ClampCoord(r.top) - 1);
    PreparePainter();
    m_painter.setBrush(m_brush.m_null ? QBrush(Qt::NoBrush) : QBrush(ColorFromRef(m_brush.m_color)));
    m_painter.drawRect(box);
}

const CDrawContext::CResolvedFont& CDrawContext::ResolvedFont()
{
    if (m_fontIndex < 0) {
        for (size_t i = 0; i < m_fonts.size(); ++i) {
            if (m_fonts[i].m_record == m_font)
                m_fontIndex = int(i);
        }
    }
    if (m_fontIndex < 0) {
        const QFont font = FontFromLogFont(m_font);
        CResolvedFont resolved{m_font, font, QFontMetrics(font, &m_image), QRawFont::fromFont(font)};
        // Synthesised bold or slant and line decorations are left to the full text path.
        resolved.m_glyphsDirect = resolved.m_raw.isValid() && font.weight() < QFont::DemiBold && !font.italic()
                                  && !font.underline() && !font.strikeOut()
                                  && font.styleStrategy() == QFont::PreferDefault;
        m_fonts.push_back(std::move(resolved));
        m_fontIndex = int(m_fonts.size()) - 1;
    }
    return m_fonts[size_t(m_fontIndex)];
}

int CDrawContext::TextWidth(const CResolvedFont& font, const QString& text)
{
    if (m_measuredFont == m_fontIndex && m_measuredText == text)
        return m_measured.m_width;
    m_measuredText = text;
    m_measuredFont = m_fontIndex;
    const int dpi = Resolution();
    if (const CTextMeasure* kept = m_cache->FindText(font.m_record, dpi, text)) {
        m_measured = *kept;
        return m_measured.m_width;
    }
    CTextMeasure measure;
    measure.m_direct = font.m_glyphsDirect && NeedsNoShaping(text);
    if (measure.m_direct) {
        measure.m_glyphs = font.m_raw.glyphIndexesForString(text);
        measure.m_direct = !measure.m_glyphs.contains(0u); // 0: the face lacks it
    }
    if (!measure.m_direct) {
        measure.m_glyphs.clear();
        measure.m_width = font.m_metrics.horizontalAdvance(text);
    } else {
        const QList<QPointF> advances = font.m_raw.advancesForGlyphIndexes(measure.m_glyphs);
        measure.m_positions.resize(advances.size());
        qreal x = 0;
        for (qsizetype i = 0; i < advances.size(); ++i) {
            measure.m_positions[i] = QPointF(x, 0);
            x += advances[i].x();
        }
        measure.m_width = qRound(x);
    }
    m_measured = m_cache->AddText(font.m_record, dpi, text, std::move(measure));
    return m_measured.m_width;
}

void CDrawContext::DamageText(const CResolvedFont& font, const QString& text, int x, int y)
{
    if (!m_measured.m_ink) {
        // The glyphs' own boxes, which bearings, accents and fallback faces take beyond the
        // extent; the extent itself for the background and the underline.
        const int ascent = font.m_metrics.ascent();
        QRect ink(0, 0, m_measured.m_width, font.m_metrics.height());
        if (m_measured.m_direct) {
            for (qsizetype i = 0; i < m_measured.m_glyphs.size(); ++i) {
                const QRectF glyph = font.m_raw.boundingRect(m_measured.m_glyphs[i]);
                ink |= glyph.translated(m_measured.m_positions[i] + QPointF(0, ascent)).toAlignedRect();
            }
        } else {
            ink |= font.m_metrics.boundingRect(text).translated(0, ascent);
        }
        m_measured.m_ink = ink;
        if (CTextMeasure* kept = m_cache->FindText(font.m_record, Resolution(), text))
            kept->m_ink = ink;
    }
    const QRect ink = *m_measured.m_ink;
    // Antialiased edges and rounded glyph positions, and what a synthesised slant, bold or
    // decoration adds beyond the boxes the metrics report.
    int64_t margin = 2 + font.m_metrics.lineWidth();
    if (font.m_font.italic())
        margin += font.m_metrics.height() / 2;
    if (font.m_font.weight() > QFont::Normal)
        margin += 1 + font.m_metrics.height() / 16;
    Damage(int64_t(x) + ink.left(), int64_t(y) + ink.top(), int64_t(x) + ink.left() + ink.width(),
           int64_t(y) + ink.top() + ink.height(), margin);
}

QSize CDrawContext::GetTextExtent(const QString& text)
{
    const CResolvedFont& font = ResolvedFont();
    return QSize(TextWidth(font, text), font.m_metrics.height());
}

void CDrawContext::TextOut(int x, int y, const QString& text)
{
    const CResolvedFont& font = ResolvedFont();
    const int64_t width = TextWidth(font, text);
    const int64_t height = font.m_metrics.height();
    // Nothing of the text reaches the picture.
    if (x >= m_image.width() || y >= m_image.height() || int64_t(x) + width <= 0 || int64_t(y) + height <= 0)
        return;
    if (m_damage)
        DamageText(font, text, x, y);
    if (m_bkMode == BkMode::Opaque)
        m_raster.Rect(x, y, int64_t(x) + width, int64_t(y) + height, RgbFromRef(m_bkColor), PixelMix::Copy);
    if (m_painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_painterFontIndex != m_fontIndex) {
        m_painter.setFont(font.m_font);
        m_painterFontIndex = m_fontIndex;
    }
    if (m_textPen != m_textColor) {
        m_painter.setPen(ColorFromRef(m_textColor));
        m_textPen = m_textColor;
        m_painterPen.reset();
    }
    const QPoint baseline(x, y + font.m_metrics.ascent());
    if (m_measured.m_direct) {
        QGlyphRun run;
        run.setRawFont(font.m_raw);
        run.setGlyphIndexes(m_measured.m_glyphs);
        run.setPositions(m_measured.m_positions);
        m_painter.drawGlyphRun(baseline, run);
        return;
    }
    m_painter.drawText(baseline, text);
}
