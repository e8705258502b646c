#include "forms/BarListForm.h"
#include "model/BarInfo.h"

#include "tests/support/TestSupport.h"

#include <limits>
#include <vector>

using namespace BarListForm;

namespace {

CBarInfo Bar(int32_t id)
{
    CBarInfo b;
    b.m_id = id;
    return b;
}

constexpr COLORREF Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

} // namespace

TEST(BarListForm, HeadersAndCellTexts)
{
    const QStringList headers = Headers();
    ASSERT_EQ(headers.size(), 9);
    EXPECT_EQ(headers[0], QStringLiteral(" ID "));
    EXPECT_EQ(headers[4], QStringLiteral("軸基本属性") + QString(7, QChar(0x3000)));
    EXPECT_EQ(headers[6], QStringLiteral("コメント") + QString(3, QChar(0x3000)));

    CBarInfo b = Bar(5);
    b.m_initialValue = 1234567;
    b.m_axis.m_valueKind = ValueKind::Max;
    b.m_anchor = BarAnchor::End;
    b.m_axis.m_fdNo = 3;
    b.m_axis.m_startValue = -1.5;
    b.m_axis.m_endValue = 10;
    b.m_axis.m_multiplier = 0.001;
    b.m_axis.m_adder = 2.5;
    // Only the logical kind shows: the value kind has its own column.
    b.m_axis.m_autoRange = 1;
    b.m_comment = QStringLiteral("左");
    b.m_includePrefixes = {QStringLiteral("a"), QStringLiteral("b")};
    EXPECT_EQ(RowTexts(b), QStringList({QStringLiteral("5"), QStringLiteral("1.23457e+06"), QStringLiteral("最大値"),
                                        QStringLiteral("終了点"), QStringLiteral("FD番号3,論理値-1.5から10"),
                                        QStringLiteral("数値(*0.001+2.5)"), QStringLiteral("左"),
                                        QStringLiteral("\"a\",\"b\""), QString()}));

    struct Case
    {
        ValueKind valueKind;
        BarAnchor anchor;
        LogicalKind logicalKind;
        QString kindText, anchorText, logicalText;
    };
    const Case cases[] = {
        {ValueKind::Instant, BarAnchor::Center, LogicalKind::DateTime, QStringLiteral("瞬時値"), QStringLiteral("中央"),
         QStringLiteral("日時")},
        {ValueKind::Min, BarAnchor::Start, LogicalKind::InputCount, QStringLiteral("最小値"), QStringLiteral("開始点"),
         QStringLiteral("入力数")},
        {ValueKind::String, static_cast<BarAnchor>(3), static_cast<LogicalKind>(7), QString(), QStringLiteral("???"),
         QString()},
        {static_cast<ValueKind>(-1), static_cast<BarAnchor>(-1), LogicalKind::Number, QString(), QStringLiteral("???"),
         QStringLiteral("数値(*1+0)")},
    };
    for (const Case& c : cases) {
        CBarInfo other;
        other.m_axis.m_valueKind = c.valueKind;
        other.m_anchor = c.anchor;
        other.m_axis.m_logicalKind = c.logicalKind;
        const QStringList cells = RowTexts(other);
        EXPECT_EQ(cells[2], c.kindText);
        EXPECT_EQ(cells[3], c.anchorText);
        EXPECT_EQ(cells[5], c.logicalText);
    }
}

TEST(BarListForm, ComplementaryColour)
{
    const struct
    {
        COLORREF in, out;
    } cases[] = {
        {Rgb(0, 0, 0), Rgb(0, 0, 0)},
        {Rgb(255, 0, 0), Rgb(0, 255, 255)},
        {Rgb(200, 100, 50), Rgb(50, 150, 200)},
        {Rgb(255, 255, 255), Rgb(255, 255, 255)},
        {Rgb(10, 20, 30), Rgb(30, 20, 10)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComplementaryColor(c.in), c.out) << std::hex << c.in;
}

TEST(BarListForm, AddGivesANewIdWidthSixAndTheComplementaryColour)
{
    std::vector<CBarInfo> none;
    ASSERT_EQ(AddBar(none, -1), 0);
    EXPECT_EQ(none[0].m_id, 0);
    EXPECT_EQ(none[0].m_line.m_width, 6);
    EXPECT_EQ(none[0].m_line.m_color, 0u);
    EXPECT_EQ(none[0].m_line.m_show, 1);

    std::vector<CBarInfo> bars{Bar(3), Bar(9), Bar(4)};
    bars[0].m_line.m_color = Rgb(255, 0, 0);
    bars[0].m_line.m_width = 20;
    bars[0].m_axis.m_startX = 321;
    bars[0].m_axis.m_endY = 654;
    bars[0].m_comment = QStringLiteral("赤");
    ASSERT_EQ(AddBar(bars, 0), 3);
    const CBarInfo& added = bars[3];
    EXPECT_EQ(added.m_id, 10);
    EXPECT_EQ(added.m_line.m_color, Rgb(0, 255, 255));
    EXPECT_EQ(added.m_line.m_width, 6);
    EXPECT_EQ(added.m_axis.m_startX, 321) << "not shifted";
    EXPECT_EQ(added.m_axis.m_endY, 654);
    EXPECT_EQ(added.m_comment, QStringLiteral("赤"));
    EXPECT_EQ(bars[0].m_line.m_color, Rgb(255, 0, 0)) << "the selected bar stays";

    // No ID above the int32 range: the smallest free one keeps IDs unique.
    std::vector<CBarInfo> full{Bar(std::numeric_limits<int32_t>::max()), Bar(0), Bar(2)};
    ASSERT_EQ(AddBar(full, 5), 3);
    EXPECT_EQ(full[3].m_id, 1);
}
