#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CArchive;

// One entry of the FD number conversion table; its logical FD number is its index.
class CFDInfo
{
public:
    CFDInfo() = default;
    explicit CFDInfo(int32_t targetFD, QStringList descriptions = {})
        : m_targetFD(targetFD), m_descriptions(std::move(descriptions)) {}
    CFDInfo(const CFDInfo&) = default;
    CFDInfo(CFDInfo&&) noexcept = default;
    CFDInfo& operator=(const CFDInfo&) = default;
    CFDInfo& operator=(CFDInfo&&) noexcept = default;
    virtual ~CFDInfo() = default;

    // Throws CArchiveError on a malformed load; the entry is then left unchanged.
    virtual void Serialize(CArchive& ar);

    bool operator==(const CFDInfo& other) const
    {
        return m_targetFD == other.m_targetFD && m_descriptions == other.m_descriptions;
    }

    int32_t m_targetFD = 0;      // column of the data line that this logical FD reads
    QStringList m_descriptions;  // description lines, no effect on the mapping
};

// The application-wide FD number conversion table.
class CFDInfos
{
public:
    CFDInfos() = default;
    CFDInfos(const CFDInfos&) = default;
    CFDInfos(CFDInfos&&) noexcept = default;
    CFDInfos& operator=(const CFDInfos&) = default;
    CFDInfos& operator=(CFDInfos&&) noexcept = default;
    virtual ~CFDInfos() = default;

    // Throws CArchiveError on a malformed load; the table is then left unchanged.
    virtual void Serialize(CArchive& ar);

    // Target of entry fd when 0 <= fd < entry count, else fd itself (negative fd included).
    int32_t MapFD(int32_t fd) const;

    // List CSV export / import (code page 932, CR LF). On failure errorText holds the
    // reason; on success it is left unchanged. A failed import keeps the table as it was.
    // Descriptions are quoted where the import would split them otherwise.
    bool WriteCsv(const QString& path, QString& errorText) const;
    bool ReadCsv(const QString& path, QString& errorText);

    bool operator==(const CFDInfos& other) const { return m_entries == other.m_entries; }

    std::vector<CFDInfo> m_entries;
};
