#include "views/ViewWidget.h"

#include "dialogs/EditDialog.h"
#include "model/Enums.h"
#include "model/VantrelDoc.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

// What the layers do not cover: the window colour, or the blue of a missing picture.
const QColor kUncovered(255, 255, 255);
const QColor kNoPictureBlue(0, 0, 255);

// What a line or a mark may cover on the window, with room for the pen.
QRect LineArea(QPoint a, QPoint b)
{
    return QRect(a, b).normalized().adjusted(-2, -2, 2, 2);
}

QRect MarkArea(const CGestureMark& mark)
{
    switch (mark.m_kind) {
    case GestureMarkKind::None: return QRect();
    case GestureMarkKind::Line: return LineArea(mark.m_from, mark.m_to);
    default: return mark.m_box.adjusted(-2, -2, 2, 2);
    }
}

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
    UpdateCursor();
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
    Q_EMIT overlayRepainted();
}

void CViewWidget::OnUpdate(int32_t hint)
{
    // The edit mode changes with hints 1 and 5.
    UpdateCursor();
    // A gesture's mark lasts until the layers are shown again, as if it were drawn on the window.
    SetMark(CGestureMark());
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
    Q_EMIT overlayRepainted();
}

bool CViewWidget::viewportEvent(QEvent* event)
{
    const bool handled = QAbstractScrollArea::viewportEvent(event);
    // The resize handlers run inside this call; a stretch view has made its layers again.
    if (event->type() == QEvent::Resize && m_initialized)
        Q_EMIT overlayRepainted();
    return handled;
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
    DrawGestureFeedback(painter);
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

void CViewWidget::UpdateCursor()
{
    // Called for every record of a run: only a change of mode touches the cursor.
    const bool cross = GesturesActive(m_doc.m_editMode);
    if (cross == viewport()->testAttribute(Qt::WA_SetCursor))
        return;
    if (cross)
        viewport()->setCursor(Qt::CrossCursor);
    else
        viewport()->unsetCursor();
}

CEditDialog* CViewWidget::OpenEditDialog() const
{
    return m_editDialogSource ? m_editDialogSource() : nullptr;
}

bool CViewWidget::ShowsGestureFeedback() const
{
    return m_dragKind != DragNone || m_mark.m_kind != GestureMarkKind::None;
}

void CViewWidget::SetMark(const CGestureMark& mark)
{
    if (m_mark.m_kind == GestureMarkKind::None && mark.m_kind == GestureMarkKind::None)
        return;
    viewport()->update(MarkArea(m_mark));
    m_mark = mark;
    viewport()->update(MarkArea(m_mark));
}

void CViewWidget::DrawGestureFeedback(QPainter& painter) const
{
    if (!ShowsGestureFeedback())
        return;
    painter.save();
    // Inverted, so that the feedback shows on any picture; the pen's colour does not matter.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPen pen(Qt::black, 0, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (m_dragKind != DragNone)
        painter.drawLine(m_dragStart, m_dragLast);
    // Outline or fill, never both: a pixel inverted twice would not show.
    switch (m_mark.m_kind) {
    case GestureMarkKind::None: break;
    case GestureMarkKind::ClickDisc:
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(m_mark.m_box);
        break;
    case GestureMarkKind::Line: painter.drawLine(m_mark.m_from, m_mark.m_to); break;
    case GestureMarkKind::Circle: painter.drawEllipse(m_mark.m_box.adjusted(0, 0, -1, -1)); break;
    case GestureMarkKind::Square: painter.drawRect(m_mark.m_box.adjusted(0, 0, -1, -1)); break;
    }
    painter.restore();
}

void CViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    if (m_dragKind != DragNone)
        viewport()->update(LineArea(m_dragStart, m_dragLast));
    m_dragKind = DragNone;
    if (!GesturesActive(m_doc.m_editMode) || !OpenEditDialog())
        return;
    // Qt's implicit grab sends the release here even when it happens outside the window.
    m_dragStart = m_dragLast = event->position().toPoint();
    m_dragKind = DragKindFor(event->buttons(), event->modifiers());
}

void CViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click starts no gesture of its own.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragKind != DragNone) {
        viewport()->update(LineArea(m_dragStart, m_dragLast));
        m_dragLast = event->position().toPoint();
        viewport()->update(LineArea(m_dragStart, m_dragLast));
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_dragKind == DragNone) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    viewport()->update(LineArea(m_dragStart, m_dragLast));
    const DragKind kind = m_dragKind;
    m_dragKind = DragNone;
    const QPoint end = event->position().toPoint();

    // The mode may have changed since the press, and the dialog may be gone.
    CEditDialog* dialog = OpenEditDialog();
    if (!dialog || !ClientToDesign(m_dragStart))
        return;
    const CGestureRelease release = DecideRelease(
        kind, m_dragStart, end, m_doc.m_editMode,
        [this](QPoint p) { return ClientToDesign(p).value_or(QPointF()); },
        [dialog](int control) { return dialog->FieldText(control); });
    SetMark(release.m_mark);
    for (const CFieldWrite& write : release.m_writes)
        dialog->SetFieldText(write.m_control, write.m_text);
    if (release.m_apply)
        dialog->PostApply();
}
