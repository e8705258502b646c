#include "fields/FDListForm.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<int32_t> Targets(const CFDInfos& t)
{
    std::vector<int32_t> out;
    for (const CFDInfo& e : t.m_entries)
        out.push_back(e.m_targetFD);
    return out;
}

CFDInfos Identity(int32_t n)
{
    CFDInfos t;
    EXPECT_FALSE(SetFDCount(t, n));
    return t;
}

} // namespace

TEST(FDListForm, LineTextsShowConversionAndDescriptions)
{
    EXPECT_EQ(FDListLineText(2, CFDInfo(2)), QStringLiteral("FD2\t<無変換>\t, <説明文無し>"));
    EXPECT_EQ(FDListLineText(1, CFDInfo(3, {QStringLiteral("温度"), QStringLiteral("外気")})),
              QStringLiteral("FD1\t→ FD3\t\t, 温度\t, 外気"));
    CFDInfos t;
    t.m_entries = {CFDInfo(0, {QStringLiteral("a")}), CFDInfo(0)};
    EXPECT_EQ(FDListLines(t), QStringList({QStringLiteral("FD0\t<無変換>\t, a"),
                                           QStringLiteral("FD1\t→ FD0\t\t, <説明文無し>")}));
}

TEST(FDListForm, SetCountGrowsWithIdentityCutsOrKeeps)
{
    CFDInfos t;
    t.m_entries = {CFDInfo(5, {QStringLiteral("keep")})};
    EXPECT_FALSE(SetFDCount(t, 3));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{5, 1, 2}));
    EXPECT_EQ(t.m_entries[0].m_descriptions, QStringList{QStringLiteral("keep")});
    EXPECT_FALSE(SetFDCount(t, 3));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{5, 1, 2}));
    EXPECT_FALSE(SetFDCount(t, 1));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{5}));
    EXPECT_FALSE(SetFDCount(t, 0));
    EXPECT_TRUE(t.m_entries.empty());
}

TEST(FDListForm, SetCountRefusesCountsBeyondTheLimit)
{
    CFDInfos t = Identity(2);
    const auto problem = SetFDCount(t, 2147483647);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, FDListProblem::Field::Count);
    EXPECT_EQ(problem->message, QStringLiteral("0 から 1000000 までの整数を入力してください。"));
    EXPECT_EQ(t.m_entries.size(), 2u);
}

TEST(FDListForm, RenumberGrowsTableThenMapsTheRange)
{
    CFDInfos t = Identity(3);
    EXPECT_FALSE(RenumberFDs(t, 2, 4, 10));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{0, 1, 10, 11, 12}));
    EXPECT_FALSE(RenumberFDs(t, 1, 1, 7));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{0, 7, 10, 11, 12}));
    ClearFDConversion(t);
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST(FDListForm, RenumberRefusalsChangeNothing)
{
    CFDInfos t = Identity(3);
    const auto order = RenumberFDs(t, 4, 2, 0);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->message, QStringLiteral("終了FD番号が開始FD番号より小さいです."));
    EXPECT_EQ(order->caption, QStringLiteral("チェック"));
    EXPECT_EQ(order->field, FDListProblem::Field::End);

    // The last target would pass the int32 limit and wrap to a negative number.
    const auto overflow = RenumberFDs(t, 0, 5, 2147483647);
    ASSERT_TRUE(overflow);
    EXPECT_EQ(overflow->field, FDListProblem::Field::NewStart);
    EXPECT_EQ(overflow->message, QStringLiteral("0 から 2147483642 までの整数を入力してください。"));
    EXPECT_TRUE(RenumberFDs(t, 0, 2147483647, 0));
    EXPECT_EQ(Targets(t), (std::vector<int32_t>{0, 1, 2}));

    EXPECT_FALSE(RenumberFDs(t, 0, 5, 2147483642));
    EXPECT_EQ(t.m_entries[5].m_targetFD, 2147483647);
}
