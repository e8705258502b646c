#include "model/DesignLists.h"

#include "pipeline/DocData.h"

#include <limits>
#include <stdexcept>

void WriteListCount(CArchive& ar, size_t count)
{
    // Loading reads counts as int32; a longer list could never be read back.
    if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::length_error("list too long for a design file");
    ar.WriteUInt32(static_cast<uint32_t>(count));
}

void SerializeStringList(CArchive& ar, std::vector<QString>& list)
{
    if (ar.IsStoring()) {
        WriteListCount(ar, list.size());
        for (const QString& s : list)
            ar.WriteString(s);
        return;
    }
    const int32_t count = ar.ReadCount(1);
    std::vector<QString> loaded;
    loaded.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        loaded.push_back(ar.ReadString());
    list = std::move(loaded);
}

void SerializeIdList(CArchive& ar, std::vector<int32_t>& list)
{
    if (ar.IsStoring()) {
        WriteListCount(ar, list.size());
        for (int32_t id : list)
            ar.WriteInt32(id);
        return;
    }
    const int32_t count = ar.ReadCount(4);
    std::vector<int32_t> loaded;
    loaded.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        loaded.push_back(ar.ReadInt32());
    list = std::move(loaded);
}

bool AcceptsRecord(const std::vector<QString>& includePrefixes,
                   const std::vector<QString>& ignorePrefixes, const CDocData& record)
{
    if (includePrefixes.empty() && ignorePrefixes.empty())
        return true;
    const QString first = record.m_fields.isEmpty() ? QString() : record.m_fields.at(0);
    auto startsWithAny = [&first](const std::vector<QString>& prefixes) {
        for (const QString& p : prefixes) {
            // Plain code-unit comparison: an empty prefix matches even a record without FDs.
            if (p.size() <= first.size() && QStringView(first).left(p.size()) == QStringView(p))
                return true;
        }
        return false;
    };
    if (!includePrefixes.empty())
        return startsWithAny(includePrefixes);
    return !startsWithAny(ignorePrefixes);
}
