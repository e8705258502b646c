#include "runtime/StateFile.h"

#include "model/VantrelDoc.h"
#include "runtime/Main.h"
#include "platform/Archive.h"
#include "platform/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace {

const QString kMagic = QStringLiteral("Vantrel");
constexpr uint32_t kHighestVersion = 10000;

void StorePrefixes(CArchive& ar, const QStringList& list)
{
    ar.WriteInt32(static_cast<int32_t>(list.size()));
    for (const QString& s : list)
        ar.WriteString(s);
}

QStringList LoadPrefixes(CArchive& ar)
{
    // An archive string takes at least one byte.
    const int32_t count = ar.ReadCount(1);
    QStringList list;
    list.reserve(std::min<int32_t>(count, 1 << 16));
    for (int32_t i = 0; i < count; ++i)
        list.append(ar.ReadString());
    return list;
}

} // namespace

void CStateRecord::Store(CArchive& ar)
{
    ar.WriteString(kMagic);
    ar.WriteInt32(m_version);
    m_internalData.Serialize(ar);
    ar.WriteInt32(m_saveCsv);
    ar.WriteInt32(m_appendCsv);
    ar.WriteInt32(m_saveInternal);
    ar.WriteInt32(m_keepInternal);
    StorePrefixes(ar, m_includePrefixes);
    StorePrefixes(ar, m_excludePrefixes);
    ar.WriteInt32(static_cast<int32_t>(m_calcFDs.size()));
    for (CCalcFD& calc : m_calcFDs)
        calc.Serialize(ar);
    m_fdInfos.Serialize(ar);
    m_windowInfo.Serialize(ar);
    ar.WriteInt32(m_templateCount);
    for (int32_t count : m_docCounts)
        ar.WriteInt32(count);
}

void CStateRecord::Load(CArchive& ar)
{
    if (ar.ReadString() != kMagic)
        ar.Fail(QStringLiteral("not a state file"));
    const uint32_t version = ar.ReadUInt32();
    if (version > kHighestVersion)
        ar.Fail(QStringLiteral("unknown state file version %1").arg(version));
    m_version = static_cast<int32_t>(version); // shown by tools; the pipeline does not take it over
    m_internalData.Serialize(ar);
    m_saveCsv = ar.ReadInt32();
    m_appendCsv = ar.ReadInt32();
    m_saveInternal = ar.ReadInt32();
    m_keepInternal = ar.ReadInt32();
    m_includePrefixes = LoadPrefixes(ar);
    m_excludePrefixes = LoadPrefixes(ar);
    // A computed FD holds four archive strings.
    const int32_t calcCount = ar.ReadCount(4);
    m_calcFDs.clear();
    m_calcFDs.reserve(static_cast<size_t>(std::min<int32_t>(calcCount, 1 << 16)));
    for (int32_t i = 0; i < calcCount; ++i) {
        CCalcFD calc;
        calc.Serialize(ar);
        m_calcFDs.push_back(std::move(calc));
    }
    m_fdInfos.Serialize(ar);
    m_windowInfo.Serialize(ar);
    m_templateCount = ar.ReadCount(4);
    m_docCounts.clear();
    m_docCounts.reserve(static_cast<size_t>(m_templateCount));
    for (int32_t t = 0; t < m_templateCount; ++t) {
        const int32_t count = ar.ReadInt32();
        if (count < 0)
            ar.Fail(QStringLiteral("negative document count %1").arg(count));
        m_docCounts.push_back(count);
    }
}

void CMain::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        CStateRecord record;
        record.Load(ar);
        m_templateCount = record.m_templateCount;
        m_docCounts = record.m_docCounts;
        ApplyStateRecord(*this, std::move(record));
        return;
    }

    if (m_pApp)
        m_windowInfo = m_pApp->MainWindowPlacement();
    m_templateCount = m_pApp ? m_pApp->TemplateCount() : 0;
    m_docCounts.clear();
    for (int32_t t = 0; t < m_templateCount; ++t)
        m_docCounts.push_back(m_pApp->DocumentCount(t));

    // Written through a record so that both directions share one field order. The store is
    // moved out and back rather than copied: it may hold millions of rows.
    CStateRecord record;
    record.m_version = m_version;
    record.m_internalData = std::move(m_internalData);
    record.m_saveCsv = m_saveCsv;
    record.m_appendCsv = m_appendCsv;
    record.m_saveInternal = m_saveInternal;
    record.m_keepInternal = m_keepInternal;
    record.m_includePrefixes = m_includePrefixes;
    record.m_excludePrefixes = m_excludePrefixes;
    record.m_calcFDs = m_calcFDs;
    record.m_fdInfos = m_fdInfos;
    record.m_windowInfo = m_windowInfo;
    record.m_templateCount = m_templateCount;
    record.m_docCounts = m_docCounts;
    struct Restore
    {
        CMain& main;
        CStateRecord& record;
        ~Restore() { main.m_internalData = std::move(record.m_internalData); }
    } restore{*this, record};
    record.Store(ar);
}

