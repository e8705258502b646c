#include "fields/FDInfo.h"
#include "model/TextInfo.h"
#include "pipeline/DocData.h"
#include "platform/OleDate.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace {

CDocData Record(std::initializer_list<QString> fields, int32_t row = 0, const CFDInfos* infos = nullptr)
{
    return CDocData(Apply, row, FieldRow(fields), infos);
}

CTextInfo Display(LogicalKind logical, ValueKind value, const QString& format)
{
    CTextInfo t;
    t.m_logicalKind = logical;
    t.m_valueKind = value;
    t.m_format = format;
    t.ResetRunState(0, 0);
    return t;
}

QStringList History(const CTextInfo& t)
{
    QStringList out;
    for (int64_t i = 0; i < t.m_history.GetCount(); ++i)
        out << t.m_history.GetAt(i);
    return out;
}

} // namespace

TEST(TextInfo, NumberWithPrefixSuffixMultiplierAndAdder)
{
    CTextInfo t = Display(LogicalKind::Number, ValueKind::Instant, QStringLiteral("%.1f"));
    t.m_prefix = QStringLiteral("温度");
    t.m_suffix = QStringLiteral("℃");
    t.m_fdNo = 1;
    t.UpdateFromRecord(Record({"A", "21.5"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("温度21.5℃"));

    t.m_multiplier = 2;
    t.m_adder = -1;
    t.UpdateFromRecord(Record({"A", "3xyz"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("温度5.0℃"));
    EXPECT_EQ(t.m_text, QStringLiteral("3xyz"));
    // Unreadable text keeps the value but is still the latest text.
    t.UpdateFromRecord(Record({"A", "abc"}));
    EXPECT_EQ(t.m_value, 5.0);
    EXPECT_EQ(t.m_text, QStringLiteral("abc"));
    EXPECT_EQ(History(t), QStringList({"温度21.5℃", "温度5.0℃", "温度5.0℃"}));
}

TEST(TextInfo, PercentLiteralFormatsAlthoughDialogsRefuseIt)
{
    CTextInfo t = Display(LogicalKind::Number, ValueKind::Instant, QStringLiteral("%.1f%%"));
    t.m_value = 21.5;
    EXPECT_EQ(t.FormatText(), QStringLiteral("21.5%"));
    EXPECT_FALSE(t.IsFormatValid());
}

TEST(TextInfo, FormatThatDoesNotFitGivesFormatError)
{
    for (const char* format : {"%d", "%s", "%n", "%f %f", "%", "%*f", "%ls"}) {
        CTextInfo t = Display(LogicalKind::Number, ValueKind::Instant, QString::fromLatin1(format));
        t.m_prefix = QStringLiteral("p");
        t.m_value = 1;
        EXPECT_EQ(t.FormatText(), QStringLiteral("Format Error")) << format;
    }
    CTextInfo s = Display(LogicalKind::Number, ValueKind::String, QStringLiteral("%f"));
    s.m_text = QStringLiteral("x");
    EXPECT_EQ(s.FormatText(), QStringLiteral("Format Error"));
}

TEST(TextInfo, StringShowsRawFdText)
{
    CTextInfo t = Display(LogicalKind::Number, ValueKind::String, QStringLiteral("[%5s]"));
    t.m_prefix = QStringLiteral("<");
    t.m_suffix = QStringLiteral(">");
    t.UpdateFromRecord(Record({"ab"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("<[   ab]>"));
    t.UpdateFromRecord(Record({"  テキスト 1e3"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("<[  テキスト 1e3]>"));
    t.m_format = QStringLiteral("[%-4s]");
    t.UpdateFromRecord(Record({"ab"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("<[ab  ]>"));
}

TEST(TextInfo, DateTimeFormatsAutomationDate)
{
    CTextInfo t = Display(LogicalKind::DateTime, ValueKind::Instant, QStringLiteral("%Y/%m/%d %H:%M:%S"));
    t.m_prefix = QStringLiteral("時刻 ");
    t.m_multiplier = 10; // not applied to dates
    t.UpdateFromRecord(Record({"2024/01/02 03:04:05"}));
    const std::optional<double> expected = PartsToOleDate(DateTimeParts{2024, 1, 2, 3, 4, 5, 0});
    ASSERT_TRUE(expected);
    EXPECT_DOUBLE_EQ(t.m_value, *expected);
    EXPECT_EQ(t.FormatText(), QStringLiteral("時刻 2024/01/02 03:04:05"));

    // An unreadable date keeps the previous one.
    t.UpdateFromRecord(Record({"昨日"}));
    EXPECT_EQ(t.FormatText(), QStringLiteral("時刻 2024/01/02 03:04:05"));

    t.m_format = QStringLiteral("%Y %q");
    EXPECT_EQ(t.FormatText(), QStringLiteral("Format Error"));
}

TEST(TextInfo, DateTimeOutOfRangeIsInvalidDateTime)
{
    CTextInfo t = Display(LogicalKind::DateTime, ValueKind::Min, QStringLiteral("%Y"));
    t.m_prefix = QStringLiteral("[");
    t.m_suffix = QStringLiteral("]");
    // A Min display starts at DBL_MAX, which is no date.
    EXPECT_EQ(t.FormatText(), QStringLiteral("[Invalid DateTime]"));
}

TEST(TextInfo, InputCountUsesRowIndex)
{
    CTextInfo asString = Display(LogicalKind::InputCount, ValueKind::String, QStringLiteral("%s"));
    CTextInfo asNumber = Display(LogicalKind::InputCount, ValueKind::Instant, QStringLiteral("%.2f"));
    const CDocData record = Record({}, 41);
    asString.UpdateFromRecord(record);
    asNumber.UpdateFromRecord(record);
    EXPECT_EQ(asString.FormatText(), QStringLiteral("41"));
    EXPECT_EQ(asNumber.FormatText(), QStringLiteral("41.00"));
    EXPECT_EQ(asNumber.m_text, QStringLiteral("41"));
}

TEST(TextInfo, MissingFdAddsNoHistoryEntry)
{
    for (const LogicalKind kind : {LogicalKind::Number, LogicalKind::DateTime}) {
        CTextInfo t = Display(kind, ValueKind::Instant, QStringLiteral("%g"));
        t.m_fdNo = 2;
        t.UpdateFromRecord(Record({"1", "2"}));
        EXPECT_EQ(t.m_history.GetCount(), 0);
        t.m_fdNo = -1;
        t.UpdateFromRecord(Record({"1", "2"}));
        EXPECT_EQ(t.m_history.GetCount(), 0);
    }
    // Another logical kind value still counts the record, repeating the value.
    CTextInfo other = Display(static_cast<LogicalKind>(9), ValueKind::Instant, QStringLiteral("%g"));
    other.UpdateFromRecord(Record({}));
    EXPECT_EQ(History(other), QStringList({"0"}));
}

TEST(TextInfo, FdNumberGoesThroughConversionList)
{
    CFDInfos infos;
    infos.m_entries = {CFDInfo(2), CFDInfo(0)};
    CTextInfo t = Display(LogicalKind::Number, ValueKind::Instant, QStringLiteral("%g"));
    t.UpdateFromRecord(Record({"10", "20", "30"}, 0, &infos));
    EXPECT_EQ(t.m_value, 30);
    t.m_fdNo = 5; // beyond the list: used as it is, and missing here
    t.UpdateFromRecord(Record({"10", "20", "30"}, 0, &infos));
    EXPECT_EQ(t.m_history.GetCount(), 1);
}

TEST(TextInfo, MaxAndMinAccumulateFromExtremes)
{
    CTextInfo max = Display(LogicalKind::Number, ValueKind::Max, QStringLiteral("%g"));
    CTextInfo min = Display(LogicalKind::Number, ValueKind::Min, QStringLiteral("%g"));
    EXPECT_EQ(max.m_value, -DBL_MAX);
    EXPECT_EQ(min.m_value, DBL_MAX);
    for (const char* v : {"-5", "3", "1"}) {
        max.UpdateFromRecord(Record({v}));
        min.UpdateFromRecord(Record({v}));
    }
    EXPECT_EQ(History(max), QStringList({"-5", "3", "3"}));
    EXPECT_EQ(History(min), QStringList({"-5", "-5", "-5"}));
}

TEST(TextInfo, ResetClearsStateAndConfiguresRing)
{
    CTextInfo t = Display(LogicalKind::Number, ValueKind::Instant, QStringLiteral("%g"));
    t.ResetRunState(1, 2);
    for (const char* v : {"1", "2", "3"})
        t.UpdateFromRecord(Record({v}));
    EXPECT_EQ(History(t), QStringList({"2", "3"}));
    t.ResetRunState(0, 50); // keeps the ring of two
    EXPECT_TRUE(t.m_text.isEmpty());
    EXPECT_EQ(t.m_value, 0.0);
    for (const char* v : {"4", "5", "6"})
        t.UpdateFromRecord(Record({v}));
    EXPECT_EQ(History(t), QStringList({"5", "6"}));
}

TEST(TextInfo, SummaryDescribesDisplay)
{
    CTextInfo t;
    t.m_prefix = QStringLiteral("温度");
    t.m_fdNo = 3;
    t.m_format = QStringLiteral("%.1f");
    t.m_suffix = QStringLiteral("℃");
    EXPECT_EQ(t.SummaryText(), QStringLiteral("温度<3FD:瞬時値(%.1f)最新>℃"));

    t.m_valueKind = ValueKind::String;
    t.m_displayKind = DisplayKind::History;
    t.m_prefix = QStringLiteral("%1");
    EXPECT_EQ(t.SummaryText(), QStringLiteral("%1<3FD:文字列(%s)履歴>℃"));

    t.m_valueKind = static_cast<ValueKind>(7);
    t.m_displayKind = static_cast<DisplayKind>(-1);
    EXPECT_EQ(t.SummaryText(), QStringLiteral("%1<3FD%s)??" "?>℃"));
}
