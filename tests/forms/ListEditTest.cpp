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
