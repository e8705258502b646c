#include "views/StretchView.h"

#include <QResizeEvent>

CStretchView::CStretchView(CVantrelDoc& doc, QWidget* parent)
    : CViewWidget(doc, ViewKind::Stretch, parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void CStretchView::resizeEvent(QResizeEvent* event)
{
    CViewWidget::resizeEvent(event);
    // Before the initial update this only records the size the layers will take.
    Layers().OnSize(viewport()->size());
}

std::optional<QPointF> CStretchView::ClientToDesign(QPoint client) const
{
    // No picture rectangle yet (or a window shut to no height): nothing to divide by.
    const int h = Layers().PictureRect().height();
    if (h < 1)
        return std::nullopt;
    return QPointF(client.x() * 1000.0 / h, client.y() * 1000.0 / h);
}
