#include "forms/FieldRead.h"

#include "tests/support/TestSupport.h"

TEST(FieldRead, IntegersMustBeWholeAndFitTheirRange)
{
    struct Case
    {
        const char* text;
        QString message;
        int32_t value;
    };
    const QString range = FieldRead::RangeMessage(0, 1000);
    EXPECT_EQ(range, QStringLiteral("0 から 1000 までの整数を入力してください。"));
    const Case cases[] = {
        {"12", {}, 12},           {" 7 ", {}, 7},          {"1000", {}, 1000},
        {"1001", range, 0},       {"-1", range, 0},          {"", FieldRead::kInteger, 0},
        {"12a", FieldRead::kInteger, 0}, {"1.5", FieldRead::kInteger, 0}, {"99999999999999999999", FieldRead::kInteger, 0},
    };
    for (const Case& c : cases) {
        int32_t out = -99;
        EXPECT_EQ(FieldRead::IntInRange(QString::fromLatin1(c.text), 0, 1000, out), c.message) << c.text;
        EXPECT_EQ(out, c.message.isEmpty() ? c.value : -99) << c.text;
    }
    int32_t out = 0;
    EXPECT_EQ(FieldRead::Int(QStringLiteral("2147483647"), out), QString());
    EXPECT_EQ(out, 2147483647);
    EXPECT_EQ(FieldRead::Int(QStringLiteral("2147483648"), out), FieldRead::kInteger);
}

TEST(FieldRead, UnsignedAndRealFields)
{
    int64_t count = 0;
    EXPECT_EQ(FieldRead::UnsignedInRange(QStringLiteral("4294967295"), 1, 4294967295LL, count), QString());
    EXPECT_EQ(count, 4294967295LL);
    EXPECT_EQ(FieldRead::UnsignedInRange(QStringLiteral("0"), 1, 4294967295LL, count),
              FieldRead::RangeMessage(1, 4294967295LL));
    for (const char* bad : {"", "-1", "+3", "x"})
        EXPECT_EQ(FieldRead::UnsignedInRange(QString::fromLatin1(bad), 1, 10, count), FieldRead::kPositive) << bad;

    double real = 0;
    EXPECT_EQ(FieldRead::Real(QStringLiteral(" 1.25e3 "), real), QString());
    EXPECT_EQ(real, 1250.0);
    for (const char* bad : {"", "nan", "inf", "1e400", "1,5", "2x"})
        EXPECT_EQ(FieldRead::Real(QString::fromLatin1(bad), real), FieldRead::kReal) << bad;
    EXPECT_EQ(FieldRead::FormatReal(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FieldRead::FormatReal(1234567.891), QStringLiteral("1234567.891"));
    EXPECT_EQ(FieldRead::FormatInt(-3), QStringLiteral("-3"));
}
