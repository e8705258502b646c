#pragma once

#include "app/DocTemplate.h"
#include "render/ViewLayers.h"

#include <QMdiArea>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <memory>
#include <vector>

class CChildFrame;
class CDocumentNotifier;
class CEditDialog;
class CVantrelDoc;
class CViewWidget;
class IUserInteraction;
class QMdiArea;
class QMenu;

// The application's side of one open document: the document, its windows in view order, and
// the object through which its worker tells the views about applied records.
class CDocEntry
{
public:
    CDocEntry(int templateIndex, std::unique_ptr<CVantrelDoc> doc);
    ~CDocEntry();

    CVantrelDoc& Doc() const { return *m_doc; }
    int TemplateIndex() const { return m_templateIndex; }
    const CDocTemplate& Template() const { return DocTemplates()[size_t(m_templateIndex)]; }
    const std::vector<CChildFrame*>& Frames() const { return m_frames; }

    // The file name, or the untitled name ("Scroll1").
    QString Title() const;
    // The title of the i-th window: with ":1", ":2", ... while the document has several.
    QString FrameTitle(size_t index) const;
    // Every view of the document in view order.
    std::vector<CViewWidget*> Views() const;
    void UpdateAllViews(int32_t hint) const;
    // The view records from the windows, for saving.
    void RefreshViewInfos() const;
    // The document's open plot or bar edit dialog, or null.
    CEditDialog* EditDialog() const;
    void SetEditDialog(CEditDialog* dialog);

private:
    friend class CDocManager;
    int m_templateIndex;
    std::unique_ptr<CVantrelDoc> m_doc;
    std::unique_ptr<CDocumentNotifier> m_notifier;
    std::vector<CChildFrame*> m_frames;
    QString m_untitledName;
    QPointer<CEditDialog> m_editDialog;
};

// Opens, creates, saves and closes documents and their windows, keeps the recent-file list,
// and asks about unsaved changes. Everything here runs on the UI thread.
class CDocManager : public QObject
{
    Q_OBJECT

public:
    CDocManager(IUserInteraction& ui, QObject* parent = nullptr);
    ~CDocManager() override;

    // Where windows go and what they show on a right click; set once by the main window.
    void SetMdiArea(QMdiArea* area) { m_area = area; }
    void SetEditMenus(QMenu* scroll, QMenu* stretch);
    void SetReplaySource(const CReplaySource& source) { m_replaySource = source; }
    // Whether a run or a dialog keeps documents from closing.
    void SetBusyCheck(std::function<bool()> busy) { m_isBusy = std::move(busy); }

    // Documents by template in opening order.
    int DocumentCount(int templateIndex) const;
    CDocEntry* Entry(int templateIndex, int index) const;
    std::vector<CDocEntry*> Entries() const;
    CDocEntry* EntryOf(const CVantrelDoc* doc) const;

    // A new document: the picture is chosen before any window exists; cancelling or a
    // picture that does not load discards it. Null when nothing was created.
    CDocEntry* NewDocument(int templateIndex);
    // Opens a document file (type by extension) with as many windows as it stores
    // placements; an already open file gets its first window activated. Failures are shown.
    CDocEntry* OpenDocumentFile(const QString& path);
    // Save (asks for a name when the document has none) or save as; false when not saved.
    bool SaveDocument(CDocEntry& entry, bool saveAs);
    // Asks about unsaved changes; false when the user cancels or saving fails.
    bool SaveModified(CDocEntry& entry);
    bool SaveAllModified();
    // Closes a document and all its windows, asking about unsaved changes when ask is set.
    bool CloseDocument(CDocEntry& entry, bool ask);
    void CloseAllDocuments();
    CChildFrame* NewWindow(CDocEntry& entry);

    // The background picture of an open document.
    void ChangePicture(CDocEntry& entry);

    QStringList RecentFiles() const { return m_recentFiles; }
    void SetRecentFiles(const QStringList& files);

Q_SIGNALS:
    void documentsChanged();
    void recentFilesChanged(const QStringList& files);
    void closeRefused();

private:
    CChildFrame* CreateFrame(CDocEntry& entry, bool activate);
    void OnFrameCloseAsked(CChildFrame* frame);
    void RemoveFrame(CDocEntry& entry, CChildFrame* frame);
    void UpdateTitles(CDocEntry& entry) const;
    void AddRecentFile(const QString& path);
    // Asks for a picture; nullopt when cancelled.
    std::optional<QString> ChoosePicture() const;
    bool CheckPictureSize(CVantrelDoc& doc) const;

    IUserInteraction& m_ui;
    QPointer<QMdiArea> m_area;
    QMenu* m_editMenus[2] = {nullptr, nullptr};
    CReplaySource m_replaySource;
    std::function<bool()> m_isBusy;
    std::vector<std::unique_ptr<CDocEntry>> m_entries[2];
    int m_untitledCount[2] = {0, 0};
    QStringList m_recentFiles;
};

constexpr int kRecentFileCount = 4;
