#pragma once

// Everything a document read may change, as bytes, so that a failed read can be shown to
// have changed nothing.

#include "model/DocumentFiles.h"
#include "model/VantrelDoc.h"
#include "platform/Archive.h"

inline void FillDocument(CVantrelDoc& doc)
{
    doc.m_backgroundPath = QStringLiteral("missing-picture.png");
    doc.m_pictureHeight = 480;
    doc.m_pictureWidth = 640;
    doc.m_viewInfos = {CViewInfo(1, 2, 300, 200)};
    doc.m_plots.resize(2);
    doc.m_connects.resize(1);
    doc.m_bars.resize(1);
    doc.m_filePath = QStringLiteral("/nonexistent/previous.t2");
    doc.m_modified = 1;
}

inline QByteArray DocumentState(const CVantrelDoc& doc)
{
    CArchive ar;
    StoreDocument(ar, doc.m_backgroundPath, doc.m_pictureHeight, doc.m_pictureWidth, doc.m_viewInfos, doc.m_plots,
                  doc.m_connects, doc.m_bars);
    ar.WriteString(doc.m_filePath);
    ar.WriteInt32(doc.m_modified);
    ar.WriteInt64(doc.m_image.cacheKey());
    return ar.Bytes();
}
