// The FD list CSV import.

#include "fields/FDInfo.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteInput("list.csv", data, size);
    CFDInfos table;
    table.m_entries = {CFDInfo(3, {QStringLiteral("a"), QStringLiteral("b")}), CFDInfo(0)};
    const CFDInfos before = table;
    QString error;
    if (!table.ReadCsv(path, error)) {
        fuzz::Check(table == before, "a failed import changed the table");
        fuzz::Check(!error.isEmpty(), "a failed import gave no reason");
        return 0;
    }
    fuzz::Check(!table.m_entries.empty(), "an import succeeded with no entries");
    for (const CFDInfo& entry : table.m_entries)
        fuzz::Check(entry.m_targetFD >= 0, "an import took a negative FD number");
    return 0;
}
