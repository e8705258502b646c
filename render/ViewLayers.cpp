#include "render/ViewLayers.h"

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/DocData.h"
#include "pipeline/Pacing.h"
#include "render/DrawContext.h"
#include "render/ElementDrawing.h"
#include "render/LayerContent.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr COLORREF kNoPictureBlue = 16711680;

bool UsableSize(int64_t w, int64_t h)
{
    return w >= 1 && h >= 1 && w <= kMaxLayerSide && h <= kMaxLayerSide;
}

QImage NewLayer(QSize size)
{
    if (!UsableSize(size.width(), size.height()))
        return QImage();
    // A failed allocation gives a null image, which every operation skips.
    return QImage(size, QImage::Format_RGB32);
}

} // namespace

CLayerGeometry ScrollGeometry(int32_t pictureWidth, int32_t pictureHeight)
{
    CLayerGeometry g;
    g.m_layerSize = QSize(pictureWidth, pictureHeight);
    g.m_pictureRect = QRect(0, 0, pictureWidth, pictureHeight);
    g.m_scale = pictureHeight / 1000.0;
    return g;
}

CLayerGeometry StretchGeometry(QSize client, int32_t pictureWidth, int32_t pictureHeight)
{
    CLayerGeometry g;
    g.m_layerSize = client;
    int right = client.width();
    int bottom = client.height();
    // Without a picture size the rectangle stays the client area; such a view closes itself.
    if (pictureWidth >= 1 && pictureHeight >= 1) {
        const double w = client.width(), h = client.height();
        const double byWidth = w / pictureWidth, byHeight = h / pictureHeight;
        if (byHeight > byWidth)
            bottom = static_cast<int>(std::clamp(byWidth * pictureHeight, 0.0, h));
        else if (byWidth > byHeight)
            right = static_cast<int>(std::clamp(byHeight * pictureWidth, 0.0, w));
    }
    g.m_pictureRect = QRect(0, 0, right, bottom);
    g.m_scale = bottom / 1000.0;
    return g;
}

CViewLayers::CViewLayers(CVantrelDoc& doc, ViewKind kind)
    : m_doc(doc), m_kind(kind)
{
}

void CViewLayers::SetReplaySource(const CReplaySource& source)
{
    std::lock_guard lock(m_viewLock);
    m_source = source;
}

void CViewLayers::SetClientSize(QSize size)
{
    std::lock_guard lock(m_viewLock);
    m_clientSize = size;
}

void CViewLayers::OnSize(QSize size)
{
    bool created = false;
    {
        std::lock_guard lock(m_viewLock);
        m_clientSize = size;
        created = m_created;
    }
    if (m_kind == ViewKind::Stretch && created)
        CreateLayers();
}

bool CViewLayers::NeedsReplay() const
{
    return m_kind == ViewKind::Stretch && m_doc.m_editMode == EditMode::Running;
}

bool CViewLayers::CopyStore(std::vector<FieldRow>& rows) const
{
    CReplaySource source;
    {
        std::lock_guard lock(m_viewLock);
        source = m_source;
    }
    rows.clear();
    if (!source.m_store || !source.m_lock)
        return false;
    // The main worker holds the store lock only around one Add; the wait keeps serving the
    // views all the same, since document workers may be blocked in a notification.
    std::unique_lock lock(*source.m_lock, std::defer_lock);
    WaitPumping([&] { return lock.try_lock(); });
    const CBuffer<FieldRow>& store = *source.m_store;
    rows.reserve(static_cast<size_t>(store.GetCount()));
    for (int64_t i = 0; i < store.GetCount(); ++i)
        rows.push_back(store.GetAt(i));
    return true;
}

void CViewLayers::CreateLayers()
{
    std::vector<FieldRow> rows;
    const bool replay = NeedsReplay();
    // The document may have applied rows stored after the copy was taken; a fresh copy then
    // has them. Bounded, since a ring store's row numbers stay below its count anyway.
    for (int attempt = 0;; ++attempt) {
        const bool copied = replay && CopyStore(rows);
        std::lock_guard view(m_viewLock);
        std::lock_guard doc(m_doc.m_renderLock);
        if (copied && m_doc.m_currentRow > int64_t(rows.size()) && attempt < 3)
            continue;
        CreateLayersLocked(copied ? &rows : nullptr);
        return;
    }
}

void CViewLayers::CreateLayersLocked(std::vector<FieldRow>* replayRows)
{
    m_created = true;
    if (m_kind == ViewKind::Stretch)
        m_geometry = StretchGeometry(m_clientSize, m_doc.m_pictureWidth, m_doc.m_pictureHeight);
    else
        m_geometry = ScrollGeometry(m_doc.m_pictureWidth, m_doc.m_pictureHeight);
    m_base = NewLayer(m_geometry.m_layerSize);
    m_overlay = NewLayer(m_geometry.m_layerSize);
    if (m_base.isNull() || m_overlay.isNull()) {
        m_base = m_overlay = QImage();
        return;
    }
    m_baseDamage.Reset(m_base.size());
    m_baseDamage.AddAll();
    m_overlayDamage.Reset(m_overlay.size());
    m_overlayChanged.Reset(m_overlay.size());
    m_overlayChanged.AddAll();
    RenderBaseLocked(true, replayRows);
    RenderOverlayLocked();
}

void CViewLayers::RenderBase()
{
    std::lock_guard view(m_viewLock);
    std::lock_guard doc(m_doc.m_renderLock);
    RenderBaseLocked(false, nullptr);
}

