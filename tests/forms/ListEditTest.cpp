#include "forms/InputOptionsForm.h"
#include "forms/ListEdit.h"

#include "tests/support/TestSupport.h"

#include <vector>

TEST(ListEdit, SelectionIsClampedAndEmptyListsSelectNothing)
{
    struct Case
    {
        int requested, count, expected;
    };
    const Case cases[] = {{0, 0, -1}, {3, 0, -1}, {0, 3, 0}, {2, 3, 2}, {5, 3, 2}, {-1, 3, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ClampSelection(c.requested, c.count), c.expected) << c.requested << " of " << c.count;
}

TEST(ListEdit, DeleteKeepsTheIndexAndAddSelectsTheNewLine)
{
    QStringList list{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(RemoveEntry(list, 1), 1);
    EXPECT_EQ(list, QStringList({QStringLiteral("a"), QStringLiteral("c")}));
    EXPECT_EQ(RemoveEntry(list, 1), 0); // the last line: the selection moves up
    EXPECT_EQ(RemoveEntry(list, 5), 0); // outside the list: nothing removed
    EXPECT_EQ(list, QStringList{QStringLiteral("a")});
    EXPECT_EQ(RemoveEntry(list, 0), -1);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(AppendEntry(list, QStringLiteral("x")), 0);

    std::vector<CCalcFD> calcs(2);
    EXPECT_EQ(AppendEntry(calcs, CCalcFD(QStringLiteral("FD(0) > 1"), QStringLiteral("2"), QStringLiteral("3"))), 2);
    EXPECT_EQ(CalcFDLines(calcs).back(), QStringLiteral("if (FD(0) > 1){ FD値=2; } else { FD値=3; }"));
}

TEST(ListEdit, ExtentCandidatesAreAllLinesOrTheLongest)
{
    const QStringList few{QStringLiteral("a"), QStringLiteral("bb")};
    EXPECT_EQ(WidestLineCandidates(few, 2), (std::vector<int>{0, 1}));

    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("FD%1\t<無変換>").arg(i);
    many[17] = QStringLiteral("FD17\t→ FD3\t\t, 説明");        // full-width text counts double
    many[500] = QStringLiteral("FD500\t→ FD3\t\t, abcdefgh");
    std::vector<int> rows = WidestLineCandidates(many, 2);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{17, 500}));
}
