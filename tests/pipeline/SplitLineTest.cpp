#include "pipeline/SplitLine.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QStringList Split(const QString& line)
{
    FieldRow row;
    SplitLine(line, row);
    return row.toStringList();
}

QStringList L(std::initializer_list<const char16_t*> items)
{
    QStringList out;
    for (const char16_t* s : items)
        out.append(QString::fromUtf16(s));
    return out;
}

} // namespace

TEST(SplitLine, QuotedCommaStaysInFieldAndDoubledQuoteUnescapes)
{
    EXPECT_EQ(Split(QStringLiteral(R"(1,"2,3","4""5")")), L({u"1", u"2,3", u"4\"5"}));
    EXPECT_EQ(Split(QStringLiteral(R"("x,y",z)")), L({u"x,y", u"z"}));
    EXPECT_EQ(Split(QStringLiteral(R"("a,b,c")")), L({u"a,b,c"}));
}

TEST(SplitLine, UnterminatedQuotedFieldAtTheEndIsDropped)
{
    EXPECT_EQ(Split(QStringLiteral(R"(1,"2,3)")), L({u"1"}));
    EXPECT_EQ(Split(QStringLiteral(R"(")")), QStringList()); // a lone quote opens a field
    EXPECT_EQ(Split(QStringLiteral(R"(a,")")), L({u"a"}));
    EXPECT_EQ(Split(QStringLiteral(R"(",a)")), QStringList());
    // The closing quote must end the field: text after it keeps the field open.
    EXPECT_EQ(Split(QStringLiteral(R"("a"b,c)")), QStringList());
    EXPECT_EQ(Split(QStringLiteral(R"("a"b,c")")), L({u"a\"b,c"}));
}

TEST(SplitLine, EmptyFieldsAndEmptyLine)
{
    EXPECT_EQ(Split(QStringLiteral("x,,y")), L({u"x", u"", u"y"}));
    EXPECT_EQ(Split(QStringLiteral("a,b,")), L({u"a", u"b", u""}));
    EXPECT_EQ(Split(QString()), L({u""}));
    EXPECT_EQ(Split(QStringLiteral(",")), L({u"", u""}));
    EXPECT_EQ(Split(QStringLiteral(R"("",x)")), L({u"", u"x"}));
    EXPECT_EQ(Split(QStringLiteral(R"(x,"")")), L({u"x", u""}));
}

TEST(SplitLine, QuotesInsideUnquotedFields)
{
    EXPECT_EQ(Split(QStringLiteral(R"(a"b)")), L({u"a\"b"}));
    EXPECT_EQ(Split(QStringLiteral(R"(a""b,c)")), L({u"a\"b", u"c"}));
    EXPECT_EQ(Split(QStringLiteral(R"(a""""b)")), L({u"a\"b"})); // a run ends as one quote
    EXPECT_EQ(Split(QStringLiteral(R"("""")")), L({u"\""}));
    EXPECT_EQ(Split(QStringLiteral(R"(a",b")")), L({u"a\"", u"b\""}));
}

TEST(SplitLine, NothingIsTrimmed)
{
    EXPECT_EQ(Split(QStringLiteral(" 1 ,\t2\r, \"a\" ")), L({u" 1 ", u"\t2\r", u" \"a\" "}));
}

TEST(SplitLine, AppendsToFieldsAlreadyInTheRow)
{
    FieldRow row{QStringLiteral("p")};
    SplitLine(u"q,r", row);
    SplitLine(uR"("s,t",u)", row);
    EXPECT_EQ(row.toStringList(), L({u"p", u"q", u"r", u"s,t", u"u"}));
}

TEST(SplitLine, WideTextAndLongLines)
{
    EXPECT_EQ(Split(QStringLiteral("日本,\"語,x\",é")), L({u"日本", u"語,x", u"é"}));

    const QString big(70000, QLatin1Char('9'));
    const QStringList fields = Split(big + QStringLiteral(",1,\"") + big + QStringLiteral(",\""));
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0], big);
    EXPECT_EQ(fields[1], QStringLiteral("1"));
    EXPECT_EQ(fields[2], big + QLatin1Char(','));
}

namespace {

// The splitting rule written out step by step, with the field assembled as a string.
QStringList ReferenceSplit(const QString& line)
{
    QStringList out;
    QString acc;
    qsizetype pos = 0;
    bool more = true;
    while (more) {
        const qsizetype c = pos < line.size() ? line.indexOf(QLatin1Char(','), pos) : -1;
        if (c >= 0) {
            acc += line.mid(pos, c - pos);
        } else {
            acc += line.mid(pos);
            more = false;
        }
        if (acc.startsWith(QLatin1Char('"'))) {
            if (acc.size() > 1 && acc.endsWith(QLatin1Char('"'))) {
                acc = acc.mid(1, acc.size() - 2);
            } else if (more) {
                acc += QLatin1Char(',');
                pos = c + 1;
                continue;
            } else {
                break;
            }
        }
        while (acc.contains(QStringLiteral("\"\"")))
            acc.remove(acc.indexOf(QStringLiteral("\"\"")), 1);
        out.append(acc);
        acc.clear();
        pos = c + 1;
    }
    return out;
}

} // namespace

TEST(SplitLine, MatchesTheStepByStepRuleOnRandomLines)
{
    const QString alphabet = QStringLiteral("a,\" 日");
    uint32_t seed = 12345;
    for (int round = 0; round < 20000; ++round) {
        QString line;
        seed = seed * 1103515245u + 12345u;
        const int length = static_cast<int>((seed >> 16) % 12);
        for (int k = 0; k < length; ++k) {
            seed = seed * 1103515245u + 12345u;
            line += alphabet[static_cast<qsizetype>((seed >> 16) % alphabet.size())];
        }
        ASSERT_EQ(Split(line), ReferenceSplit(line)) << line.toStdString();
    }
}
