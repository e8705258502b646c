#include "platform/OleDate.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

DateTimeParts Parts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    DateTimeParts p;
    p.year = y;
    p.month = mo;
    p.day = d;
    p.hour = h;
    p.minute = mi;
    p.second = s;
    return p;
}

void ExpectParts(double value, const DateTimeParts& want, int dayOfWeek)
{
    SCOPED_TRACE(value);
    const std::optional<DateTimeParts> got = OleDateToParts(value);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->year, want.year);
    EXPECT_EQ(got->month, want.month);
    EXPECT_EQ(got->day, want.day);
    EXPECT_EQ(got->hour, want.hour);
    EXPECT_EQ(got->minute, want.minute);
    EXPECT_EQ(got->second, want.second);
    EXPECT_EQ(got->dayOfWeek, dayOfWeek);
}

constexpr double kSecond = 1.0 / 86400.0;

} // namespace

TEST(OleDate, KnownDaysBothWays)
{
    struct Case
    {
        double value;
        DateTimeParts parts;
        int dayOfWeek;
    };
    const Case cases[] = {
        {0.0, Parts(1899, 12, 30), 6},
        {2.0, Parts(1900, 1, 1), 1},
        {60.0, Parts(1900, 2, 28), 3},
        {61.0, Parts(1900, 3, 1), 4}, // 1900 is not a leap year
        {-1.25, Parts(1899, 12, 29, 6), 5},
        {-1.0, Parts(1899, 12, 29), 5},
        {45000.5, Parts(2023, 3, 15, 12), 3},
        {36585.0, Parts(2000, 2, 29), 2},
        {36586.0, Parts(2000, 3, 1), 3},
        {-657434.0, Parts(100, 1, 1), 5},
        {2958465.0 + 86399 * kSecond, Parts(9999, 12, 31, 23, 59, 59), 5},
    };
    for (const Case& c : cases) {
        ExpectParts(c.value, c.parts, c.dayOfWeek);
        const std::optional<double> back = PartsToOleDate(c.parts);
        ASSERT_TRUE(back);
        EXPECT_NEAR(*back, c.value, 1e-9);
    }
}

TEST(OleDate, RoundsToNearestSecondAcrossMidnight)
{
    ExpectParts(1.0 + 0.4 * kSecond, Parts(1899, 12, 31), 0);
    ExpectParts(1.0 + 0.6 * kSecond, Parts(1899, 12, 31, 0, 0, 1), 0);
    ExpectParts(1.0 - 0.3 * kSecond, Parts(1899, 12, 31), 0);
    // Negative values count the time from their own day's midnight, so 23:59:59.7 of
    // 1899-12-29 rounds up to the next day, which is day 0.
    ExpectParts(-1.0 - (1.0 - 0.3 * kSecond), Parts(1899, 12, 30), 6);
    // Rounding past the last second of 9999 leaves the valid range.
    EXPECT_FALSE(OleDateToParts(2958466.0 - 0.2 * kSecond));
}

TEST(OleDate, OutsideYears100To9999OrNotFiniteIsInvalid)
{
    for (double v : {-657435.0, 2958466.0, 1e300, -1e300,
                     std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(OleDateToParts(v)) << v;
    // -657434.5 is 0100-01-01 12:00, still inside.
    EXPECT_TRUE(OleDateToParts(-657434.5));
}

TEST(OleDate, ImpossiblePartsAreRejected)
{
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 2, 29)));
    EXPECT_TRUE(PartsToOleDate(Parts(2024, 2, 29)));
    EXPECT_FALSE(PartsToOleDate(Parts(1900, 2, 29)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 13, 1)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 4, 31)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 1, 0)));
    EXPECT_FALSE(PartsToOleDate(Parts(99, 12, 31)));
    EXPECT_FALSE(PartsToOleDate(Parts(10000, 1, 1)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 1, 1, 24)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 1, 1, 0, 60)));
    EXPECT_FALSE(PartsToOleDate(Parts(2022, 1, 1, 0, 0, -1)));
}

