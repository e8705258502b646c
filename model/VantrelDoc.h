#pragma once

#include "model/BarInfo.h"
#include "model/ConnectInfo.h"
#include "model/Enums.h"
#include "model/PlotInfo.h"
#include "model/ViewInfo.h"
#include "pipeline/DocData.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CArchive;
class CFileError;
class IDocumentNotifier;
class IUserInteraction;

// The document: a background picture, the design drawn over it, the working copies the
// dialogs edit, and the feed that applies records to the design.
class CVantrelDoc
{
public:
    CVantrelDoc() = default;
    CVantrelDoc(const CVantrelDoc&) = delete;
    CVantrelDoc& operator=(const CVantrelDoc&) = delete;
    virtual ~CVantrelDoc() = default;

    // --- document feed (implemented in model/DocumentFeed.cpp) ---
    int32_t m_editMode = 0;            // EditMode, stored and compared as int32
    int32_t m_currentRow = -1;
    int32_t m_firstAfterReset = 0;
    std::mutex m_feedLock;             // guards m_feedQueue and the worker's reading of m_feedStop
    std::deque<CDocData> m_feedQueue;
    std::atomic<int32_t> m_feedStop{0};
    std::unique_ptr<std::thread> m_pFeedThread;
    std::mutex m_renderLock;           // held by ApplyDocData steps 2-4 and by rendering outside the notification
    IDocumentNotifier* m_notifier = nullptr; // the first view's frame; null = no view
    void ResetFeed();
    // Producer side (main worker, internal data player): appends under m_feedLock.
    void EnqueueFeed(CDocData&& item);
    void ApplyDocData(const CDocData& item);
    void StartFeed();                  // sets Running and starts the worker
    void StopFeed();
    static void DocumentWorker(CVantrelDoc* doc);

    // --- document file and picture (model/VantrelDoc.cpp) ---

    // The document file layout, the same for both document types. Storing writes
    // m_viewInfos as they are: whoever owns the frames refreshes them first. Loading reads
    // the whole file before it changes anything, then loads the picture (set m_filePath
    // first so that it can be found beside the file); a damaged file throws CArchiveError
    // and leaves the document as it was.
    virtual void Serialize(CArchive& ar);

    // Whole-file forms of Serialize; m_filePath becomes path on success. On failure error
    // names the file, the reason and the byte offset.
    bool OpenDocumentFile(const QString& path, CFileError* error = nullptr);
    bool SaveDocumentFile(const QString& path, QString* error = nullptr);

    // The design alone (plots, connections, bars). Opening replaces all three lists or,
    // when the file is damaged, none of them.
    bool SaveInfoFile(const QString& path, QString* error = nullptr) const;
    bool OpenInfoFile(const QString& path, CFileError* error = nullptr);
    // The info save and open commands with their choosers and messages.
    void OnInfoSave(IUserInteraction& ui) const;
    void OnInfoOpen(IUserInteraction& ui);

    // Chooses a new picture: a new document's sizes drop to 0 when it does not load, an
    // existing document keeps them. Returns whether a picture was loaded.
    bool SetBackgroundPicture(const QString& path, bool newDocument);
    // Loads m_backgroundPath into m_image, looking beside the document file when the stored
    // path does not exist here; the stored path and sizes stay as they are.
    bool LoadBackgroundPicture();
    // Where the stored picture is found on this machine; empty when nowhere.
    QString ResolvePicturePath() const;

    // Fields of the document file.
    QImage m_image;
    QString m_backgroundPath;
    int32_t m_pictureHeight = 0; // as stored, used even when the picture is missing
    int32_t m_pictureWidth = 0;
    std::vector<CViewInfo> m_viewInfos;

    // The committed design: saved, and updated by the feed.
    std::vector<CPlotInfo> m_plots;
    std::vector<CConnectInfo> m_connects;
    std::vector<CBarInfo> m_bars;

    // Copies edited by the list and edit dialogs; empty while no dialog of the kind runs.
    std::vector<CPlotInfo> m_workPlots;
    std::vector<CConnectInfo> m_workConnects;
    std::vector<CBarInfo> m_workBars;
    int32_t m_selectedIndex = -1; // into the working list of the open dialog; -1 = none

    int32_t m_modified = 0;
    QString m_filePath; // empty: the next plain save asks for a name
};
