#include "model/RecordValue.h"

#include "model/Enums.h"

#include <cfloat>
#include <cmath>

#include "fields/FDInfo.h"
#include "pipeline/DocData.h"
#include "platform/NumberParse.h"
#include "platform/OleDate.h"

std::optional<QString> MappedFdText(const CDocData& record, int32_t fdNo)
{
    const int32_t n = record.m_pFDInfos ? record.m_pFDInfos->MapFD(fdNo) : fdNo;
    // A negative number from a file or a conversion entry is a missing FD, never an index.
    if (n < 0 || n >= record.m_fields.size())
        return std::nullopt;
    return record.m_fields.at(n);
}

std::optional<double> ParseFdNumber(const QString& text)
{
    // Parsing the UTF-16 text directly equals parsing its code page 932 form: a number is
    // ASCII only, and no other character of either form continues one.
    const NumberParseResult r = ParseDouble(text);
    if (!r.ok)
        return std::nullopt;
    return r.value;
}

std::optional<double> ParseFdDateTime(const QString& text)
{
    return ParseOleDate(text);
}

double AccumulateValue(ValueKind kind, double current, double reading)
{
    // "NaN" and "inf" parse as numbers; an extreme of them would stick for the whole run.
    if ((kind == ValueKind::Max || kind == ValueKind::Min) && !std::isfinite(reading))
        return current;
    switch (kind) {
    case ValueKind::Max: return reading > current ? reading : current;
    case ValueKind::Min: return reading < current ? reading : current;
    default: return reading;
    }
}

double AccumulationStart(ValueKind kind, double plain)
{
    switch (kind) {
    case ValueKind::Max: return -DBL_MAX;
    case ValueKind::Min: return DBL_MAX;
    default: return plain;
    }
}