TEST(ParseOleDate, AcceptsJapaneseDateAndTimeForms)
{
    const double day = *PartsToOleDate(Parts(2022, 11, 23));
    const double full = *PartsToOleDate(Parts(2022, 11, 23, 10, 33, 50));
    const double noSeconds = *PartsToOleDate(Parts(2022, 11, 23, 10, 33));
    const double timeOnly = (10 * 3600 + 33 * 60 + 50) * kSecond;
    struct Case
    {
        const char16_t* text;
        double value;
    };
    const Case cases[] = {
        {u"2022/11/23 10:33:50", full},
        {u"2022/11/23", day},
        {u"2022/11/23 10:33", noSeconds},
        {u"2022-11-23 10:33:50", full},
        {u"2022-11-23T10:33:50", full},
        {u"  2022/11/23   10:33:50 \r\n", full},
        {u"2022/1/5", *PartsToOleDate(Parts(2022, 1, 5))},
        {u"22/11/23", day},
        {u"10:33:50", timeOnly},
        {u"10:33", (10 * 3600 + 33 * 60) * kSecond},
        {u"2022年11月23日", day},
        {u"2022年11月23日 10時33分50秒", full},
        {u"2022年11月23日10時33分50秒", full},
        {u"10時33分", (10 * 3600 + 33 * 60) * kSecond},
        {u"午後 10:33:50", timeOnly + 0.5},
        {u"10:33:50 PM", timeOnly + 0.5},
        {u"12:00 am", 0.0},
        {u"２０２２／１１／２３　１０：３３：５０", full},
        {u"1899/12/29 06:00", -1.25},
        {u"0100/01/01", -657434.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const std::optional<double> got = ParseOleDate(QStringView(c.text));
        ASSERT_TRUE(got);
        EXPECT_NEAR(*got, c.value, 1e-9);
    }
}

TEST(ParseOleDate, RejectsImpossibleOrMalformedText)
{
    for (const char16_t* text :
         {u"", u"   ", u"2022/02/30", u"24:61", u"24:00", u"10:60", u"2022/13/01", u"2022/11/23 25:00",
          u"2022/11-23", u"2022/11/23x", u"2022/11/23T", u"2022/11/23 10", u"10", u"abc", u"10:33:50.5",
          u"13:00 PM", u"20221/11/23", u"2022年11月23", u"10時33分50", u"10000/01/01", u"0099/12/31",
          u"2022/11/23 10:33:50 x", u"1e5"})
        EXPECT_FALSE(ParseOleDate(QStringView(text))) << QString::fromUtf16(text).toStdString();
}

TEST(FormatOleDate, EveryConversionWithJapaneseNames)
{
    const double value = *PartsToOleDate(Parts(2022, 11, 23, 9, 5, 7)); // a Wednesday
    EXPECT_EQ(FormatOleDate(value, u"%Y/%m/%d %H:%M:%S(%a)"), QStringLiteral("2022/11/23 09:05:07(水)"));
    EXPECT_EQ(FormatOleDate(value, u"%y|%A|%b|%B|100%%"), QStringLiteral("22|水曜日|11|11月|100%"));
    EXPECT_EQ(FormatOleDate(*PartsToOleDate(Parts(2005, 3, 6)), u"%y %b %B %a"),
              QStringLiteral("05 3 3月 日"));
    EXPECT_EQ(FormatOleDate(-657434.0, u"%Y-%m-%d"), QStringLiteral("0100-01-01"));
    EXPECT_EQ(FormatOleDate(value, u"温度 at %H時"), QStringLiteral("温度 at 09時"));
    EXPECT_EQ(FormatOleDate(value, u""), QString());
    EXPECT_EQ(FormatOleDate(0.0, u"%A"), QStringLiteral("土曜日"));
}

TEST(FormatOleDate, BadPatternOrValueGivesFixedTexts)
{
    for (const char16_t* pattern : {u"%q", u"%H:%M:%", u"%", u"%Ey", u"%#", u"%%%k", u"%日"})
        EXPECT_EQ(FormatOleDate(1.0, QStringView(pattern)), QStringLiteral("Format Error"))
            << QString::fromUtf16(pattern).toStdString();
    for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 3e6, -7e5})
        EXPECT_EQ(FormatOleDate(v, u"%Y"), QStringLiteral("Invalid DateTime")) << v;
    // An invalid value wins over a bad pattern.
    EXPECT_EQ(FormatOleDate(std::numeric_limits<double>::quiet_NaN(), u"%q"), QStringLiteral("Invalid DateTime"));
}
