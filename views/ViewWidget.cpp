#include "views/ViewWidget.h"

#include "model/Enums.h"
#include "model/VantrelDoc.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

namespace {

// What the layers do not cover: the window colour, or the blue of a missing picture.
const QColor kUncovered(255, 255, 255);
const QColor kNoPictureBlue(0, 0, 255);

} // namespace

CViewWidget::CViewWidget(CVantrelDoc& doc, ViewKind kind, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_layers(doc, kind)
{
    setFrameShape(QFrame::NoFrame);
    // The overlay covers the window; erasing first would only make it flicker.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void CViewWidget::SetReplaySource(const CReplaySource& source)
{
    m_layers.SetReplaySource(source);
}

void CViewWidget::SetEditMenu(QMenu* menu)
{
    m_editMenu = menu;
}

void CViewWidget::OnInitialUpdate()
{
    m_layers.SetClientSize(viewport()->size());
    m_layers.CreateLayers();
    m_initialized = true;
    LayersCreated();
    viewport()->update();
}

void CViewWidget::OnUpdate(int32_t hint)
{
    const CHintAction action = HintAction(Kind(), hint);
    const bool repaint = m_layers.OnUpdate(hint);
    if (action.m_createLayers)
        LayersCreated();
    const QRegion changed = m_layers.TakeChangedRegion().translated(OverlayOrigin()) & viewport()->rect();
    if (!repaint)
        return;
    // Synchronous, so that the document worker, which waits for this call, finds the window
    // showing its record. After an overlay update only what changed on it is copied: the
    // window shows the rest already (whatever hides or spoils it repaints that part itself).
    // A hint that changed nothing in sight repaints everything, as it always did.
    if (action.m_createLayers || changed.isEmpty() || !(action.m_renderOverlay || action.m_copyBase))
        viewport()->repaint();
    else
        viewport()->repaint(changed);
}

void CViewWidget::RequestClose()
{
    if (m_closeRequested)
        return;
    m_closeRequested = true;
    // Queued: the frame must not be closed from inside its view's paint.
    QMetaObject::invokeMethod(this, [this] { Q_EMIT closeRequested(); }, Qt::QueuedConnection);
}

void CViewWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    // Rectangle by rectangle: the bounding rectangle of a scattered update can be the window.
    const QRegion exposed = event->region();
    if (m_doc.m_pictureWidth < 1 || m_doc.m_pictureHeight < 1) {
        for (const QRect& r : exposed)
            painter.fillRect(r, kUncovered);
        RequestClose();
        return;
    }
    QRect covered;
    m_layers.PaintOverlay([&](const QImage& overlay) {
        if (overlay.isNull())
            return;
        covered = QRect(OverlayOrigin(), overlay.size());
        for (const QRect& r : exposed) {
            const QRect target = covered & r;
            if (!target.isEmpty())
                painter.drawImage(target, overlay, target.translated(-covered.topLeft()));
        }
    });
    // Layers that could not be made for the picture size leave the blue of a missing picture.
    const QColor rest = covered.isNull() && m_initialized ? kNoPictureBlue : kUncovered;
    const QRegion uncovered = exposed - QRegion(covered);
    for (const QRect& r : uncovered)
        painter.fillRect(r, rest);
}

void CViewWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_editMenu) {
        event->ignore();
        return;
    }
    // Taken either way, so that nothing else offers a menu instead: the design can only be
    // changed while nothing else (a run, a list or edit dialog) uses the document.
    event->accept();
    if (m_doc.m_editMode != EditMode::None)
        return;
    setFocus(Qt::PopupFocusReason);
    m_editMenu->popup(event->globalPos());
}
