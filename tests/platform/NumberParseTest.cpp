#include "platform/NumberParse.h"

#include "tests/support/CommaLocale.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QString>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>

namespace {

struct DoubleCase
{
    const char16_t* text;
    double value;
    qsizetype end;
    bool ok;
};

void ExpectParse(const DoubleCase& c)
{
    const NumberParseResult r = ParseDouble(QStringView(c.text));
    SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.end, c.end);
    if (std::isnan(c.value))
        EXPECT_TRUE(std::isnan(r.value));
    else
        EXPECT_EQ(r.value, c.value);
}

} // namespace

TEST(ParseDouble, ConvertsLongestPrefixLikeStrtod)
{
    const DoubleCase cases[] = {
        {u"  12abc", 12.0, 4, true},
        {u"\t\n\v\f\r7", 7.0, 6, true},
        {u"12.5kg", 12.5, 4, true},
        {u".5", 0.5, 2, true},
        {u"5.", 5.0, 2, true},
        {u"-3.25e2x", -325.0, 7, true},
        {u"+1", 1.0, 2, true},
        {u"1e", 1.0, 1, true},
        {u"1e+", 1.0, 1, true},
        {u"1,5", 1.0, 1, true},
        {u"0x1p3", 8.0, 5, true},
        {u"0x1.8p1kg", 3.0, 7, true},
        {u"0x", 0.0, 1, true},
        {u"-inf", -INFINITY, 4, true},
        {u"INFINITY", INFINITY, 8, true},
        {u"infinit", INFINITY, 3, true},
        {u"NaN", NAN, 3, true},
        {u"nan(123)", NAN, 8, true},
        {u"nan(12", NAN, 3, true},
        {u"2.2250738585072014e-308", 2.2250738585072014e-308, 23, true},
    };
    for (const DoubleCase& c : cases)
        ExpectParse(c);
}

TEST(ParseDouble, FailsWhenNothingConvertsOrOutOfRange)
{
    const DoubleCase cases[] = {
        {u"", 0.0, 0, false},
        {u"   ", 0.0, 0, false},
        {u"abc", 0.0, 0, false},
        {u"-", 0.0, 0, false},
        {u".", 0.0, 0, false},
        {u"e5", 0.0, 0, false},
        {u"1e400", HUGE_VAL, 5, false},
        {u"-1e400", -HUGE_VAL, 6, false},
        {u"1e-400", 0.0, 6, false},
    };
    for (const DoubleCase& c : cases)
        ExpectParse(c);
    // A subnormal result is an underflow too.
    EXPECT_FALSE(ParseDouble(u"1e-310").ok);
}

TEST(ParseDouble, NonAsciiEndsTheNumber)
{
    ExpectParse({u"１２", 0.0, 0, false});
    ExpectParse({u"12３", 12.0, 2, true});
    ExpectParse({u"\u30001", 0.0, 0, false}); // ideographic space is not C white space
    ExpectParse({u"3.5℃", 3.5, 3, true});
    const QString withNul = QStringLiteral("4") + QChar(0) + QStringLiteral("5");
    EXPECT_EQ(ParseDouble(withNul).end, 1);
}

TEST(ParseDouble, LongDigitRunsAreConvertedWhole)
{
    const QString digits = QString(300, u'0') + QStringLiteral("1.5");
    const NumberParseResult r = ParseDouble(digits);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value, 1.5);
    EXPECT_EQ(r.end, digits.size());
}

TEST(ParseDouble, IgnoresProcessLocale)
{
    const CommaLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no decimal-comma locale installed";
    const NumberParseResult r = ParseDouble(u"1.25");
    EXPECT_EQ(r.value, 1.25);
    EXPECT_EQ(r.end, 4);
    EXPECT_EQ(ParseDouble(u"1,25").end, 1);
}

TEST(ParseLong, DecimalPrefixWithSignAndOverflow)
{
    struct Case
    {
        const char16_t* text;
        long value;
        qsizetype end;
        bool ok;
    };
    const Case cases[] = {
        {u" 42abc", 42, 3, true},
        {u"-7", -7, 2, true},
        {u"+0", 0, 2, true},
        {u"12.9", 12, 2, true},
        {u"", 0, 0, false},
        {u"x1", 0, 0, false},
        {u"-", 0, 0, false},
        {u"１", 0, 0, false},
        {u"99999999999999999999", LONG_MAX, 20, false},
        {u"-99999999999999999999", LONG_MIN, 21, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const IntegerParseResult r = ParseLong(QStringView(c.text));
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(r.end, c.end);
        EXPECT_EQ(r.ok, c.ok);
    }
    EXPECT_EQ(ParseLong(u"ff", 16).value, 255);
    EXPECT_FALSE(ParseLong(u"12", 1).ok);
    EXPECT_FALSE(ParseLong(u"12", 37).ok);
}
