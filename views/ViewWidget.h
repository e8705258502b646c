#pragma once

#include "render/UpdateHint.h"
#include "render/ViewLayers.h"
#include "views/MouseGesture.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

class CEditDialog;
class CVantrelDoc;
class QMouseEvent;
class QPainter;

// Base of the two document views: a window over the view's off-screen layers. Painting only
// copies the overlay layer (rendering happens in the update handlers), and the viewport is
// painted opaque, without a background erase.
class CViewWidget : public QAbstractScrollArea
{
    Q_OBJECT

public:
    CViewWidget(CVantrelDoc& doc, ViewKind kind, QWidget* parent = nullptr);

    CVantrelDoc& Document() const { return m_doc; }
    CViewLayers& Layers() { return m_layers; }
    const CViewLayers& Layers() const { return m_layers; }
    ViewKind Kind() const { return m_layers.Kind(); }

    void SetReplaySource(const CReplaySource& source);
    // The 編集 pop-up of the document type; owned by the main window, which wires its actions.
    void SetEditMenu(QMenu* menu);
    QMenu* EditMenu() const { return m_editMenu; }
    // Where the mouse gestures find the document's open plot or bar edit dialog (null: none).
    void SetEditDialogSource(std::function<CEditDialog*()> source) { m_editDialogSource = std::move(source); }

    // First display: the frame has placed itself already; creates and renders the layers.
    void OnInitialUpdate();
    // UI thread. Applies the hint to the layers and repaints at once when the hint asks for it.
    void OnUpdate(int32_t hint);

    // A client point in design coordinates (thousandths of the picture height); nullopt while
    // the view has no picture height to convert with.
    virtual std::optional<QPointF> ClientToDesign(QPoint client) const = 0;

Q_SIGNALS:
    // The document has no picture size: the frame should close. Queued, sent once.
    void closeRequested();
    // The overlay may show something new: after an update that repaints, and after the layers
    // were made (first display, a resize).
    void overlayRepainted();

protected:
    // Called after the layers were (re)created, so that a view can follow their size.
    virtual void LayersCreated() {}
    // Where the overlay's top-left corner lies in the viewport.
    virtual QPoint OverlayOrigin() const { return QPoint(0, 0); }

    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // True while a rubber band or a gesture's mark is on the window.
    bool ShowsGestureFeedback() const;

private:
    void RequestClose();
    void UpdateCursor();
    CEditDialog* OpenEditDialog() const;
    void DrawGestureFeedback(QPainter& painter) const;
    void SetMark(const CGestureMark& mark);

    CVantrelDoc& m_doc;
    CViewLayers m_layers;
    QPointer<QMenu> m_editMenu;
    std::function<CEditDialog*()> m_editDialogSource;
    bool m_initialized = false;
    bool m_closeRequested = false;

    // The left-button gesture, in client pixels: where it went down and where the rubber band
    // now ends.
    DragKind m_dragKind = DragNone;
    QPoint m_dragStart;
    QPoint m_dragLast;
    CGestureMark m_mark;
};