void ApplyStateRecord(CMain& main, CStateRecord&& record)
{
    main.m_internalData = std::move(record.m_internalData);
    main.m_saveCsv = record.m_saveCsv;
    main.m_appendCsv = record.m_appendCsv;
    main.m_saveInternal = record.m_saveInternal;
    main.m_keepInternal = record.m_keepInternal;
    main.m_includePrefixes = std::move(record.m_includePrefixes);
    main.m_excludePrefixes = std::move(record.m_excludePrefixes);
    main.m_calcFDs = std::move(record.m_calcFDs);
    main.m_fdInfos = std::move(record.m_fdInfos);
    main.m_windowInfo = record.m_windowInfo;
    if (main.m_pApp && !main.m_windowInfo.IsEmpty())
        main.m_pApp->MoveMainWindow(main.m_windowInfo);
}

bool ReadStateFile(const QString& path, CStateRecord& out, QString* error, const ProgressCallback& progress)
{
    try {
        CArchive ar = CArchive::LoadFile(path);
        ar.SetProgress(progress);
        CStateRecord record;
        record.Load(ar);
        out = std::move(record);
        return true;
    } catch (const CArchiveError& e) {
        if (error)
            *error = QStringLiteral("%1: %2 at byte offset %3").arg(path, e.Reason()).arg(e.Offset());
        return false;
    } catch (const CArchiveStopped&) {
        if (error)
            error->clear();
        return false;
    }
}

QString StateFolder(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

QString StateDocumentPath(const QString& folder, int32_t d, int32_t t)
{
    return folder + QStringLiteral("DOC%1.t%2").arg(d).arg(t);
}

bool SaveDocumentFile(CVantrelDoc& doc, const QString& path)
{
    // Saving a state is not a "save as": the document's own path and modified flag stay.
    const QString ownPath = doc.m_filePath;
    const int32_t modified = doc.m_modified;
    const bool ok = doc.SaveDocumentFile(path);
    doc.m_filePath = ownPath;
    doc.m_modified = modified;
    return ok;
}

bool SaveState(CMain& main, const QString& path, QString* error, const ProgressCallback& progress)
{
    try {
        CArchive ar;
        ar.SetProgress(progress);
        // A stop unwinds through Serialize, which puts the store back.
        main.Serialize(ar);
        // The bytes go out in pieces so that a stop is still possible while they are written;
        // the rows are all counted by then.
        const int64_t rows = main.m_internalData.GetCount();
        const CProgressTicker ticker(progress, rows);
        bool stopped = false;
        const QByteArray& bytes = ar.Bytes();
        const bool written = SafeWriteFile(
            path,
            [&](CSafeWrite& file) {
                constexpr qsizetype kPiece = qsizetype(1) << 20;
                for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
                    if (!ticker.Ask(rows)) {
                        stopped = true;
                        return false;
                    }
                    if (!file.Write(bytes.constData() + at, std::min(kPiece, bytes.size() - at)))
                        return false;
                }
                return true;
            },
            error);
        if (stopped && error)
            error->clear();
        if (!written)
            return false;
    } catch (const CArchiveStopped&) {
        if (error)
            error->clear();
        return false;
    } catch (const std::exception& e) {
        // A store too large for the file form, or no memory for its bytes.
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(e.what()));
        return false;
    }

    IDocumentHost* host = main.m_pApp;
    if (!host)
        return true;
    const QString folder = StateFolder(path);
    for (int32_t t = 0; t < host->TemplateCount(); ++t) {
        for (int32_t d = 0; d < host->DocumentCount(t); ++d) {
            CVantrelDoc* doc = host->Document(t, d);
            const QString name = StateDocumentPath(folder, d + 1, t + 1);
            // A file left from an earlier state would be taken for this one.
            if (!doc || !SaveDocumentFile(*doc, name))
                QFile::remove(name);
        }
    }
    return true;
}

namespace {

// The highest d of the "DOC<d>.t<t>" files in folder, per t. Bounds the opening loop: a
// damaged count must not try to open billions of files.
std::map<int32_t, int32_t> HighestDocumentNumbers(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^DOC([1-9][0-9]{0,8})\\.t([1-9][0-9]{0,8})$"));
    std::map<int32_t, int32_t> highest;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList names = dir.entryList({QStringLiteral("DOC*.t*")}, QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        const int32_t d = m.captured(1).toInt();
        const int32_t t = m.captured(2).toInt();
        highest[t] = std::max(highest[t], d);
    }
    return highest;
}

} // namespace

bool RestoreState(CMain& main, const QString& path, const ProgressCallback& progress)
{
    CStateRecord record;
    if (!ReadStateFile(path, record, nullptr, progress))
        return false;
    ApplyRestoredState(main, path, std::move(record));
    return true;
}

void ApplyRestoredState(CMain& main, const QString& path, CStateRecord&& record)
{
    main.m_templateCount = record.m_templateCount;
    main.m_docCounts = record.m_docCounts;
    ApplyStateRecord(main, std::move(record));

    IDocumentHost* host = main.m_pApp;
    if (!host)
        return;
    host->CloseAllDocuments();
    const QString folder = StateFolder(path);
    const std::map<int32_t, int32_t> highest = HighestDocumentNumbers(folder);
    for (int32_t t = 1; t <= main.m_templateCount; ++t) {
        const auto found = highest.find(t);
        const int32_t present = found == highest.end() ? 0 : found->second;
        // Files missing below the highest one present are reported one by one; beyond it
        // only the first missing one is.
        const int32_t last = std::min(main.m_docCounts[size_t(t - 1)], present + 1);
        for (int32_t d = 1; d <= last; ++d)
            host->OpenDocument(StateDocumentPath(folder, d, t));
    }
}
