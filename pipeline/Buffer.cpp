#include "pipeline/Buffer.h"

void SerializeElement(CArchive& ar, FieldRow& row)
{
    if (ar.IsStoring()) {
        const qsizetype n = row.size();
        if (n > INT32_MAX)
            throw std::length_error("record too large for an archive");
        ar.WriteInt32(static_cast<int32_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            ar.WriteString(row.at(i));
        return;
    }
    // Each FD takes at least one byte (an empty string of the older form).
    const int32_t count = ar.ReadCount(1);
    FieldRow loaded;
    for (int32_t i = 0; i < count; ++i)
        loaded.append(ar.ReadString());
    loaded.squeeze();
    row = std::move(loaded);
}
