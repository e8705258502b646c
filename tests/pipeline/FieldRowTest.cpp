#include "pipeline/FieldRow.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <type_traits>

static_assert(std::is_nothrow_move_constructible_v<FieldRow>);
static_assert(std::is_nothrow_move_assignable_v<FieldRow>);

TEST(FieldRow, KeepsLatin1AndWideTextWhenARowTurnsWide)
{
    FieldRow row;
    row.append(QStringLiteral("ab\u00e9"));
    row.append(QStringLiteral(""));
    row.append(QStringLiteral("日本"));
    row.append(QStringLiteral("x"));
    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row.at(0), QStringLiteral("ab\u00e9"));
    EXPECT_EQ(row.at(1), QString());
    EXPECT_EQ(row.at(2), QStringLiteral("日本"));
    EXPECT_EQ(row.at(3), QStringLiteral("x"));
    EXPECT_EQ(row.fieldLength(2), 2);
    EXPECT_EQ(row.join(), QStringLiteral("ab\u00e9,,日本,x"));
    EXPECT_EQ(row.toStringList(), QStringList({QStringLiteral("ab\u00e9"), QStringLiteral(""), QStringLiteral("日本"), QStringLiteral("x")}));
}

TEST(FieldRow, EmptyFieldsCountAndJoin)
{
    const FieldRow row{QString(), QString(), QStringLiteral("x"), QString()};
    EXPECT_EQ(row.size(), 4);
    EXPECT_EQ(row.join(), QStringLiteral(",,x,"));
    EXPECT_TRUE(FieldRow().isEmpty());
    EXPECT_EQ(FieldRow().join(), QString());
    EXPECT_FALSE(FieldRow{QString()} == FieldRow()); // one empty FD is not no FD
}

TEST(FieldRow, ManyFieldsAndTextBeyondSixteenBitOffsets)
{
    FieldRow row;
    for (int i = 0; i < 70000; ++i)
        row.append(QString::number(i)); // grows through the switch to 32-bit offsets
    ASSERT_EQ(row.size(), 70000);
    for (int i : {0, 255, 256, 9999, 65535, 69999})
        EXPECT_EQ(row.at(i), QString::number(i));

    const QString longField(70000, QLatin1Char('z'));
    FieldRow wide{QStringLiteral("日"), longField, QStringLiteral("end")};
    EXPECT_EQ(wide.at(1), longField);
    EXPECT_EQ(wide.at(2), QStringLiteral("end"));
    FieldRow copy = wide;
    EXPECT_EQ(copy, wide);
    copy.squeeze();
    EXPECT_EQ(copy.at(2), QStringLiteral("end"));
}

TEST(FieldRow, EqualityComparesFieldsNotHowTheRowWasBuilt)
{
    FieldRow appended;
    appended.reserve(10, 100);
    appended.append(u"ab");
    appended.append(u"c");
    FieldRow split;
    split.appendSeparated(u"ab,c");
    EXPECT_EQ(appended, split);
    EXPECT_EQ(appended, FieldRow(QStringList{QStringLiteral("ab"), QStringLiteral("c")}));
    EXPECT_FALSE(appended == (FieldRow{QStringLiteral("a"), QStringLiteral("bc")}));
    EXPECT_FALSE(appended == (FieldRow{QStringLiteral("ab"), QStringLiteral("d")}));
    EXPECT_FALSE(appended == (FieldRow{QStringLiteral("ab"), QStringLiteral("c"), QString()}));
}

TEST(FieldRow, CopiesAreIndependentAndMovesLeaveAnEmptyRow)
{
    FieldRow a{QStringLiteral("1"), QStringLiteral("日本")};
    FieldRow b = a;
    b.append(u"3");
    EXPECT_EQ(a.size(), 2);
    EXPECT_EQ(b.at(2), QStringLiteral("3"));

    FieldRow moved = std::move(b);
    EXPECT_TRUE(b.isEmpty()); // NOLINT(bugprone-use-after-move): documented state
    b.append(u"again");
    EXPECT_EQ(b.join(), QStringLiteral("again"));
    EXPECT_EQ(moved.size(), 3);

    // Assigning over an existing block of any size or width keeps the content exact.
    FieldRow big{QString(40, QLatin1Char('x')), QStringLiteral("y"), QStringLiteral("z")};
    FieldRow target = big;
    target = a;
    EXPECT_EQ(target, a);
    target = FieldRow{QStringLiteral("p"), QStringLiteral("q")};
    EXPECT_EQ(target.join(), QStringLiteral("p,q"));
    target = big;
    EXPECT_EQ(target, big);
    target = FieldRow();
    EXPECT_TRUE(target.isEmpty());
    const FieldRow& self = target = a;
    target = self;
    EXPECT_EQ(target, a);
}

TEST(FieldRow, AppendSeparatedAddsToExistingFields)
{
    FieldRow row{QStringLiteral("p")};
    row.appendSeparated(u"q,,日");
    row.appendSeparated(u"");
    EXPECT_EQ(row.toStringList(),
        QStringList({QStringLiteral("p"), QStringLiteral("q"), QString(), QStringLiteral("日"), QString()}));
}

TEST(FieldRow, RandomEditsMatchAPlainStringList)
{
    const QStringList pieces = {QString(), QStringLiteral("1"), QStringLiteral("abcdef"),
        QStringLiteral("日本語"), QString(300, QLatin1Char('w')), QStringLiteral("\u00ff")};
    uint32_t seed = 7;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 300; ++round) {
        FieldRow row;
        QStringList model;
        FieldRow other{QStringLiteral("o")};
        for (int step = 0; step < 40; ++step) {
            const QString& piece = pieces[static_cast<qsizetype>(next(uint32_t(pieces.size())))];
            switch (next(5)) {
            case 0:
            case 1:
                row.append(piece);
                model.append(piece);
                break;
            case 2:
                row.appendSeparated(piece + QLatin1Char(',') + piece);
                model << piece << piece;
                break;
            case 3:
                row.squeeze();
                break;
            case 4:
                other = row; // reuses or replaces the other block
                row = other;
                break;
            }
        }
        ASSERT_EQ(row.toStringList(), model);
        ASSERT_EQ(row, FieldRow(model));
        ASSERT_EQ(row.join(), model.join(QLatin1Char(',')));
    }
}