void CViewLayers::RenderOverlay()
{
    std::lock_guard view(m_viewLock);
    std::lock_guard doc(m_doc.m_renderLock);
    RenderOverlayLocked();
}

bool CViewLayers::OnUpdate(int32_t hint)
{
    const CHintAction action = HintAction(m_kind, hint);
    if (action.m_createLayers) {
        CreateLayers();
        return action.m_repaint;
    }
    if (action.m_renderBase || action.m_renderOverlay || action.m_copyBase) {
        std::lock_guard view(m_viewLock);
        std::lock_guard doc(m_doc.m_renderLock);
        if (action.m_renderBase)
            RenderBaseLocked(false, nullptr);
        if (action.m_renderOverlay)
            RenderOverlayLocked();
        else if (action.m_copyBase)
            CopyBaseLocked();
    }
    return action.m_repaint;
}

void CViewLayers::PaintOverlay(const std::function<void(const QImage&)>& paint) const
{
    std::lock_guard view(m_viewLock);
    paint(m_overlay);
}

QRegion CViewLayers::TakeChangedRegion()
{
    std::lock_guard view(m_viewLock);
    const QRegion changed = m_overlayChanged.Region();
    m_overlayChanged.Clear();
    return changed;
}

void CViewLayers::DrawPicture()
{
    if (m_base.isNull())
        return;
    m_baseDamage.AddAll();
    const QImage& picture = m_doc.m_image;
    if (m_kind == ViewKind::Stretch) {
        m_base.fill(Qt::white);
        const QRect target = m_geometry.m_pictureRect;
        if (picture.isNull()) {
            QPainter(&m_base).fillRect(target, ColorFromRef(kNoPictureBlue));
            return;
        }
        if (target.isEmpty())
            return;
        // Scaling is the expensive part; the result is kept until the picture or the
        // rectangle changes.
        if (m_scaledPicture.size() != target.size() || m_scaledKey != picture.cacheKey()) {
            m_scaledPicture = picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_RGB32);
            m_scaledKey = picture.cacheKey();
        }
        QPainter p(&m_base);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(target.topLeft(), m_scaledPicture);
        return;
    }
    m_base.fill(ColorFromRef(kNoPictureBlue));
    if (!picture.isNull()) {
        // At its own size; a picture with alpha blends over the blue.
        QPainter p(&m_base);
        p.drawImage(QPoint(0, 0), picture);
    }
}

void CViewLayers::RenderBaseLocked(bool fresh, std::vector<FieldRow>* replayRows)
{
    if (m_base.isNull())
        return;
    const bool running = m_doc.m_editMode == EditMode::Running;
    // While data runs the base layer keeps its history, except at the first record after a
    // reset. New layers hold nothing yet, so they get the picture whatever runs.
    if (fresh || !running || m_doc.m_firstAfterReset)
        DrawPicture();
    CDrawContext dc(m_base, &m_cache);
    dc.TrackDamage(&m_baseDamage);
    if (running && replayRows)
        ReplayHistory(dc, *replayRows);
    DrawBaseElements(dc, m_doc, m_geometry.m_scale);
}

void CViewLayers::ReplayHistory(CDrawContext& dc, std::vector<FieldRow>& rows)
{
    // Copies, reset as the feed resets its document, so that the live design stays untouched.
    // Bars draw nothing on the base layer and no plot depends on them, so they are left out.
    std::vector<CPlotInfo> plots = m_doc.m_plots;
    for (CPlotInfo& plot : plots)
        plot.ResetRunState();

    const double scale = m_geometry.m_scale;
    const int64_t count = std::min<int64_t>(m_doc.m_currentRow, int64_t(rows.size()));
    CDocData record;
    record.m_type = Apply;
    record.m_pFDInfos = m_source.m_fdInfos;
    for (int64_t r = 0; r < count; ++r) {
        record.m_row = static_cast<int32_t>(r);
        // The rows are this replay's own copy.
        record.m_fields = std::move(rows[size_t(r)]);
        for (CPlotInfo& plot : plots)
            plot.UpdateFromRecord(record);
        for (const CConnectInfo& connect : m_doc.m_connects)
            DrawIfHistory(dc, connect, plots, scale);
        for (const CPlotInfo& plot : plots)
            DrawIncrement(dc, plot, plots, scale);
    }
}

void CViewLayers::RenderOverlayLocked()
{
    if (m_overlay.isNull())
        return;
    CopyBaseLocked();
    CDrawContext dc(m_overlay, &m_cache);
    dc.TrackDamage(&m_overlayDamage);
    DrawOverlayElements(dc, m_doc, m_geometry.m_scale);
    m_overlayChanged.Add(m_overlayDamage);
}

void CViewLayers::CopyBaseLocked()
{
    if (m_base.isNull())
        return;
    m_overlayDamage.Add(m_baseDamage);
    if (m_overlay.size() == m_base.size() && m_overlay.format() == m_base.format()
        && m_overlayDamage.Size() == m_base.size()) {
        m_overlayDamage.Copy(m_base, m_overlay);
        m_overlayChanged.Add(m_overlayDamage);
    } else {
        CopyLayer(m_base, m_overlay);
        m_overlayChanged.Reset(m_overlay.size());
        m_overlayChanged.AddAll();
    }
    m_baseDamage.Reset(m_base.size());
    m_overlayDamage.Reset(m_base.size());
}
