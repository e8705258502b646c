#include "views/VantrelView.h"

#include "model/VantrelDoc.h"

#include <QScrollBar>

#include <algorithm>

CVantrelView::CVantrelView(CVantrelDoc& doc, QWidget* parent)
    : CViewWidget(doc, ViewKind::Scroll, parent)
{
}

QPoint CVantrelView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint CVantrelView::OverlayOrigin() const
{
    return -ScrollOffset();
}

std::optional<QPointF> CVantrelView::ClientToDesign(QPoint client) const
{
    const int32_t height = Document().m_pictureHeight;
    if (height < 1)
        return std::nullopt;
    const QPoint scroll = ScrollOffset();
    return QPointF((double(client.x()) + scroll.x()) * 1000.0 / height,
                   (double(client.y()) + scroll.y()) * 1000.0 / height);
}

void CVantrelView::LayersCreated()
{
    UpdateScrollBars();
}

void CVantrelView::resizeEvent(QResizeEvent* event)
{
    CViewWidget::resizeEvent(event);
    UpdateScrollBars();
}

void CVantrelView::scrollContentsBy(int dx, int dy)
{
    // The window already shows the rest; only the uncovered strip needs painting. Gesture
    // feedback stays where it is in the window, so it cannot be moved with the picture.
    if (ShowsGestureFeedback())
        viewport()->update();
    else
        viewport()->scroll(dx, dy);
}

void CVantrelView::UpdateScrollBars()
{
    // The layers' size, not the stored one: layers that could not be made have nothing to
    // scroll over.
    const QSize content = Layers().HasLayers() ? Layers().Overlay().size() : QSize(0, 0);
    const QSize page = viewport()->size();
    const auto setUp = [](QScrollBar* bar, int contentSide, int pageSide) {
        bar->setRange(0, std::max(0, contentSide - pageSide));
        bar->setPageStep(std::max(1, pageSide));
        bar->setSingleStep(std::max(1, pageSide / 10));
    };
    setUp(horizontalScrollBar(), content.width(), page.width());
    setUp(verticalScrollBar(), content.height(), page.height());
}
