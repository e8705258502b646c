#pragma once

#include "pipeline/Buffer.h"
#include "pipeline/FieldRow.h"
#include "render/Damage.h"
#include "render/DrawCache.h"
#include "render/UpdateHint.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class CDrawContext;
class CFDInfos;
class CVantrelDoc;

// What the stretch view's history replay reads of the pipeline: the internal data store, the
// lock it is copied under, and the FD conversion list that live records carry.
struct CReplaySource
{
    std::mutex* m_lock = nullptr;
    const CBuffer<FieldRow>* m_store = nullptr;
    const CFDInfos* m_fdInfos = nullptr;
};

// Size of a view's layers, where the picture lies in them and the design scale.
struct CLayerGeometry
{
    QSize m_layerSize;
    QRect m_pictureRect;
    double m_scale = 0.0;
};

// Scroll view: the layers are the stored picture size, the scale its height / 1000.
CLayerGeometry ScrollGeometry(int32_t pictureWidth, int32_t pictureHeight);
// Stretch view: the layers are the client size; the picture keeps its aspect ratio and
// touches the client's top-left corner; the scale is the drawn picture height / 1000.
CLayerGeometry StretchGeometry(QSize client, int32_t pictureWidth, int32_t pictureHeight);

// Largest layer side; larger sizes (from a damaged file) leave the layers empty.
constexpr int kMaxLayerSide = 16384;

// The two off-screen layers of one view of a document: the base layer holds the picture and
// the history accumulated while data runs, the overlay layer a copy of it with the current
// state on top. Painting a window only copies the overlay.
//
// Every operation takes the view lock and then the document's render lock, so that drawing
// caused by anything but the feed's own notification (a resize, a dialog) never overlaps the
// document worker's updates. The replay copies the store before taking either lock: the
// pipeline's lock may be held by a drain that waits for this very thread.
class CViewLayers
{
public:
    CViewLayers(CVantrelDoc& doc, ViewKind kind);
    CViewLayers(const CViewLayers&) = delete;
    CViewLayers& operator=(const CViewLayers&) = delete;

    ViewKind Kind() const { return m_kind; }
    void SetReplaySource(const CReplaySource& source);

    // Stretch view: the window's client size, used by the next CreateLayers.
    void SetClientSize(QSize size);
    // The window was resized: a stretch view whose layers were created once recreates them
    // (and replays the history while data runs), also after a size that allowed no layers.
    void OnSize(QSize size);

    // (Re)creates both layers at the current size, then renders them. A stretch view replays
    // the stored history first while data runs on the document.
    void CreateLayers();
    void RenderBase();
    void RenderOverlay();
    // Applies an update hint; true when the window should repaint.
    bool OnUpdate(int32_t hint);

    // Calls paint with the overlay under the view lock, as a window's paint handler does.
    void PaintOverlay(const std::function<void(const QImage&)>& paint) const;
    // The part of the overlay that changed since the last call (all of it after the layers
    // were made), in layer pixels: a window that showed the overlay before needs only that.
    QRegion TakeChangedRegion();

    // For single-threaded users (headless views, tests): the layers and the geometry as the
    // last CreateLayers set them.
    const QImage& Base() const { return m_base; }
    const QImage& Overlay() const { return m_overlay; }
    bool HasLayers() const { return !m_base.isNull(); }
    QRect PictureRect() const { return m_geometry.m_pictureRect; }
    double Scale() const { return m_geometry.m_scale; }

private:
    bool NeedsReplay() const;
    bool CopyStore(std::vector<FieldRow>& rows) const;
    void CreateLayersLocked(std::vector<FieldRow>* replayRows);
    void RenderBaseLocked(bool fresh, std::vector<FieldRow>* replayRows);
    void RenderOverlayLocked();
    void CopyBaseLocked();
    void DrawPicture();
    void ReplayHistory(CDrawContext& dc, std::vector<FieldRow>& rows);

    CVantrelDoc& m_doc;
    const ViewKind m_kind;
    CReplaySource m_source;
    mutable std::mutex m_viewLock;
    QSize m_clientSize;
    CLayerGeometry m_geometry;
    QImage m_base;
    QImage m_overlay;
    // Outside these the overlay equals the base: what was drawn on the base since the overlay
    // last copied it, and what the overlay drew on its copy. A copy only restores those.
    CDamage m_baseDamage;
    CDamage m_overlayDamage;
    // What changed on the overlay since TakeChangedRegion.
    CDamage m_overlayChanged;
    // Set by the first CreateLayers: a size of 0 (minimised, a splitter pulled shut) leaves
    // no layers, and the next usable size must bring them back.
    bool m_created = false;
    // Shapes both layers draw again and again, kept from record to record.
    CDrawCache m_cache;
    // The picture scaled to the picture rectangle, kept while neither changes.
    QImage m_scaledPicture;
    qint64 m_scaledKey = 0;
};
