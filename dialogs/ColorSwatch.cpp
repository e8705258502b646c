#include "dialogs/ColorSwatch.h"

#include "render/DrawContext.h"

#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent)
    : QFrame(parent)
{
    setMinimumSize(32, 18);
}

CColorSwatch::CColorSwatch(std::function<COLORREF()> source, QWidget* parent)
    : CColorSwatch(parent)
{
    m_source = std::move(source);
}

void CColorSwatch::SetColor(COLORREF color)
{
    m_color = color;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), ColorFromRef(Color()));
}
