#include "forms/ConnectForm.h"
#include "model/ConnectInfo.h"

#include "tests/support/TestSupport.h"

#include <limits>
#include <vector>

using namespace ConnectForm;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

CConnectInfo Connect(int32_t id, std::vector<int32_t> plotIds = {})
{
    CConnectInfo c;
    c.m_id = id;
    c.m_plotIds = std::move(plotIds);
    return c;
}

std::vector<int32_t> IdsOf(const std::vector<CConnectInfo>& connects)
{
    std::vector<int32_t> ids;
    for (const CConnectInfo& c : connects)
        ids.push_back(c.m_id);
    return ids;
}

} // namespace

TEST(ConnectForm, PlotIdPickerReadsAnOptionalMinusAndDigitsWithinInt32)
{
    const struct
    {
        const char* text;
        int32_t id;
    } accepted[] = {
        {"12", 12},          {"-3", -3},   {"007", 7},
        {"", 0},             {"-", 0},     {"-0", 0},
        {"2147483647", kMax}, {"-2147483648", kMin}, {"00000000000002147483647", kMax},
    };
    for (const auto& c : accepted) {
        int32_t id = 99;
        EXPECT_TRUE(ReadPlotId(QString::fromUtf8(c.text), id)) << c.text;
        EXPECT_EQ(id, c.id) << c.text;
    }

    // Signs, spaces, separators and doubled signs, other digits, and values beyond int32,
    // which must never wrap to another plot's ID.
    const char* const refused[] = {
        "+5", "1.5", " 5", "5 ", "5a", "1,2", "1, 2", "1 2", "1;2", "--5", "5-", "-5-", "5\n", "0x10",
        "\xEF\xBC\x91\xEF\xBC\x92", // full-width 12
        "2147483648", "-2147483649", "4294967296", "99999999999999999999999",
    };
    for (const char* text : refused) {
        int32_t id = 99;
        EXPECT_FALSE(ReadPlotId(QString::fromUtf8(text), id)) << text;
        EXPECT_EQ(id, 99) << text;
    }
    EXPECT_EQ(kPlotIdMessage, QStringLiteral("整数を入力してください."));
    EXPECT_EQ(kPlotIdTitle, QStringLiteral("IDチェック"));
}

TEST(ConnectForm, HeadersAndRowTexts)
{
    EXPECT_EQ(Headers(), (QStringList{QStringLiteral(" ID "), QStringLiteral(" 表示種別 "),
                                      QStringLiteral(" 結線プロットID "), QStringLiteral("始点と終点"),
                                      QStringLiteral("コメント") + QString(3, QChar(0x3000))}));

    EXPECT_EQ(RowTexts(CConnectInfo()),
              (QStringList{"0", QStringLiteral("最新表示"), "", QStringLiteral("開放"), ""}));

    CConnectInfo c = Connect(-4, {3, 5, 8});
    c.m_displayKind = DisplayKind::History;
    c.m_closed = 1;
    c.m_comment = QStringLiteral("外周");
    EXPECT_EQ(RowTexts(c), (QStringList{"-4", QStringLiteral("履歴表示"), "3, 5, 8", QStringLiteral("結ぶ"),
                                        QStringLiteral("外周")}));

    // A plot listed twice, and one ID alone.
    EXPECT_EQ(PlotIdsText({4, -1, 4}), QStringLiteral("4, -1, 4"));
    EXPECT_EQ(PlotIdsText({kMin}), QStringLiteral("-2147483648"));
    EXPECT_EQ(PlotIdLines({4, -1, 4}), (QStringList{"4", "-1", "4"}));
}

TEST(ConnectForm, AddAppendsACopyOfTheSelectionWithTheNextId)
{
    std::vector<CConnectInfo> none;
    EXPECT_EQ(AddConnect(none, -1), 0);
    EXPECT_EQ(none[0].m_id, 0);
    EXPECT_EQ(none[0].m_line.m_show, 1);

    std::vector<CConnectInfo> list = {Connect(3), Connect(12, {1, 2}), Connect(7)};
    list[1].m_comment = QStringLiteral("元");
    EXPECT_EQ(AddConnect(list, 1), 3);
    EXPECT_EQ(IdsOf(list), (std::vector<int32_t>{3, 12, 7, 13}));
    EXPECT_EQ(list[3].m_plotIds, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list[3].m_comment, QStringLiteral("元"));

    // No overflow past the largest ID: the smallest free one keeps the IDs unique.
    std::vector<CConnectInfo> full = {Connect(kMax), Connect(0), Connect(1)};
    AddConnect(full, 5);
    EXPECT_EQ(full.back().m_id, 2);
    EXPECT_TRUE(full.back().m_plotIds.empty());
}
