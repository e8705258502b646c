#include "fields/FDInfo.h"

#include "pipeline/CsvFields.h"
#include "pipeline/FieldRow.h"
#include "pipeline/SplitLine.h"
#include "platform/Archive.h"
#include "platform/NumberParse.h"
#include "platform/SafeWrite.h"
#include "platform/TextFile.h"

#include <limits>

namespace {

// Smallest stored forms, for checking counts against the bytes that remain.
constexpr int64_t kMinStringBytes = 4;  // FF, FFFE, one length byte
constexpr int64_t kMinEntryBytes = 8;   // target, description count

} // namespace

void CFDInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt32(m_targetFD);
        ar.WriteUInt32(static_cast<uint32_t>(m_descriptions.size()));
        for (const QString& d : m_descriptions)
            ar.WriteString(d);
        return;
    }
    const int32_t target = ar.ReadInt32();
    const uint32_t count = ar.ReadUInt32();
    ar.CheckCount(count, kMinStringBytes);
    QStringList descriptions;
    descriptions.reserve(static_cast<qsizetype>(count));
    for (uint32_t i = 0; i < count; ++i)
        descriptions.append(ar.ReadString());
    m_targetFD = target;
    m_descriptions = std::move(descriptions);
}

void CFDInfos::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt32(static_cast<int32_t>(m_entries.size()));
        for (CFDInfo& entry : m_entries)
            entry.Serialize(ar);
        return;
    }
    const int32_t count = ar.ReadCount(kMinEntryBytes);
    std::vector<CFDInfo> entries(static_cast<size_t>(count));
    for (CFDInfo& entry : entries)
        entry.Serialize(ar);
    m_entries = std::move(entries);
}

int32_t CFDInfos::MapFD(int32_t fd) const
{
    // Unsigned comparison: a negative number is never an index and comes back unchanged.
    if (static_cast<uint32_t>(fd) < m_entries.size())
        return m_entries[static_cast<size_t>(fd)].m_targetFD;
    return fd;
}

bool CFDInfos::WriteCsv(const QString& path, QString& errorText) const
{
    // Through a temporary: a failed write keeps the previous file.
    CSafeWrite file(path);
    if (!file.Open()) {
        errorText = QStringLiteral("出力CSVファイルオープンエラー\n(%1)").arg(path);
        return false;
    }
    QString text;
    for (const CFDInfo& entry : m_entries) {
        text += QString::number(entry.m_targetFD);
        for (const QString& d : entry.m_descriptions) {
            text += QLatin1Char(',');
            AppendCsvField(text, d); // the import splits with the same rule
        }
        text += QLatin1Char('\n');
    }
    if (!file.Write(TextModeBytes(text)) || !file.Commit()) {
        file.Cancel();
        errorText = QStringLiteral("出力エラー\n(%1)").arg(path);
        return false;
    }
    return true;
}

bool CFDInfos::ReadCsv(const QString& path, QString& errorText)
{
    CTextFile file;
    if (!file.Open(path, CTextFile::Mode::Read)) {
        errorText = QStringLiteral("入力CSVファイルをオープンできませんでした.");
        return false;
    }
    // The table changes only when the whole file has been read.
    std::vector<CFDInfo> entries;
    QString line;
    FieldRow fields;
    int lineNo = 0;
    while (file.ReadLine(line)) {
        ++lineNo;
        fields.clear();
        SplitLine(line, fields);
        if (fields.isEmpty()) {
            errorText = QStringLiteral("%1行目がフィールドに分解できませんでした．").arg(lineNo);
            return false;
        }
        const IntegerParseResult target = ParseLong(fields.at(0), 10);
        if (!target.ok || target.value < std::numeric_limits<int32_t>::min()
            || target.value > std::numeric_limits<int32_t>::max()) {
            errorText = QStringLiteral("%1行目の先頭フィールドが整数に変換できませんでした．").arg(lineNo);
            return false;
        }
        if (target.value < 0) {
            errorText = QStringLiteral("%1行目の先頭フィールドが負の整数でした．").arg(lineNo);
            return false;
        }
        QStringList descriptions;
        descriptions.reserve(fields.size() - 1);
        for (qsizetype i = 1; i < fields.size(); ++i)
            descriptions.append(fields.at(i));
        entries.emplace_back(static_cast<int32_t>(target.value), std::move(descriptions));
    }
    if (entries.empty()) {
        errorText = QStringLiteral("ゼロ件でした．");
        return false;
    }
    m_entries = std::move(entries);
    return true;
}
