#include "render/ElementDrawing.h"

#include "model/TextInfo.h"
#include "render/DrawContext.h"

namespace {

// Colours, font and background mode for one text, restored afterwards.
class CTextSelection
{
public:
    CTextSelection(CDrawContext& dc, const LOGFONTW* font, COLORREF color, COLORREF back, BkMode mode)
        : m_dc(dc)
        , m_oldColor(dc.SetTextColor(color))
        , m_oldBack(dc.SetBkColor(back))
        , m_oldMode(dc.SetBkMode(mode))
        , m_oldFont(font ? dc.SelectFont(*font) : dc.Font())
    {
    }
    ~CTextSelection()
    {
        m_dc.SelectFont(m_oldFont);
        m_dc.SetBkMode(m_oldMode);
        m_dc.SetBkColor(m_oldBack);
        m_dc.SetTextColor(m_oldColor);
    }
    CTextSelection(const CTextSelection&) = delete;
    CTextSelection& operator=(const CTextSelection&) = delete;

private:
    CDrawContext& m_dc;
    COLORREF m_oldColor;
    COLORREF m_oldBack;
    BkMode m_oldMode;
    LOGFONTW m_oldFont;
};

} // namespace

void DrawText(CDrawContext& dc, const CTextInfo& text, QPoint at, const QString& value)
{
    const CTextSelection select(dc, &text.m_font, text.m_textColor, text.m_backColor,
                                text.m_opaque ? BkMode::Opaque : BkMode::Transparent);
    const QPoint corner = text.PlaceText(at, dc.GetTextExtent(value));
    dc.TextOut(corner.x(), corner.y(), value);
}

void DrawSummary(CDrawContext& dc, const CTextInfo& text, QPoint at)
{
    DrawText(dc, text, at, text.SummaryText());
}

void DrawBoxedText(CDrawContext& dc, const QString& text, const LOGFONTW* font, COLORREF color, COLORREF back,
                   const std::function<QPoint(QSize)>& place)
{
    const CTextSelection select(dc, font, color, back, BkMode::Opaque);
    const QPoint corner = place(dc.GetTextExtent(text));
    dc.TextOut(corner.x(), corner.y(), text);
}

LOGFONTW SelectedIdFont()
{
    LOGFONTW f;
    f.lfHeight = 18;
    f.lfWeight = 700;
    f.lfCharSet = 128; // SHIFTJIS_CHARSET
    f.SetFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}
