#pragma once

#include "views/ViewWidget.h"

// The scroll document's view: the picture at its own size, with scroll bars over the layers.
class CVantrelView : public CViewWidget
{
    Q_OBJECT

public:
    explicit CVantrelView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // The part of the layers the window shows, in layer pixels.
    QPoint ScrollOffset() const;

    // Over the stored picture height, from the scrolled position.
    std::optional<QPointF> ClientToDesign(QPoint client) const override;

protected:
    void LayersCreated() override;
    QPoint OverlayOrigin() const override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
};
