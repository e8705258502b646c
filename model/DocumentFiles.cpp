#include "model/DocumentFiles.h"

#include "model/DesignLists.h"
#include "platform/Archive.h"
#include "platform/SafeWrite.h"

#include <QFileInfo>

#include <new>

QString CFileError::Text() const
{
    return QStringLiteral("%1: %2 at byte offset %3").arg(m_path, m_reason).arg(m_offset);
}

void CDesignLists::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreDesign(ar, m_plots, m_connects, m_bars);
        return;
    }
    CDesignLists loaded;
    SerializeObjectList(ar, loaded.m_plots, kMinPlotInfoBytes);
    SerializeObjectList(ar, loaded.m_connects, kMinConnectInfoBytes);
    SerializeObjectList(ar, loaded.m_bars, kMinBarInfoBytes);
    *this = std::move(loaded);
}

void CDocumentContent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreDocument(ar, m_backgroundPath, m_pictureHeight, m_pictureWidth, m_viewInfos, m_design.m_plots,
                      m_design.m_connects, m_design.m_bars);
        return;
    }
    CDocumentContent loaded;
    loaded.m_backgroundPath = ar.ReadString();
    loaded.m_pictureHeight = ar.ReadInt32();
    loaded.m_pictureWidth = ar.ReadInt32();
    SerializeObjectList(ar, loaded.m_viewInfos, kMinViewInfoBytes);
    loaded.m_design.Serialize(ar);
    *this = std::move(loaded);
}

DesignFileKind DesignFileKindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("t1") || suffix == QLatin1String("t2"))
        return DesignFileKind::Document;
    if (suffix == QLatin1String("vnf"))
        return DesignFileKind::Info;
    return DesignFileKind::Unknown;
}

namespace {

template <typename T>
bool ReadBytes(const QByteArray& bytes, T& target, CFileError* error, int64_t* unreadBytes)
{
    CArchive ar(bytes);
    try {
        T loaded;
        loaded.Serialize(ar);
        target = std::move(loaded);
    } catch (const CArchiveError& e) {
        if (error) {
            error->m_reason = e.Reason();
            error->m_offset = e.Offset();
        }
        return false;
    } catch (const std::bad_alloc&) {
        // Counts are checked against the file size, so only a huge but consistent file
        // gets here.
        if (error) {
            error->m_reason = QStringLiteral("out of memory");
            error->m_offset = ar.Position();
        }
        return false;
    }
    if (unreadBytes)
        *unreadBytes = ar.Remaining();
    return true;
}

template <typename T>
bool ReadFile(const QString& path, T& target, CFileError* error, int64_t* unreadBytes)
{
    QByteArray bytes;
    try {
        bytes = CArchive::LoadFile(path).Bytes();
    } catch (const CArchiveError& e) {
        if (error)
            *error = CFileError{path, e.Reason(), e.Offset()};
        return false;
    }
    if (!ReadBytes(bytes, target, error, unreadBytes)) {
        if (error)
            error->m_path = path;
        return false;
    }
    return true;
}

template <typename T>
QByteArray StoreBytes(const T& source)
{
    CArchive ar;
    // Storing reads the object only; Serialize is not const because it also loads.
    const_cast<T&>(source).Serialize(ar);
    return ar.Bytes();
}

} // namespace

bool ReadDocumentBytes(const QByteArray& bytes, CDocumentContent& content, CFileError* error, int64_t* unreadBytes)
{
    return ReadBytes(bytes, content, error, unreadBytes);
}

bool ReadInfoBytes(const QByteArray& bytes, CDesignLists& design, CFileError* error, int64_t* unreadBytes)
{
    return ReadBytes(bytes, design, error, unreadBytes);
}

bool ReadDocumentFile(const QString& path, CDocumentContent& content, CFileError* error, int64_t* unreadBytes)
{
    return ReadFile(path, content, error, unreadBytes);
}

bool ReadInfoFile(const QString& path, CDesignLists& design, CFileError* error, int64_t* unreadBytes)
{
    return ReadFile(path, design, error, unreadBytes);
}

QByteArray DocumentBytes(const CDocumentContent& content)
{
    return StoreBytes(content);
}

QByteArray InfoBytes(const CDesignLists& design)
{
    return StoreBytes(design);
}

bool WriteDesignFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return SafeWriteFile(path, bytes, error);
}

void StoreDocument(CArchive& ar, const QString& backgroundPath, int32_t pictureHeight, int32_t pictureWidth,
                   const std::vector<CViewInfo>& viewInfos, const std::vector<CPlotInfo>& plots,
                   const std::vector<CConnectInfo>& connects, const std::vector<CBarInfo>& bars)
{
    ar.WriteString(backgroundPath);
    ar.WriteInt32(pictureHeight);
    ar.WriteInt32(pictureWidth);
    // Storing reads the elements only; their Serialize is not const because it also loads.
    SerializeObjectList(ar, const_cast<std::vector<CViewInfo>&>(viewInfos), kMinViewInfoBytes);
    StoreDesign(ar, plots, connects, bars);
}

void StoreDesign(CArchive& ar, const std::vector<CPlotInfo>& plots, const std::vector<CConnectInfo>& connects,
                 const std::vector<CBarInfo>& bars)
{
    SerializeObjectList(ar, const_cast<std::vector<CPlotInfo>&>(plots), kMinPlotInfoBytes);
    SerializeObjectList(ar, const_cast<std::vector<CConnectInfo>&>(connects), kMinConnectInfoBytes);
    SerializeObjectList(ar, const_cast<std::vector<CBarInfo>&>(bars), kMinBarInfoBytes);
}
