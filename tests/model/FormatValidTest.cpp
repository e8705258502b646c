#include "model/TextInfo.h"

#include <gtest/gtest.h>

namespace {

bool Valid(LogicalKind logical, ValueKind value, const QString& format)
{
    CTextInfo t;
    t.m_logicalKind = logical;
    t.m_valueKind = value;
    t.m_format = format;
    return t.IsFormatValid();
}

struct Case
{
    const char16_t* format;
    bool valid;
};

} // namespace

TEST(FormatValid, NumberNeedsOneFloatingConversion)
{
    const Case cases[] = {
        {u"%g", true},        {u"%.3f", true},      {u"%.3e", true},     {u"%-8.2f", true},
        {u"%+E", true},       {u"%010G", true},     {u"値%.1f℃", true},  {u"%F", true},
        {u"%d", false},       {u"%s", false},       {u"%.1f%%", false},  {u"abc", false},
        {u"", false},         {u"%", false},        {u"%.f", false},     {u"%#f", false},
        // Only a real dot introduces the precision.
        {u"%1d2f", false},     {u"%-+f", false},
    };
    for (const Case& c : cases) {
        const QString f = QString::fromUtf16(c.format);
        EXPECT_EQ(Valid(LogicalKind::Number, ValueKind::Instant, f), c.valid) << f.toStdString();
        EXPECT_EQ(Valid(LogicalKind::InputCount, ValueKind::Max, f), c.valid) << f.toStdString();
    }
}

TEST(FormatValid, StringNeedsOneStringConversion)
{
    const Case cases[] = {
        {u"%s", true},  {u"%10s", true}, {u"%.5s", true}, {u"[%s]", true}, {u"文字%s列", true},
        // The precision needs a real dot; a left-aligned width is refused.
        {u"%-10s", false}, {u"%1x5s", false},
        {u"%f", false}, {u"%s%s", false}, {u"s", false},  {u"", false},     {u"%%s", false},
    };
    for (const Case& c : cases) {
        const QString f = QString::fromUtf16(c.format);
        EXPECT_EQ(Valid(LogicalKind::Number, ValueKind::String, f), c.valid) << f.toStdString();
        // The string kind wins over the date kind.
        EXPECT_EQ(Valid(LogicalKind::DateTime, ValueKind::String, f), c.valid) << f.toStdString();
    }
}

TEST(FormatValid, DateTimeAllowsWhatTheDateFormatterTakes)
{
    const Case cases[] = {
        {u"%Y/%m/%d %H:%M:%S", true}, {u"%y/%m/%d %H:%M:%S", true}, {u"%H:%M:%S", true},
        {u"%Y/%m/%d %H:%M:%S(%a)", true}, {u"%A %b %B", true}, {u"日付%Y年", true},
        {u"%I:%M %p", true}, {u"%#m/%#d", true}, {u"%Y %j", true}, {u"%%", true},
        // Exactly what the date formatter refuses: a trailing "%" or an unknown conversion.
        {u"%Y%", false}, {u"%#", false}, {u"%Ey", false}, {u"%q", false}, {u"%.3f", false},
        {u"2024", false}, {u"", false},
    };
    for (const Case& c : cases) {
        const QString f = QString::fromUtf16(c.format);
        EXPECT_EQ(Valid(LogicalKind::DateTime, ValueKind::Instant, f), c.valid) << f.toStdString();
    }
}

TEST(FormatValid, LongDigitRunsAreCheckedWithoutExhaustingTheStack)
{
    const QString digits(200000, u'1');
    EXPECT_TRUE(Valid(LogicalKind::Number, ValueKind::Instant, u'%' + digits + u'.' + digits + u'f'));
    EXPECT_FALSE(Valid(LogicalKind::Number, ValueKind::Instant, u'%' + digits + u'd'));
    EXPECT_TRUE(Valid(LogicalKind::Number, ValueKind::String, u'%' + digits + u's'));
    EXPECT_FALSE(Valid(LogicalKind::Number, ValueKind::String, u'%' + digits + QStringLiteral("x1")));
}

TEST(FormatValid, ShortDigitRunsGiveTheSameAnswerAsLongOnes)
{
    // Lengthening a run of two or three digits never changes the outcome.
    const char16_t* templates[] = {u"%#.#f", u"%##f", u"%-#.#e", u"%0##g", u"%#a#f", u"%##s",
                                   u"%#.##s", u"%#d#s", u"%-##x#G", u"x#%##F"};
    for (const char16_t* tmpl : templates) {
        for (const ValueKind kind : {ValueKind::Instant, ValueKind::String}) {
            QString shortRun = QString::fromUtf16(tmpl);
            QString longRun = shortRun;
            shortRun.replace(u'#', QStringLiteral("12"));
            longRun.replace(u'#', QStringLiteral("1234567"));
            EXPECT_EQ(Valid(LogicalKind::Number, kind, shortRun), Valid(LogicalKind::Number, kind, longRun))
                << longRun.toStdString();
        }
    }
}
