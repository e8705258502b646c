#pragma once

#include "fields/CalcFD.h"
#include "fields/FDInfo.h"
#include "model/ViewInfo.h"
#include "pipeline/Buffer.h"
#include "pipeline/FieldRow.h"
#include "platform/Progress.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CArchive;
class CMain;
class CVantrelDoc;

// Everything the state file holds, in file order. Loading fills a record completely or
// throws CArchiveError; CMain takes it over only after that (all but m_version: a pipeline
// always writes its own).
struct CStateRecord
{
    int32_t m_version = 0;
    CBuffer<FieldRow> m_internalData;
    int32_t m_saveCsv = 0;
    int32_t m_appendCsv = 1;
    int32_t m_saveInternal = 1;
    int32_t m_keepInternal = 1;
    QStringList m_includePrefixes;
    QStringList m_excludePrefixes;
    std::vector<CCalcFD> m_calcFDs;
    CFDInfos m_fdInfos;
    CViewInfo m_windowInfo;
    int32_t m_templateCount = 0;
    std::vector<int32_t> m_docCounts;

    void Store(CArchive& ar);
    void Load(CArchive& ar);
};

// Reads a whole state file; false with the reason (file and byte offset) on any fault.
// progress counts the stored rows read; when it asks to stop, out stays as it was and the
// result is false with error empty.
bool ReadStateFile(const QString& path, CStateRecord& out, QString* error = nullptr,
                   const ProgressCallback& progress = {});

// Takes over the options, lists and store of a state record (not its documents).
void ApplyStateRecord(CMain& main, CStateRecord&& record);

// Writes one document into path as its own file type stores it. The document's own path
// and modified flag stay as they are.
bool SaveDocumentFile(CVantrelDoc& doc, const QString& path);

// The state file at path and one file per open document beside it ("DOC<d>.t<t>").
// A state file that cannot be written keeps the previous one whole, gives false with the
// reason in error, and leaves the document files alone. progress counts the stored rows
// written; when it asks to stop, the same holds with error empty.
bool SaveState(CMain& main, const QString& path, QString* error = nullptr, const ProgressCallback& progress = {});

// The second half of RestoreState, for a record read by ReadStateFile from path.
void ApplyRestoredState(CMain& main, const QString& path, CStateRecord&& record);

// Reads the state file at path; only when it was read completely: takes over its options,
// lists and store, closes every document and opens the documents saved beside it.
// A missing, damaged or foreign file changes nothing and gives false. progress counts the
// stored rows read; a stop asked for while reading changes nothing either (false). Once the
// file is read, the restore runs to its end.
bool RestoreState(CMain& main, const QString& path, const ProgressCallback& progress = {});

// "<folder>DOC<d>.t<t>" with d and t 1-based; folder ends in a separator or is empty.
QString StateDocumentPath(const QString& folder, int32_t d, int32_t t);
// The folder part of path, up to and including its last separator ("/" or "\").
QString StateFolder(const QString& path);
