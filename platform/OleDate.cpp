#include "platform/OleDate.h"

#include <cmath>
#include <cstdint>

namespace {

// Proleptic Gregorian day count from 1970-01-01 (negative before it).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

constexpr int64_t kEpoch = DaysFromCivil(1899, 12, 30);
constexpr int64_t kFirstDay = DaysFromCivil(100, 1, 1) - kEpoch;
constexpr int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;
constexpr int kSecondsPerDay = 86400;

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

} // namespace

std::optional<DateTimeParts> OleDateToParts(double value)
{
    // The bounds check comes first so that the conversions below stay defined.
    if (!std::isfinite(value) || value < double(kFirstDay - 1) || value > double(kLastDay + 1))
        return std::nullopt;
    const double whole = std::trunc(value);
    int64_t day = int64_t(whole);
    int64_t seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    // The fraction is the time of that calendar day for negative values too, so rounding up
    // to midnight always moves to the next day.
    if (seconds >= kSecondsPerDay) {
        ++day;
        seconds -= kSecondsPerDay;
    }
    if (day < kFirstDay || day > kLastDay)
        return std::nullopt;
    DateTimeParts parts;
    CivilFromDays(day + kEpoch, parts.year, parts.month, parts.day);
    parts.hour = int(seconds / 3600);
    parts.minute = int(seconds / 60 % 60);
    parts.second = int(seconds % 60);
    parts.dayOfWeek = int(((day % 7) + 7 + 6) % 7); // day 0 was a Saturday
    parts.dayOfYear = int(day + kEpoch - DaysFromCivil(parts.year, 1, 1));
    return parts;
}

std::optional<double> PartsToOleDate(const DateTimeParts& parts)
{
    if (parts.year < 100 || parts.year > 9999 || parts.month < 1 || parts.month > 12 || parts.day < 1
        || parts.day > DaysInMonth(parts.year, parts.month) || parts.hour < 0 || parts.hour > 23
        || parts.minute < 0 || parts.minute > 59 || parts.second < 0 || parts.second > 59)
        return std::nullopt;
    const double day = double(DaysFromCivil(parts.year, parts.month, parts.day) - kEpoch);
    const double time = double(parts.hour * 3600 + parts.minute * 60 + parts.second) / kSecondsPerDay;
    return day < 0 ? day - time : day + time;
}

namespace {

// Reads the typed forms one character at a time; full-width digits and separators, which
// a Japanese input method easily produces, read as their ASCII forms.
class DateTextReader
{
public:
    explicit DateTextReader(QStringView text) : m_text(text) {}

    char16_t Peek(qsizetype ahead = 0) const
    {
        const qsizetype i = m_pos + ahead;
        if (i < 0 || i >= m_text.size())
            return 0;
        const char16_t c = m_text[i].unicode();
        if (c >= u'\uFF01' && c <= u'\uFF5E')
            return char16_t(c - 0xFEE0);
        if (c == u'\u3000')
            return u' ';
        return c;
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }
    qsizetype Position() const { return m_pos; }
    void Rewind(qsizetype pos) { m_pos = pos; }

    bool Take(char16_t c)
    {
        if (AtEnd() || Peek() != c)
            return false;
        ++m_pos;
        return true;
    }
    bool TakeWord(QStringView word)
    {
        for (qsizetype i = 0; i < word.size(); ++i) {
            const char16_t c = Peek(i);
            const char16_t w = word[i].unicode();
            if (c != w && !(w >= u'A' && w <= u'Z' && c == w + 32))
                return false;
        }
        m_pos += word.size();
        return true;
    }
    static bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
    bool SkipSpace()
    {
        const qsizetype from = m_pos;
        while (!AtEnd() && IsSpace(Peek()))
            ++m_pos;
        return m_pos > from;
    }
    // Unsigned decimal number of 1..maxDigits digits; a longer run fails.
    bool Number(int maxDigits, int& value, int* digits = nullptr)
    {
        int count = 0;
        value = 0;
        while (!AtEnd() && Peek() >= u'0' && Peek() <= u'9') {
            if (++count > maxDigits)
                return false;
            value = value * 10 + (Peek() - u'0');
            ++m_pos;
        }
        if (digits)
            *digits = count;
        return count > 0;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// Two-digit years fall in 1930..2029, the usual window of the Japanese setting.
int ExpandYear(int year, int digits)
{
    if (digits == 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

// "2022/11/23", "2022-11-23", "2022年11月23日"; false leaves the reader where it was.
bool ReadDate(DateTextReader& in, DateTimeParts& parts)
{
    const qsizetype start = in.Position();
    int year = 0, month = 0, day = 0, digits = 0;
    bool ok = false;
    if (in.Number(4, year, &digits) && digits >= 2) {
        const char16_t separator = in.Peek();
        if (separator == u'/' || separator == u'-') {
            in.Take(separator);
            ok = in.Number(2, month) && in.Take(separator) && in.Number(2, day);
        } else if (in.Take(u'年')) {
            ok = in.Number(2, month) && in.Take(u'月') && in.Number(2, day) && in.Take(u'日');
        }
    }
    if (!ok) {
        in.Rewind(start);
        return false;
    }
    parts.year = ExpandYear(year, digits);
    parts.month = month;
    parts.day = day;
    return true;
}

// "10:33:50", "10:33", "10時33分50秒", "10時33分", "10時", with 午前/午後 before or AM/PM after.
bool ReadTime(DateTextReader& in, DateTimeParts& parts)
{
    enum { None, Am, Pm } half = None;
    if (in.TakeWord(u"午前"))
        half = Am;
    else if (in.TakeWord(u"午後"))
        half = Pm;
    if (half != None)
        in.SkipSpace();
    int hour = 0, minute = 0, second = 0;
    if (!in.Number(2, hour))
        return false;
    if (in.Take(u':')) {
        if (!in.Number(2, minute))
            return false;
        if (in.Take(u':') && !in.Number(2, second))
            return false;
    } else if (in.Take(u'時')) {
        if (in.Number(2, minute)) {
            if (!in.Take(u'分'))
                return false;
            if (in.Number(2, second) && !in.Take(u'秒'))
                return false;
        }
    } else {
        return false;
    }
    if (half == None) {
        const qsizetype beforeSuffix = in.Position();
        in.SkipSpace();
        if (in.TakeWord(u"AM"))
            half = Am;
        else if (in.TakeWord(u"PM"))
            half = Pm;
        else
            in.Rewind(beforeSuffix);
    }
    if (half != None) {
        if (hour > 12)
            return false;
        hour = hour % 12 + (half == Pm ? 12 : 0);
    }
    parts.hour = hour;
    parts.minute = minute;
    parts.second = second;
    return true;
}

} // namespace

std::optional<double> ParseOleDate(QStringView text)
{
    DateTextReader in(text);
    DateTimeParts parts; // a time alone lands on day 0, 1899-12-30
    in.SkipSpace();
    if (ReadDate(in, parts)) {
        // The time follows after white space, a 'T', or directly after 日.
        const bool kanjiDate = in.Peek(-1) == u'日';
        const bool spaced = in.SkipSpace();
        if (!in.AtEnd() && (spaced || kanjiDate || in.Take(u'T')) && !ReadTime(in, parts))
            return std::nullopt;
    } else if (!ReadTime(in, parts)) {
        return std::nullopt;
    }
    in.SkipSpace();
    if (!in.AtEnd())
        return std::nullopt;
    return PartsToOleDate(parts);
}
