#include "render/DrawCache.h"

#include <QHash>

#include <utility>

namespace {

constexpr size_t kEllipseCacheSize = 16;
// Short segments of a few pens in every direction; a design that needs more starts afresh.
constexpr size_t kStrokeCacheSize = 4096;
// Labels and values of a few fonts; changing values come and go.
constexpr size_t kTextCacheSize = 1024;

} // namespace

const CSprite* CDrawCache::FindEllipse(QSize box, const CDcPen& pen, const CDcBrush& brush) const
{
    for (const CEllipseEntry& e : m_ellipses) {
        if (e.m_box == box && e.m_pen == pen && e.m_brush == brush)
            return &e.m_sprite;
    }
    return nullptr;
}

const CSprite& CDrawCache::AddEllipse(QSize box, const CDcPen& pen, const CDcBrush& brush, CSprite sprite)
{
    if (m_ellipses.size() >= kEllipseCacheSize)
        m_ellipses.erase(m_ellipses.begin());
    m_ellipses.push_back({box, pen, brush, std::move(sprite)});
    return m_ellipses.back().m_sprite;
}

size_t CDrawCache::CStrokeHash::operator()(const CStrokeKey& k) const
{
    uint64_t h = uint32_t(k.m_delta.x());
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(k.m_delta.y());
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(k.m_pen.m_style);
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(k.m_pen.m_width);
    h = h * 0x9E3779B97F4A7C15ull + k.m_pen.m_color;
    return size_t(h ^ (h >> 29));
}

const CSprite* CDrawCache::FindStroke(QPoint delta, const CDcPen& pen) const
{
    const auto it = m_strokes.find(CStrokeKey{delta, pen});
    return it == m_strokes.end() ? nullptr : &it->second;
}

const CSprite& CDrawCache::AddStroke(QPoint delta, const CDcPen& pen, CSprite sprite)
{
    if (m_strokes.size() >= kStrokeCacheSize)
        m_strokes.clear();
    return m_strokes.insert_or_assign(CStrokeKey{delta, pen}, std::move(sprite)).first->second;
}

size_t CDrawCache::CTextHash::operator()(const CTextKey& k) const
{
    // The record is plain data; only the fields that usually differ are hashed.
    size_t h = qHash(k.m_text);
    h = h * 31 + size_t(uint32_t(k.m_font.lfHeight));
    h = h * 31 + size_t(uint32_t(k.m_font.lfWeight));
    h = h * 31 + k.m_font.lfItalic + 2u * k.m_font.lfUnderline;
    return h * 31 + size_t(k.m_dpi);
}

CTextMeasure* CDrawCache::FindText(const LOGFONTW& font, int dpi, const QString& text)
{
    const auto it = m_texts.find(CTextKey{font, dpi, text});
    return it == m_texts.end() ? nullptr : &it->second;
}

CTextMeasure& CDrawCache::AddText(const LOGFONTW& font, int dpi, const QString& text, CTextMeasure measure)
{
    if (m_texts.size() >= kTextCacheSize)
        m_texts.clear();
    return m_texts.insert_or_assign(CTextKey{font, dpi, text}, std::move(measure)).first->second;
}
