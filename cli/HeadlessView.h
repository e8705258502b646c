#pragma once

#include "model/DocumentFeed.h"
#include "render/ViewLayers.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

class CVantrelDoc;

// A view without a window: the layers of one view of a document, updated from the feed's
// notification exactly as a window would be, on the document's worker. With a frame interval
// it also writes the overlay as a numbered PNG after every that many records.
class CHeadlessView : public IDocumentNotifier
{
public:
    CHeadlessView(CVantrelDoc& doc, ViewKind kind, QSize clientSize);

    void SetReplaySource(const CReplaySource& source) { m_layers.SetReplaySource(source); }
    // Frames "<base>-000001.png", ... after every `every` records; 0 writes none.
    void SetFrames(int64_t every, const QString& base);
    // Called on the document's worker whenever a window would repaint.
    void SetRepaintListener(std::function<void()> listener) { m_onRepaint = std::move(listener); }
    // A copy of the overlay, taken under the view lock; any thread.
    QImage GrabOverlay() const;

    // The first display of the view.
    void OnInitialUpdate();
    void OnDocData(CVantrelDoc& doc, const CDocData& item) override;

    // After the run: brings the overlay up to date when the last record only grew the history
    // (its hint asked for no repaint), drawing it as the running view would have.
    void Finish();
    bool WriteOverlay(const QString& path) const;

    CViewLayers& Layers() { return m_layers; }
    int64_t Records() const { return m_records; }
    // The first frame that could not be written; empty when all were.
    QString FrameError() const { return m_frameError; }

    static QString FramePath(const QString& base, int64_t number);

private:
    CVantrelDoc& m_doc;
    CViewLayers m_layers;
    int64_t m_every = 0;
    QString m_frameBase;
    int64_t m_records = 0;
    int64_t m_frames = 0;
    bool m_overlayStale = false;
    QString m_frameError;
    std::function<void()> m_onRepaint;
};
