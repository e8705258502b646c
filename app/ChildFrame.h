#pragma once

#include "model/ViewInfo.h"

#include <QMdiSubWindow>
#include <QRect>

class CDocEntry;
class CViewWidget;

// One window on a document: an MDI child holding one view. It remembers its last normal
// (neither maximised nor minimised) geometry, which the document file stores.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    CChildFrame(CDocEntry& entry, CViewWidget* view, QWidget* parent = nullptr);

    CDocEntry& Entry() const { return m_entry; }
    CViewWidget* View() const { return m_view; }

    // The normal-position rectangle in the MDI area's coordinates, as a view record.
    CViewInfo NormalPlacement() const;
    // Deletes the view now, for a document that is about to go.
    void ReleaseView();
    // Moves the frame to a stored rectangle; an empty one keeps the default place.
    void ApplyPlacement(const CViewInfo& info);

Q_SIGNALS:
    // A close was asked for (by the user or the window manager); the document manager decides.
    void closeAsked(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void TrackNormalGeometry();

    CDocEntry& m_entry;
    CViewWidget* m_view;
    QRect m_normal;
    bool m_closeAccepted = false;

    friend class CDocManager;
};
