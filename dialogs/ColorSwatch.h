#pragma once

#include <QFrame>

#include <cstdint>
#include <functional>

using COLORREF = uint32_t;

// A solid rectangle in one colour over the whole widget: the colour it was given, or the one
// a getter reads at every repaint (a working entry's colour, which other dialogs change too).
class CColorSwatch : public QFrame
{
public:
    explicit CColorSwatch(QWidget* parent = nullptr);
    explicit CColorSwatch(std::function<COLORREF()> source, QWidget* parent = nullptr);

    void SetColor(COLORREF color);
    COLORREF Color() const { return m_source ? m_source() : m_color; }

    QSize sizeHint() const override { return {40, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_color = 0;
    std::function<COLORREF()> m_source;
};
