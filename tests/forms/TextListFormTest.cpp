#include "forms/TextListForm.h"
#include "model/TextInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString Cell(const CTextInfo& t, int column)
{
    return TextListForm::CellTexts(t).at(column);
}

} // namespace

TEST(TextListForm, HeadersIncludeThePaddedPositionColumn)
{
    const QStringList headers = TextListForm::Headers();
    ASSERT_EQ(headers.size(), TextListForm::kColumnCount);
    EXPECT_EQ(headers.front(), QStringLiteral("対象FD番号"));
    EXPECT_EQ(headers[9], QString::fromUtf16(u"位置\u3000\u3000"));
    EXPECT_EQ(headers.back(), QStringLiteral("後置"));
}

TEST(TextListForm, DefaultDisplayRow)
{
    CTextInfo t;
    t.m_fdNo = 7;
    t.m_prefix = QStringLiteral("温度");
    t.m_suffix = QStringLiteral("℃");
    EXPECT_EQ(TextListForm::CellTexts(t),
              QStringList({"7", "最新", "数値(*1+0)", "瞬時値", "%g", "  ", "  ", "No", "15", "中央上", "10",
                           "温度", "℃"}));
    EXPECT_EQ(TextListForm::CellColor(t, 5), std::optional<COLORREF>(255));
    EXPECT_EQ(TextListForm::CellColor(t, 6), std::optional<COLORREF>(16777215));
    EXPECT_FALSE(TextListForm::CellColor(t, 4));
}

TEST(TextListForm, KindsAndOutOfRangeValues)
{
    struct Case
    {
        int column;
        std::function<void(CTextInfo&)> set;
        const char16_t* expected;
    };
    const Case cases[] = {
        {1, [](CTextInfo& t) { t.m_displayKind = DisplayKind::History; }, u"履歴"},
        {1, [](CTextInfo& t) { t.m_displayKind = static_cast<DisplayKind>(2); }, u"???"},
        {2, [](CTextInfo& t) { t.m_multiplier = 0.5; t.m_adder = -1e-7; }, u"数値(*0.5+-1e-07)"},
        {2, [](CTextInfo& t) { t.m_logicalKind = LogicalKind::DateTime; }, u"日時"},
        {2, [](CTextInfo& t) { t.m_logicalKind = LogicalKind::InputCount; }, u"入力数"},
        {2, [](CTextInfo& t) { t.m_logicalKind = static_cast<LogicalKind>(-1); }, u""},
        {3, [](CTextInfo& t) { t.m_valueKind = ValueKind::Min; }, u"最小値"},
        {3, [](CTextInfo& t) { t.m_valueKind = ValueKind::String; }, u"テキスト"},
        {3, [](CTextInfo& t) { t.m_valueKind = static_cast<ValueKind>(4); }, u"???"},
        {7, [](CTextInfo& t) { t.m_opaque = 0; }, u"Yes"},
        {7, [](CTextInfo& t) { t.m_opaque = 5; }, u"No"},
        {8, [](CTextInfo& t) { t.m_font.lfHeight = -24; }, u"24"},
        {8, [](CTextInfo& t) { t.m_font.lfHeight = std::numeric_limits<int32_t>::min(); }, u"2147483648"},
        {9, [](CTextInfo& t) { t.m_anchor = TextAnchor::TopLeft; }, u"左上"},
        {9, [](CTextInfo& t) { t.m_anchor = TextAnchor::BottomRight; }, u"右下"},
        {9, [](CTextInfo& t) { t.m_anchor = static_cast<TextAnchor>(9); }, u"???"},
        {10, [](CTextInfo& t) { t.m_distance = -3; }, u"-3"},
    };
    for (const Case& c : cases) {
        CTextInfo t;
        c.set(t);
        EXPECT_EQ(Cell(t, c.column), QString::fromUtf16(c.expected)) << "column " << c.column;
    }
}
