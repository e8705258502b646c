// A text display's value format: the dialogs' check and the safe formatter. The first byte
// chooses the kinds and the value; the rest is the format text.

#include "fuzz/FuzzSupport.h"
#include "model/TextInfo.h"
#include "platform/SafeFormat.h"

#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const double kValues[] = {0.0, -1.5, 1e308, -1e-308, 45000.25, std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN(), 123456789.0};
    const uint8_t choice = data[0];
    const QString format = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    CTextInfo text;
    text.m_valueKind = static_cast<ValueKind>(choice & 3);
    text.m_logicalKind = static_cast<LogicalKind>((choice >> 2) % 3);
    text.m_format = format;
    text.IsFormatValid();
    text.FormatText();

    const double value = kValues[(choice >> 4) & 7];
    const bool doubleOk = IsSafeFormat(format, FormatArgument::Double);
    const QString asDouble = SafeFormat(QStringLiteral("<"), format, value, QStringLiteral(">"));
    const bool stringOk = IsSafeFormat(format, FormatArgument::String);
    const QString asString = SafeFormat(QString(), format, QStringLiteral("値\U0001F600x"), QString());
    // A refused format gives its error text, never the C library's output.
    if (!doubleOk)
        fuzz::Check(asDouble == QStringLiteral("Format Error"), "a refused double format was formatted");
    else
        fuzz::Check(asDouble.startsWith(u'<') && asDouble.endsWith(u'>'), "prefix or suffix lost");
    if (!stringOk)
        fuzz::Check(asString == QStringLiteral("Format Error"), "a refused string format was formatted");
    return 0;
}
