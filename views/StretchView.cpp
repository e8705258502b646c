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
