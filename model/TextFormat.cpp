// Formatting of text display values and the format checks of the dialogs.
#include "model/TextInfo.h"

#include "platform/Cp932.h"
#include "platform/OleDate.h"
#include "platform/SafeFormat.h"

#include <QByteArray>

#include <algorithm>
#include <regex>
#include <string>

namespace {

// The number and string checks only count digits in runs (\d*, \d+), so any run longer than three digits can be cut to three without
// changing whether they match. The regex engine recurses once per repeated character and
// would overflow the stack on a very long run of digits from a file.
std::string CutDigitRuns(const QByteArray& bytes)
{
    std::string out;
    out.reserve(static_cast<size_t>(bytes.size()));
    int run = 0;
    for (const char c : bytes) {
        run = (c >= '0' && c <= '9') ? run + 1 : 0;
        if (run <= 3)
            out.push_back(c);
    }
    return out;
}

bool Search(const std::string& text, const std::regex& re)
{
    return std::regex_search(text, re, std::regex_constants::match_any);
}

} // namespace

QString CTextInfo::FormatText() const
{
    if (m_valueKind == ValueKind::String)
        return SafeFormat(m_prefix, m_format, m_text, m_suffix);
    if (m_logicalKind != LogicalKind::DateTime)
        return SafeFormat(m_prefix, m_format, m_value, m_suffix);

    QString date;
    if (!OleDateToParts(m_value)) {
        date = QStringLiteral("Invalid DateTime");
    } else if (!IsOleDatePatternValid(m_format)) {
        return QStringLiteral("Format Error");
    } else {
        date = FormatOleDate(m_value, m_format);
        // The date text goes through a 256-character buffer: a longer one comes out empty.
        if (date.size() > 255)
            date.clear();
    }
    return m_prefix + date + m_suffix;
}

bool CTextInfo::IsFormatValid() const
{
    // Checked on the code page 932 form, as the dialogs always did.
    const QByteArray bytes = EncodeCp932(m_format);
    if (bytes.isEmpty())
        return false;
    const auto percents = std::count(bytes.begin(), bytes.end(), '%');

    // The precision's dot is a literal dot: "%-10s" is refused while "%10s" and "%.5s" pass.
    if (m_valueKind == ValueKind::String) {
        static const std::regex kString(R"(%\d*(\.\d+)?s)", std::regex::ECMAScript);
        return percents == 1 && Search(CutDigitRuns(bytes), kString);
    }
    // A date format passes exactly when the date formatter takes it.
    if (m_logicalKind == LogicalKind::DateTime)
        return percents >= 1 && IsOleDatePatternValid(m_format);
    static const std::regex kNumber(R"(%[-+0]?\d*(\.\d+)?[eEfFgG])", std::regex::ECMAScript);
    return percents == 1 && Search(CutDigitRuns(bytes), kNumber);
}

QString CTextInfo::SummaryText() const
{
    // Plain concatenation: the prefix, format and suffix are user text and may hold '%'.
    QString s = m_prefix + u'<' + QString::number(m_fdNo) + QStringLiteral("FD");
    const QString kind = Caption(m_valueKind);
    if (!kind.isEmpty())
        s += u':' + kind + u'(';
    const bool usesFormat = m_valueKind == ValueKind::Instant || m_valueKind == ValueKind::Max
                            || m_valueKind == ValueKind::Min;
    s += usesFormat ? m_format : QStringLiteral("%s");
    switch (m_displayKind) {
    case DisplayKind::Latest: s += QStringLiteral(")最新"); break;
    case DisplayKind::History: s += QStringLiteral(")履歴"); break;
    default: s += QStringLiteral(")???"); break;
    }
    return s + u'>' + m_suffix;
}
