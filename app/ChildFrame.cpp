#include "app/ChildFrame.h"

#include "views/ViewWidget.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CDocEntry& entry, CViewWidget* view, QWidget* parent)
    : QMdiSubWindow(parent), m_entry(entry), m_view(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(150, 150);
    setWidget(view);
}

CViewInfo CChildFrame::NormalPlacement() const
{
    const QRect r = m_normal.isValid() ? m_normal : geometry();
    CViewInfo info;
    info.m_left = r.left();
    info.m_top = r.top();
    info.m_right = r.left() + r.width();
    info.m_bottom = r.top() + r.height();
    return info;
}

void CChildFrame::ReleaseView()
{
    QWidget* view = widget();
    setWidget(nullptr);
    delete view;
    m_view = nullptr;
}

void CChildFrame::ApplyPlacement(const CViewInfo& info)
{
    if (info.m_right <= info.m_left || info.m_bottom <= info.m_top)
        return;
    setGeometry(info.m_left, info.m_top, info.m_right - info.m_left, info.m_bottom - info.m_top);
    m_normal = geometry();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The document manager closes frames itself once it has decided; anything else asks.
    if (m_closeAccepted) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    event->ignore();
    Q_EMIT closeAsked(this);
}

void CChildFrame::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    TrackNormalGeometry();
}

void CChildFrame::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    TrackNormalGeometry();
}

void CChildFrame::TrackNormalGeometry()
{
    if (!isMaximized() && !isMinimized() && !isShaded())
        m_normal = geometry();
}
