#include "model/VantrelDoc.h"

#include "model/DocumentFiles.h"
#include "platform/Archive.h"
#include "platform/UserInteraction.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kInfoFilter = QStringLiteral("Vantrel情報ファイル(*.vnf)|*.vnf||");

// The last component of a path written on either system.
QString StoredFileName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

// A file of the given name in dir; a name stored on a case-insensitive system may differ
// in letter case only.
QString FindInFolder(const QDir& dir, const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    const QFileInfo exact(dir.filePath(name));
    if (exact.isFile())
        return exact.filePath();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return QString();
}

} // namespace

void CVantrelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreDocument(ar, m_backgroundPath, m_pictureHeight, m_pictureWidth, m_viewInfos, m_plots, m_connects,
                      m_bars);
        return;
    }
    CDocumentContent loaded;
    loaded.Serialize(ar);
    m_backgroundPath = std::move(loaded.m_backgroundPath);
    m_pictureHeight = loaded.m_pictureHeight;
    m_pictureWidth = loaded.m_pictureWidth;
    m_viewInfos = std::move(loaded.m_viewInfos);
    m_plots = std::move(loaded.m_design.m_plots);
    m_connects = std::move(loaded.m_design.m_connects);
    m_bars = std::move(loaded.m_design.m_bars);
    LoadBackgroundPicture();
}

bool CVantrelDoc::OpenDocumentFile(const QString& path, CFileError* error)
{
    CArchive ar;
    try {
        ar = CArchive::LoadFile(path);
    } catch (const CArchiveError& e) {
        if (error)
            *error = CFileError{path, e.Reason(), e.Offset()};
        return false;
    }
    // The picture may be looked for beside the file being opened.
    const QString previousPath = m_filePath;
    m_filePath = path;
    try {
        Serialize(ar);
    } catch (const CArchiveError& e) {
        m_filePath = previousPath;
        if (error)
            *error = CFileError{path, e.Reason(), e.Offset()};
        return false;
    }
    m_modified = 0;
    return true;
}

bool CVantrelDoc::SaveDocumentFile(const QString& path, QString* error)
{
    CArchive ar;
    Serialize(ar);
    if (!WriteDesignFile(path, ar.Bytes(), error))
        return false;
    m_filePath = path;
    m_modified = 0;
    return true;
}

bool CVantrelDoc::SaveInfoFile(const QString& path, QString* error) const
{
    CArchive ar;
    StoreDesign(ar, m_plots, m_connects, m_bars);
    return WriteDesignFile(path, ar.Bytes(), error);
}

bool CVantrelDoc::OpenInfoFile(const QString& path, CFileError* error)
{
    CDesignLists design;
    if (!ReadInfoFile(path, design, error))
        return false;
    m_plots = std::move(design.m_plots);
    m_connects = std::move(design.m_connects);
    m_bars = std::move(design.m_bars);
    return true;
}

void CVantrelDoc::OnInfoSave(IUserInteraction& ui) const
{
    FileDialogRequest request;
    request.filter = kInfoFilter;
    request.title = QStringLiteral("保存するファイルを指定してください");
    request.defaultExtension = QStringLiteral("vnf");
    request.initialName = QStringLiteral("*.vnf");
    request.flags = FileDialogOverwritePrompt | FileDialogPathMustExist;
    const std::optional<QString> path = ui.SaveFile(request);
    if (!path)
        return;
    if (!SaveInfoFile(*path))
        ui.ShowError(QStringLiteral("保存できませんでした."));
}

void CVantrelDoc::OnInfoOpen(IUserInteraction& ui)
{
    if (ui.MessageBox(QStringLiteral("現在の設定は失われますが続けますか？"), QString(), MessageIcon::Question,
                      MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    FileDialogRequest request;
    request.filter = kInfoFilter;
    request.title = QStringLiteral("読み込むVantrel情報ファイルを指定してください");
    request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
    const std::optional<QString> path = ui.OpenFile(request);
    if (!path)
        return;
    // A damaged file leaves all three lists as they were.
    if (!OpenInfoFile(*path))
        ui.ShowError(QStringLiteral("開けませんでした."));
}

bool CVantrelDoc::SetBackgroundPicture(const QString& path, bool newDocument)
{
    m_image = QImage();
    m_backgroundPath = path;
    m_image.load(path);
    if (!m_image.isNull()) {
        m_pictureHeight = m_image.height();
        m_pictureWidth = m_image.width();
        return true;
    }
    if (newDocument) {
        m_pictureHeight = 0;
        m_pictureWidth = 0;
    }
    return false;
}

QString CVantrelDoc::ResolvePicturePath() const
{
    if (m_backgroundPath.isEmpty())
        return QString();
    if (QFileInfo(m_backgroundPath).isFile())
        return m_backgroundPath;
    // Documents travel between machines with their picture beside them.
    if (m_filePath.isEmpty())
        return QString();
    return FindInFolder(QFileInfo(m_filePath).absoluteDir(), StoredFileName(m_backgroundPath));
}

bool CVantrelDoc::LoadBackgroundPicture()
{
    m_image = QImage();
    const QString path = ResolvePicturePath();
    if (!path.isEmpty())
        m_image.load(path);
    return !m_image.isNull();
}
