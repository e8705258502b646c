#include "app/DocManager.h"

#include "app/ChildFrame.h"
#include "dialogs/EditDialog.h"
#include "model/DocumentFiles.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"
#include "views/DocumentNotifier.h"
#include "views/StretchView.h"
#include "views/VantrelView.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>

#include <algorithm>

namespace {

FileDialogRequest PictureRequest()
{
    FileDialogRequest request;
    request.filter = QStringLiteral("背景画像JPEG(*.jpg)|*.jpg|背景画像BMP(*.bmp)|*.bmp||");
    request.title = QStringLiteral("読み込むファイルを指定してください");
    request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
    return request;
}

bool SamePath(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

// ---- CDocEntry ----

CDocEntry::CDocEntry(int templateIndex, std::unique_ptr<CVantrelDoc> doc)
    : m_templateIndex(templateIndex), m_doc(std::move(doc))
{
}

CDocEntry::~CDocEntry()
{
    // The edit dialog works on this document: it must not outlive it.
    delete m_editDialog.data();
    if (m_doc)
        m_doc->m_notifier = nullptr;
}

QString CDocEntry::Title() const
{
    if (m_doc->m_filePath.isEmpty())
        return m_untitledName;
    return QFileInfo(m_doc->m_filePath).fileName();
}

QString CDocEntry::FrameTitle(size_t index) const
{
    if (m_frames.size() < 2)
        return Title();
    return Title() + QLatin1Char(':') + QString::number(index + 1);
}

std::vector<CViewWidget*> CDocEntry::Views() const
{
    std::vector<CViewWidget*> views;
    for (CChildFrame* frame : m_frames) {
        if (frame->View())
            views.push_back(frame->View());
    }
    return views;
}

void CDocEntry::UpdateAllViews(int32_t hint) const
{
    for (CViewWidget* view : Views())
        view->OnUpdate(hint);
}

void CDocEntry::RefreshViewInfos() const
{
    m_doc->m_viewInfos.clear();
    for (CChildFrame* frame : m_frames)
        m_doc->m_viewInfos.push_back(frame->NormalPlacement());
}

CEditDialog* CDocEntry::EditDialog() const
{
    return m_editDialog.data();
}

void CDocEntry::SetEditDialog(CEditDialog* dialog)
{
    m_editDialog = dialog;
}

// ---- CDocManager ----

CDocManager::CDocManager(IUserInteraction& ui, QObject* parent)
    : QObject(parent), m_ui(ui)
{
}

CDocManager::~CDocManager() = default;

void CDocManager::SetEditMenus(QMenu* scroll, QMenu* stretch)
{
    m_editMenus[0] = scroll;
    m_editMenus[1] = stretch;
}

int CDocManager::DocumentCount(int templateIndex) const
{
    return templateIndex >= 0 && templateIndex < 2 ? int(m_entries[templateIndex].size()) : 0;
}

CDocEntry* CDocManager::Entry(int templateIndex, int index) const
{
    if (index < 0 || index >= DocumentCount(templateIndex))
        return nullptr;
    return m_entries[templateIndex][size_t(index)].get();
}

std::vector<CDocEntry*> CDocManager::Entries() const
{
    std::vector<CDocEntry*> all;
    for (const auto& list : m_entries) {
        for (const auto& entry : list)
            all.push_back(entry.get());
    }
    return all;
}

CDocEntry* CDocManager::EntryOf(const CVantrelDoc* doc) const
{
    for (CDocEntry* entry : Entries()) {
        if (&entry->Doc() == doc)
            return entry;
    }
    return nullptr;
}

std::optional<QString> CDocManager::ChoosePicture() const
{
    return m_ui.OpenFile(PictureRequest());
}

bool CDocManager::CheckPictureSize(CVantrelDoc& doc) const
{
    if (doc.m_image.width() <= kMaxLayerSide && doc.m_image.height() <= kMaxLayerSide)
        return true;
    // The layers cannot hold it; the views show the blue fill instead.
    doc.m_image = QImage();
    m_ui.ShowError(QStringLiteral("背景画像が大きすぎるため表示できません。\n幅と高さは %1 ピクセルまでです。")
                       .arg(kMaxLayerSide));
    return false;
}

CDocEntry* CDocManager::NewDocument(int templateIndex)
{
    if (templateIndex < 0 || templateIndex >= 2)
        return nullptr;
    const std::optional<QString> picture = ChoosePicture();
    if (!picture)
        return nullptr;
    auto doc = std::make_unique<CVantrelDoc>();
    if (!doc->SetBackgroundPicture(*picture, true)) {
        m_ui.ShowError(QStringLiteral("開けませんでした."));
        return nullptr;
    }
    CheckPictureSize(*doc);
    auto entry = std::make_unique<CDocEntry>(templateIndex, std::move(doc));
    entry->m_untitledName = DocTemplates()[size_t(templateIndex)].m_docName
                            + QString::number(++m_untitledCount[templateIndex]);
    CDocEntry& ref = *entry;
    m_entries[templateIndex].push_back(std::move(entry));
    CreateFrame(ref, true);
    Q_EMIT documentsChanged();
    return &ref;
}

CDocEntry* CDocManager::OpenDocumentFile(const QString& path)
{
    for (CDocEntry* entry : Entries()) {
        if (SamePath(entry->Doc().m_filePath, path)) {
            if (!entry->m_frames.empty() && m_area)
                m_area->setActiveSubWindow(entry->m_frames.front());
            AddRecentFile(path);
            return entry;
        }
    }
    const int t = TemplateIndexOf(path);
    if (t < 0) {
        m_ui.ShowError(QStringLiteral("%1\nは Vantrel のドキュメントではありません。").arg(path));
        return nullptr;
    }
    auto doc = std::make_unique<CVantrelDoc>();
    CFileError error;
    if (!doc->OpenDocumentFile(QFileInfo(path).absoluteFilePath(), &error)) {
        m_ui.ShowError(QStringLiteral("ドキュメントを開けませんでした。\n%1").arg(error.Text()));
        return nullptr;
    }
    CheckPictureSize(*doc);
    auto entry = std::make_unique<CDocEntry>(t, std::move(doc));
    CDocEntry& ref = *entry;
    m_entries[t].push_back(std::move(entry));
    // One window per stored placement; each takes its record, then the records are cleared
    // so that later windows open at the default place.
    const size_t windows = std::max<size_t>(1, ref.Doc().m_viewInfos.size());
    for (size_t i = 0; i < windows; ++i)
        CreateFrame(ref, i + 1 == windows);
    ref.Doc().m_viewInfos.clear();
    AddRecentFile(ref.Doc().m_filePath);
    Q_EMIT documentsChanged();
    return &ref;
}

CChildFrame* CDocManager::CreateFrame(CDocEntry& entry, bool activate)
{
    CVantrelDoc& doc = entry.Doc();
    CViewWidget* view = nullptr;
    if (entry.Template().m_kind == ViewKind::Scroll)
        view = new CVantrelView(doc);
    else
        view = new CStretchView(doc);
    view->SetReplaySource(m_replaySource);
    view->SetEditMenu(m_editMenus[entry.m_templateIndex]);
    view->SetEditDialogSource([e = &entry] { return e->EditDialog(); });

    if (!entry.m_notifier) {
        entry.m_notifier = std::make_unique<CDocumentNotifier>();
        CDocEntry* e = &entry;
        entry.m_notifier->SetHandler([e](CVantrelDoc&, int32_t hint) { e->UpdateAllViews(hint); });
        doc.m_notifier = entry.m_notifier.get();
    }

    auto* frame = new CChildFrame(entry, view);
    const size_t index = entry.m_frames.size();
    entry.m_frames.push_back(frame);
    connect(frame, &CChildFrame::closeAsked, this, &CDocManager::OnFrameCloseAsked);
    connect(view, &CViewWidget::closeRequested, frame, [this, frame] {
        // A document without a picture size cannot be shown.
        CDocEntry& e = frame->Entry();
        if (e.m_frames.size() == 1)
            CloseDocument(e, false);
        else
            RemoveFrame(e, frame);
    });
    if (m_area) {
        m_area->addSubWindow(frame);
        frame->setWindowIcon(m_area->window()->windowIcon());
        // Before the main window is first shown its area has no size yet.
        QSize area = m_area->viewport()->size();
        if (!m_area->isVisible())
            area = m_area->window()->size() - QSize(40, 120);
        frame->resize(std::max(150, area.width() * 2 / 3), std::max(150, area.height() * 2 / 3));
    }
    if (index < doc.m_viewInfos.size())
        frame->ApplyPlacement(doc.m_viewInfos[index]);
    UpdateTitles(entry);
    frame->show();
    view->OnInitialUpdate();
    if (activate && m_area)
        m_area->setActiveSubWindow(frame);
    return frame;
}

CChildFrame* CDocManager::NewWindow(CDocEntry& entry)
{
    CChildFrame* frame = CreateFrame(entry, true);
    Q_EMIT documentsChanged();
    return frame;
}

void CDocManager::UpdateTitles(CDocEntry& entry) const
{
    for (size_t i = 0; i < entry.m_frames.size(); ++i)
        entry.m_frames[i]->setWindowTitle(entry.FrameTitle(i));
}

void CDocManager::OnFrameCloseAsked(CChildFrame* frame)
{
    if (m_isBusy && m_isBusy()) {
        Q_EMIT closeRefused();
        return;
    }
    CDocEntry& entry = frame->Entry();
    if (entry.m_frames.size() > 1) {
        RemoveFrame(entry, frame);
        Q_EMIT documentsChanged();
        return;
    }
    CloseDocument(entry, true);
}

void CDocManager::RemoveFrame(CDocEntry& entry, CChildFrame* frame)
{
    auto& frames = entry.m_frames;
    frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
    frame->m_closeAccepted = true;
    frame->close();
    UpdateTitles(entry);
}

bool CDocManager::SaveDocument(CDocEntry& entry, bool saveAs)
{
    CVantrelDoc& doc = entry.Doc();
    QString path = doc.m_filePath;
    if (saveAs || path.isEmpty()) {
        const CDocTemplate& t = entry.Template();
        FileDialogRequest request;
        request.filter = t.Filter() + QLatin1Char('|');
        request.title = QStringLiteral("名前を付けて保存");
        request.defaultExtension = t.m_extension.mid(1);
        request.initialName = path.isEmpty() ? entry.Title() : QFileInfo(path).fileName();
        request.flags = FileDialogOverwritePrompt | FileDialogPathMustExist | FileDialogHideReadOnly;
        const std::optional<QString> chosen = m_ui.SaveFile(request);
        if (!chosen)
            return false;
        path = *chosen;
    }
    entry.RefreshViewInfos();
    QString error;
    if (!doc.SaveDocumentFile(path, &error)) {
        m_ui.ShowError(QStringLiteral("ドキュメントを保存できませんでした。\n%1").arg(error.isEmpty() ? path : error));
        return false;
    }
    UpdateTitles(entry);
    AddRecentFile(path);
    Q_EMIT documentsChanged();
    return true;
}

bool CDocManager::SaveModified(CDocEntry& entry)
{
    if (!entry.Doc().m_modified)
        return true;
    const MessageAnswer answer = m_ui.MessageBox(QStringLiteral("%1 への変更を保存しますか?").arg(entry.Title()),
                                                 QString(), MessageIcon::Exclamation, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No)
        return true;
    return SaveDocument(entry, false);
}

bool CDocManager::SaveAllModified()
{
    for (CDocEntry* entry : Entries()) {
        if (!SaveModified(*entry))
            return false;
    }
    return true;
}

bool CDocManager::CloseDocument(CDocEntry& entry, bool ask)
{
    if (ask && !SaveModified(entry))
        return false;
    // Frames go first: their views read the document.
    // The views go at once: the frames are deleted later, after the document.
    for (CChildFrame* frame : std::vector<CChildFrame*>(entry.m_frames)) {
        frame->ReleaseView();
        frame->m_closeAccepted = true;
        frame->close();
    }
    entry.m_frames.clear();
    auto& list = m_entries[entry.m_templateIndex];
    list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& e) { return e.get() == &entry; }), list.end());
    Q_EMIT documentsChanged();
    return true;
}

void CDocManager::CloseAllDocuments()
{
    for (CDocEntry* entry : Entries())
        CloseDocument(*entry, false);
}

void CDocManager::ChangePicture(CDocEntry& entry)
{
    const std::optional<QString> picture = ChoosePicture();
    if (!picture)
        return;
    CVantrelDoc& doc = entry.Doc();
    doc.SetBackgroundPicture(*picture, false);
    CheckPictureSize(doc);
    doc.m_modified = 1;
    entry.UpdateAllViews(6);
    Q_EMIT documentsChanged();
}

void CDocManager::SetRecentFiles(const QStringList& files)
{
    m_recentFiles = files.mid(0, kRecentFileCount);
    Q_EMIT recentFilesChanged(m_recentFiles);
}

void CDocManager::AddRecentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = m_recentFiles;
    files.removeAll(absolute);
    files.prepend(absolute);
    SetRecentFiles(files);
}
