#include "cli/HeadlessView.h"

#include "model/VantrelDoc.h"
#include "render/UpdateHint.h"

#include <QFileInfo>

CHeadlessView::CHeadlessView(CVantrelDoc& doc, ViewKind kind, QSize clientSize)
    : m_doc(doc), m_layers(doc, kind)
{
    m_layers.SetClientSize(clientSize);
}

void CHeadlessView::SetFrames(int64_t every, const QString& base)
{
    m_every = every;
    m_frameBase = base;
}

void CHeadlessView::OnInitialUpdate()
{
    m_layers.CreateLayers();
    m_overlayStale = false;
}

void CHeadlessView::OnDocData(CVantrelDoc&, const CDocData& item)
{
    const CHintAction action = HintAction(m_layers.Kind(), item.m_type);
    if (m_layers.OnUpdate(item.m_type) && m_onRepaint)
        m_onRepaint();
    if (action.m_createLayers || action.m_renderOverlay)
        m_overlayStale = false;
    else if (action.m_renderBase)
        m_overlayStale = true;

    ++m_records;
    if (m_every <= 0 || m_records % m_every != 0)
        return;
    // A frame shows what a repaint at this record would show.
    if (m_overlayStale) {
        m_layers.RenderOverlay();
        m_overlayStale = false;
    }
    const QString path = FramePath(m_frameBase, ++m_frames);
    if (!WriteOverlay(path) && m_frameError.isEmpty())
        m_frameError = path;
}

void CHeadlessView::Finish()
{
    if (!m_overlayStale)
        return;
    // The run has stopped and the document is idle again; the overlay is drawn as it was
    // while the data ran.
    const int32_t mode = m_doc.m_editMode;
    m_doc.m_editMode = EditMode::Running;
    m_layers.RenderOverlay();
    m_doc.m_editMode = mode;
    m_overlayStale = false;
}

QImage CHeadlessView::GrabOverlay() const
{
    QImage copy;
    m_layers.PaintOverlay([&](const QImage& overlay) { copy = overlay.copy(); });
    return copy;
}

bool CHeadlessView::WriteOverlay(const QString& path) const
{
    bool ok = false;
    m_layers.PaintOverlay([&](const QImage& overlay) { ok = !overlay.isNull() && overlay.save(path, "PNG"); });
    return ok;
}

QString CHeadlessView::FramePath(const QString& base, int64_t number)
{
    // "out.png" gives "out-000001.png"; a name without ".png" just gets the number appended.
    QString stem = base;
    if (stem.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        stem.chop(4);
    return QStringLiteral("%1-%2.png").arg(stem).arg(number, 6, 10, QLatin1Char('0'));
}
