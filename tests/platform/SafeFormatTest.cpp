#include "platform/SafeFormat.h"

#include "tests/support/CommaLocale.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

const QString kError = QStringLiteral("Format Error");

QString Num(const char16_t* format, double value, const char16_t* prefix = u"", const char16_t* suffix = u"")
{
    return SafeFormat(QString::fromUtf16(prefix), QString::fromUtf16(format), value, QString::fromUtf16(suffix));
}

QString Str(const char16_t* format, const QString& value)
{
    return SafeFormat(QString(), QString::fromUtf16(format), value, QString());
}

} // namespace

TEST(SafeFormat, FormatsOneDoubleConversionWithLiteralsAround)
{
    EXPECT_EQ(Num(u"%.1f", 21.54, u"温度", u"℃"), QStringLiteral("温度21.5℃"));
    EXPECT_EQ(Num(u"%.1f%%", 21.54), QStringLiteral("21.5%"));
    EXPECT_EQ(Num(u"%%%%値=%+08.2f%%", -3.14159), QStringLiteral("%%値=-0003.14%"));
    EXPECT_EQ(Num(u"%g", 1e6), QStringLiteral("1e+06"));
    EXPECT_EQ(Num(u"[%-12.3e]", 1234.0), QStringLiteral("[1.234e+03   ]"));
    EXPECT_EQ(Num(u"%#.0f", 2.0), QStringLiteral("2."));
    EXPECT_EQ(Num(u"% .f", 2.5), QStringLiteral(" 2"));
    EXPECT_EQ(Num(u"%a", 1.0), QStringLiteral("0x1p+0"));
    EXPECT_EQ(Num(u"%F|%E|%G|%A", 1.5), kError); // only one conversion
    EXPECT_EQ(Num(u"%F", INFINITY), QStringLiteral("INF"));
    EXPECT_EQ(Num(u"%512.512f", 1.0).size(), 514);
    EXPECT_EQ(Num(u"%.512f", 1e308).size(), 309 + 1 + 512);
}

TEST(SafeFormat, RejectsEverythingButOneFittingConversion)
{
    const char16_t* bad[] = {
        u"abc", u"", u"%%", u"%d", u"%i", u"%x", u"%c", u"%p", u"%n", u"%*d", u"%*f", u"%.*f", u"%lf", u"%Lf",
        u"%hf", u"%f%f", u"%f%", u"%", u"%.1f%", u"%s", u"%1$f", u"%'f", u"%f %g", u"%513f", u"%.513f",
        u"%999999999f", u"%.99999999999999999999f", u"%１f",
    };
    for (const char16_t* format : bad) {
        EXPECT_EQ(Num(format, 1.0, u"p", u"s"), kError) << QString::fromUtf16(format).toStdString();
        EXPECT_FALSE(IsSafeFormat(QString::fromUtf16(format), FormatArgument::Double));
    }
    EXPECT_TRUE(IsSafeFormat(QStringLiteral("%512.512f"), FormatArgument::Double));
    EXPECT_TRUE(IsSafeFormat(QStringLiteral("%s"), FormatArgument::String));
    EXPECT_FALSE(IsSafeFormat(QStringLiteral("%f"), FormatArgument::String));
    EXPECT_FALSE(IsSafeFormat(QStringLiteral("%ls"), FormatArgument::String));
    EXPECT_FALSE(IsSafeFormat(QStringLiteral("%s%s"), FormatArgument::String));
}

TEST(SafeFormat, StringCountsUtf16UnitsWithoutSplittingPairs)
{
    const QString text = QStringLiteral("温度");
    EXPECT_EQ(Str(u"%s", text), text);
    EXPECT_EQ(Str(u"%5s", text), QStringLiteral("   温度"));
    EXPECT_EQ(Str(u"%-5s|", text), QStringLiteral("温度   |"));
    EXPECT_EQ(Str(u"%05s", QStringLiteral("ab")), QStringLiteral("000ab"));
    EXPECT_EQ(Str(u"%.1s", text), QStringLiteral("温"));
    EXPECT_EQ(Str(u"%.s", text), QString());
    EXPECT_EQ(Str(u"<%s>%%", QString()), QStringLiteral("<>%"));
    const QString pair = QString::fromUtf16(u"a\U0001F600b");
    EXPECT_EQ(Str(u"%.2s", pair), QStringLiteral("a"));
    EXPECT_EQ(Str(u"%.3s", pair), pair.left(3));
    // A %n or a second argument in a string format must not reach the C library either.
    EXPECT_EQ(Str(u"%s%n", text), kError);
    EXPECT_EQ(Str(u"%f", text), kError);
    EXPECT_EQ(SafeFormat(QStringLiteral("p"), QStringLiteral("%5s"), QStringLiteral("%n%s"), QStringLiteral("s")),
              QStringLiteral("p %n%ss"));
}

TEST(SafeFormat, DecimalPointIgnoresProcessLocale)
{
    const CommaLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_EQ(Num(u"%.2f", 1.5), QStringLiteral("1.50"));
    EXPECT_EQ(FormatG(0.25), QStringLiteral("0.25"));
}

TEST(FormatG, MatchesCLibraryPercentG)
{
    EXPECT_EQ(FormatG(1e6), QStringLiteral("1e+06"));
    EXPECT_EQ(FormatG(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FormatG(123456.7), QStringLiteral("123457"));
    EXPECT_EQ(FormatG(1e-5), QStringLiteral("1e-05"));
    EXPECT_EQ(FormatG(-0.0), QStringLiteral("-0"));
    EXPECT_EQ(FormatG(INFINITY), QStringLiteral("inf"));
    EXPECT_EQ(FormatG(-INFINITY), QStringLiteral("-inf"));
    EXPECT_EQ(FormatG(NAN), QStringLiteral("nan"));
    EXPECT_EQ(FormatG(-NAN), QStringLiteral("-nan"));
}
