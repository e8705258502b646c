#include "platform/OleDate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

double Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    DateTimeParts p;
    p.year = y;
    p.month = mo;
    p.day = d;
    p.hour = h;
    p.minute = mi;
    p.second = s;
    return *PartsToOleDate(p);
}

constexpr double kSecond = 1.0 / 86400.0;

// Sets TZ for one test and puts the previous value back.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* tz)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

} // namespace

TEST(FormatOleDate, EveryConversionPlainAndWithHashFlag)
{
    const char16_t* plain = u"%a %A %b %B|%c|%d %H %I %j %m %M %p %S|%U %w %W|%x %X|%y %Y %%";
    const char16_t* hash = u"%#a %#A %#b %#B|%#c|%#d %#H %#I %#j %#m %#M %#p %#S|%#U %#w %#W|%#x %#X|%#y %#Y %#%";
    struct Case
    {
        const char* what;
        double value;
        const char16_t* plain;
        const char16_t* hash;
    };
    const Case cases[] = {
        {"leap day, afternoon", Date(2024, 2, 29, 13, 7, 5),
         u"木 木曜日 2 2月|2024/02/29 13:07:05|29 13 01 060 02 07 午後 05|08 4 09|2024/02/29 13:07:05|24 2024 %",
         u"木 木曜日 2 2月|2024年2月29日 13:07:05|29 13 1 60 2 7 午後 5|8 4 9|2024年2月29日 13:07:05|24 2024 %"},
        {"day 0", 0.0,
         u"土 土曜日 12 12月|1899/12/30 0:00:00|30 00 12 364 12 00 午前 00|52 6 52|1899/12/30 0:00:00|99 1899 %",
         u"土 土曜日 12 12月|1899年12月30日 0:00:00|30 0 12 364 12 0 午前 0|52 6 52|1899年12月30日 0:00:00|99 1899 %"},
        {"negative", -1.25,
         u"金 金曜日 12 12月|1899/12/29 6:00:00|29 06 06 363 12 00 午前 00|52 5 52|1899/12/29 6:00:00|99 1899 %",
         u"金 金曜日 12 12月|1899年12月29日 6:00:00|29 6 6 363 12 0 午前 0|52 5 52|1899年12月29日 6:00:00|99 1899 %"},
        // 23:59:59.6 rounds into the next year; that Sunday is week 1 by %U, week 0 by %W.
        {"rounds into next day", Date(2022, 12, 31, 23, 59, 59) + 0.6 * kSecond,
         u"日 日曜日 1 1月|2023/01/01 0:00:00|01 00 12 001 01 00 午前 00|01 0 00|2023/01/01 0:00:00|23 2023 %",
         u"日 日曜日 1 1月|2023年1月1日 0:00:00|1 0 12 1 1 0 午前 0|1 0 0|2023年1月1日 0:00:00|23 2023 %"},
        {"week 0", Date(2022, 1, 1, 9, 5, 7),
         u"土 土曜日 1 1月|2022/01/01 9:05:07|01 09 09 001 01 05 午前 07|00 6 00|2022/01/01 9:05:07|22 2022 %",
         u"土 土曜日 1 1月|2022年1月1日 9:05:07|1 9 9 1 1 5 午前 7|0 6 0|2022年1月1日 9:05:07|22 2022 %"},
        {"week 53 by %W", Date(2024, 12, 31, 23, 59, 59),
         u"火 火曜日 12 12月|2024/12/31 23:59:59|31 23 11 366 12 59 午後 59|52 2 53|2024/12/31 23:59:59|24 2024 %",
         u"火 火曜日 12 12月|2024年12月31日 23:59:59|31 23 11 366 12 59 午後 59|52 2 53|2024年12月31日 23:59:59|24 2024 %"},
        {"week 53 by %U, noon", Date(2023, 12, 31, 12),
         u"日 日曜日 12 12月|2023/12/31 12:00:00|31 12 12 365 12 00 午後 00|53 0 52|2023/12/31 12:00:00|23 2023 %",
         u"日 日曜日 12 12月|2023年12月31日 12:00:00|31 12 12 365 12 0 午後 0|53 0 52|2023年12月31日 12:00:00|23 2023 %"},
        {"first year", Date(100, 1, 1, 0, 30),
         u"金 金曜日 1 1月|0100/01/01 0:30:00|01 00 12 001 01 30 午前 00|00 5 00|0100/01/01 0:30:00|00 0100 %",
         u"金 金曜日 1 1月|0100年1月1日 0:30:00|1 0 12 1 1 30 午前 0|0 5 0|0100年1月1日 0:30:00|0 100 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FormatOleDate(c.value, plain), QString::fromUtf16(c.plain));
        EXPECT_EQ(FormatOleDate(c.value, hash), QString::fromUtf16(c.hash));
    }
}

TEST(FormatOleDate, PatternCheckAgreesWithFormatter)
{
    struct Case
    {
        const char16_t* pattern;
        bool valid;
    };
    const Case cases[] = {
        {u"%I:%M %p", true}, {u"%#m/%#d", true},  {u"%j", true},     {u"%%", true},    {u"%#%", true},
        {u"日付なし", true}, {u"", true},         {u"%z %Z", true},  {u"%", false},    {u"%Y%", false},
        {u"%#", false},      {u"%##d", false},    {u"%#q", false},   {u"%Ey", false},  {u"%Od", false},
        {u"%e", false},      {u"%D", false},      {u"%T", false},    {u"%日", false},  {u"% d", false},
    };
    for (const Case& c : cases) {
        const QString pattern = QString::fromUtf16(c.pattern);
        SCOPED_TRACE(pattern.toStdString());
        EXPECT_EQ(IsOleDatePatternValid(pattern), c.valid);
        EXPECT_EQ(FormatOleDate(1.0, pattern) == QStringLiteral("Format Error"), !c.valid);
    }
}

TEST(FormatOleDate, ZoneComesFromTheSystemAtThatDate)
{
    // POSIX rules need no zone database on the machine.
    struct Case
    {
        const char* tz;
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {"JST-9", Date(2022, 11, 23, 10, 33, 50), u"+0900 JST +0900"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", Date(2022, 1, 15, 12), u"+0100 CET +0100"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", Date(2022, 7, 1, 12), u"+0200 CEST +0200"},
        {"NST3:30NDT,M3.2.0,M11.1.0", Date(2022, 1, 15, 12), u"-0330 NST -0330"},
        {"UTC0", Date(100, 1, 1), u"+0000 UTC +0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tz);
        ScopedTimeZone zone(c.tz);
        EXPECT_EQ(FormatOleDate(c.value, u"%z %Z %#z"), QString::fromUtf16(c.text));
    }
}
