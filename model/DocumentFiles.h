#pragma once

#include "model/BarInfo.h"
#include "model/ConnectInfo.h"
#include "model/PlotInfo.h"
#include "model/ViewInfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class CArchive;

// A file that could not be read: which file, why, and where.
class CFileError
{
public:
    QString m_path;
    QString m_reason;
    int64_t m_offset = 0;

    // "<file>: <reason> at byte offset <n>"
    QString Text() const;
};

// The three design lists: the whole of an info file and the tail of a document file.
class CDesignLists
{
public:
    // Loading reads all three lists before replacing any of them.
    void Serialize(CArchive& ar);

    std::vector<CPlotInfo> m_plots;
    std::vector<CConnectInfo> m_connects;
    std::vector<CBarInfo> m_bars;
};

// The stored part of a document, without its picture.
class CDocumentContent
{
public:
    // Loading reads everything before replacing anything.
    void Serialize(CArchive& ar);

    QString m_backgroundPath;
    int32_t m_pictureHeight = 0;
    int32_t m_pictureWidth = 0;
    std::vector<CViewInfo> m_viewInfos;
    CDesignLists m_design;
};

enum class DesignFileKind { Unknown, Document, Info };
// By extension: ".t1" and ".t2" are documents, ".vnf" info files (any letter case).
DesignFileKind DesignFileKindOf(const QString& path);

// Whole-file reading. On failure the target is unchanged and error says what went wrong.
// Bytes after the design are ignored, as the program always did; unreadBytes tells how many.
bool ReadDocumentFile(const QString& path, CDocumentContent& content, CFileError* error = nullptr,
                      int64_t* unreadBytes = nullptr);
bool ReadInfoFile(const QString& path, CDesignLists& design, CFileError* error = nullptr,
                  int64_t* unreadBytes = nullptr);

// The same from bytes already in memory; the error's path is left empty.
bool ReadDocumentBytes(const QByteArray& bytes, CDocumentContent& content, CFileError* error = nullptr,
                       int64_t* unreadBytes = nullptr);
bool ReadInfoBytes(const QByteArray& bytes, CDesignLists& design, CFileError* error = nullptr,
                   int64_t* unreadBytes = nullptr);

QByteArray DocumentBytes(const CDocumentContent& content);
QByteArray InfoBytes(const CDesignLists& design);

// The storing side of both layouts, straight from the lists of whoever holds them.
void StoreDocument(CArchive& ar, const QString& backgroundPath, int32_t pictureHeight, int32_t pictureWidth,
                   const std::vector<CViewInfo>& viewInfos, const std::vector<CPlotInfo>& plots,
                   const std::vector<CConnectInfo>& connects, const std::vector<CBarInfo>& bars);
void StoreDesign(CArchive& ar, const std::vector<CPlotInfo>& plots, const std::vector<CConnectInfo>& connects,
                 const std::vector<CBarInfo>& bars);

// Writes the bytes through a temporary file, so a failed write keeps the old file.
bool WriteDesignFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
