#include "dialogs/ColorSwatch.h"

#include "render/DrawContext.h"

#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(32, 18);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

CColorSwatch::CColorSwatch(std::function<COLORREF()> source, QWidget* parent)
    : CColorSwatch(parent)
{
    m_source = std::move(source);
}

void CColorSwatch::SetColor(COLORREF color)
{
    m_source = nullptr;
    m_color = color;
    update();
}

COLORREF CColorSwatch::Color() const
{
    return m_source ? m_source() : m_color;
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), ColorFromRef(Color()));
}
