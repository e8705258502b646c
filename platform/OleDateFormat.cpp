// Automation dates as text: the strftime conversions with the texts of the Japanese locale.
#include "platform/OleDate.h"

#include <ctime>
#include <optional>

namespace {

constexpr QStringView kLetters = u"aAbBcdHIjmMpSUwWxXyYzZ%";
constexpr char16_t kShortDays[7] = {u'日', u'月', u'火', u'水', u'木', u'金', u'土'};

struct Conversion
{
    char16_t letter;
    bool alternate; // the '#' flag
};

// pattern[i] is a '%'; on success i is left on the conversion letter.
std::optional<Conversion> ReadConversion(QStringView pattern, qsizetype& i)
{
    bool alternate = false;
    if (++i < pattern.size() && pattern[i] == u'#') {
        alternate = true;
        ++i;
    }
    if (i >= pattern.size() || !kLetters.contains(pattern[i]))
        return std::nullopt;
    return Conversion{pattern[i].unicode(), alternate};
}

struct LocalZone
{
    long offset = 0; // seconds east of UTC
    QString name;
};

// The zone as the system has it at that local date and time, so that summer time shows.
LocalZone ZoneAt(const DateTimeParts& p)
{
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_isdst = -1;
    std::mktime(&tm);
    if (!tm.tm_zone) {
        // mktime leaves tm alone when it fails: take the zone as it is now.
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &tm);
    }
    return LocalZone{tm.tm_gmtoff, QString::fromLocal8Bit(tm.tm_zone ? tm.tm_zone : "")};
}

QString Padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// The locale's short date "2022/11/23", or its long date "2022年1月5日".
QString DateText(const DateTimeParts& p, bool longForm)
{
    if (longForm)
        return Padded(p.year, 4) + u'年' + QString::number(p.month) + u'月' + QString::number(p.day)
               + u'日';
    return Padded(p.year, 4) + u'/' + Padded(p.month, 2) + u'/' + Padded(p.day, 2);
}

// The locale's time: the hour without a leading zero, "9:05:07".
QString TimeText(const DateTimeParts& p)
{
    return QString::number(p.hour) + u':' + Padded(p.minute, 2) + u':' + Padded(p.second, 2);
}

QString OffsetText(long offset)
{
    const QChar sign = offset < 0 ? u'-' : u'+';
    const long magnitude = offset < 0 ? -offset : offset;
    return sign + Padded(int(magnitude / 3600), 2) + Padded(int(magnitude / 60 % 60), 2);
}

class DateWriter
{
public:
    explicit DateWriter(const DateTimeParts& parts) : m_p(parts) {}

    void Append(QString& out, Conversion c)
    {
        // '#' drops the leading zeros of the numbers only.
        const auto number = [&](int value, int width) {
            out += c.alternate ? QString::number(value) : Padded(value, width);
        };
        switch (c.letter) {
        case u'a': out += QChar(kShortDays[m_p.dayOfWeek]); break;
        case u'A': out += QChar(kShortDays[m_p.dayOfWeek]) + QStringLiteral("曜日"); break;
        case u'b': out += QString::number(m_p.month); break;
        case u'B': out += QString::number(m_p.month) + u'月'; break;
        case u'c': out += DateText(m_p, c.alternate) + u' ' + TimeText(m_p); break;
        case u'd': number(m_p.day, 2); break;
        case u'H': number(m_p.hour, 2); break;
        case u'I': number(m_p.hour % 12 == 0 ? 12 : m_p.hour % 12, 2); break;
        case u'j': number(m_p.dayOfYear + 1, 3); break;
        case u'm': number(m_p.month, 2); break;
        case u'M': number(m_p.minute, 2); break;
        case u'p': out += m_p.hour < 12 ? QStringLiteral("午前") : QStringLiteral("午後"); break;
        case u'S': number(m_p.second, 2); break;
        case u'U': number((m_p.dayOfYear + 7 - m_p.dayOfWeek) / 7, 2); break;
        case u'w': out += QString::number(m_p.dayOfWeek); break;
        case u'W': number((m_p.dayOfYear + 7 - (m_p.dayOfWeek + 6) % 7) / 7, 2); break;
        case u'x': out += DateText(m_p, c.alternate); break;
        case u'X': out += TimeText(m_p); break;
        case u'y': number(m_p.year % 100, 2); break;
        case u'Y': number(m_p.year, 4); break;
        case u'z': out += OffsetText(Zone().offset); break;
        case u'Z': out += Zone().name; break;
        default: out += u'%'; break;
        }
    }

private:
    const LocalZone& Zone()
    {
        if (!m_zone)
            m_zone = ZoneAt(m_p);
        return *m_zone;
    }

    const DateTimeParts& m_p;
    std::optional<LocalZone> m_zone;
};

} // namespace

bool IsOleDatePatternValid(QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && !ReadConversion(pattern, i))
            return false;
    }
    return true;
}

QString FormatOleDate(double value, QStringView pattern)
{
    const std::optional<DateTimeParts> parts = OleDateToParts(value);
    if (!parts)
        return QStringLiteral("Invalid DateTime");
    DateWriter writer(*parts);
    QString out;
    out.reserve(pattern.size() + 16);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%') {
            out += pattern[i];
            continue;
        }
        const std::optional<Conversion> c = ReadConversion(pattern, i);
        if (!c)
            return QStringLiteral("Format Error");
        writer.Append(out, *c);
    }
    return out;
}
