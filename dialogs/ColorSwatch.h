#pragma once

#include "platform/UserInteraction.h"

#include <QWidget>

#include <functional>

// A solid rectangle in one colour over the whole widget. It either holds its colour or
// follows one that lives elsewhere (the entry being edited), read at every repaint.
class CColorSwatch : public QWidget
{
public:
    explicit CColorSwatch(QWidget* parent = nullptr);
    explicit CColorSwatch(std::function<COLORREF()> source, QWidget* parent = nullptr);

    // Holds this colour from now on and repaints.
    void SetColor(COLORREF color);
    COLORREF Color() const;

    QSize sizeHint() const override { return {40, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<COLORREF()> m_source;
    COLORREF m_color = 0;
};
