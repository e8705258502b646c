// Typed date and time texts, and the date formatter over what they give.

#include "fuzz/FuzzSupport.h"
#include "platform/OleDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<double> value = ParseOleDate(text);
    if (!value)
        return 0;
    const std::optional<DateTimeParts> parts = OleDateToParts(*value);
    if (parts)
        PartsToOleDate(*parts);
    FormatOleDate(*value, u"%#c %j %U %W %z");
    return 0;
}
