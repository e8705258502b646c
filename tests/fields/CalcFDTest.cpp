#include "fields/CalcFD.h"
#include "fields/CalcFDForm.h"
#include "fields/FDInfo.h"

#include "pipeline/FieldRow.h"
#include "platform/Archive.h"
#include "platform/SafeFormat.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>

namespace {

struct Result
{
    bool ok;
    double value;
};

Result Eval(const QString& cond, const QString& thenExpr, const QString& elseExpr, const FieldRow& row,
            const CFDInfos* table = nullptr)
{
    Result r{false, -1.0};
    r.ok = CCalcFD(cond, thenExpr, elseExpr).Evaluate(r.value, &row, table);
    return r;
}

// One expression on a row, through the then-branch.
Result Expr(const QString& text, const FieldRow& row = {})
{
    return Eval(QStringLiteral("1"), text, QStringLiteral("0"), row);
}

// One condition's truth, by the branch it picks.
Result Cond(const QString& text, const FieldRow& row = {})
{
    return Eval(text, QStringLiteral("1"), QStringLiteral("0"), row);
}

void ExpectValue(const QString& text, double expected)
{
    const Result r = Expr(text);
    EXPECT_TRUE(r.ok) << text.toStdString();
    EXPECT_DOUBLE_EQ(r.value, expected) << text.toStdString();
}

void ExpectFail(const QString& text, const FieldRow& row = {})
{
    const Result r = Expr(text, row);
    EXPECT_FALSE(r.ok) << text.toStdString();
    EXPECT_EQ(r.value, 0.0) << text.toStdString();
}

} // namespace

TEST(CalcFD, DefaultsEvaluateToOneOnAnyRow)
{
    const CCalcFD calc;
    EXPECT_EQ(calc.m_expr[0], QStringLiteral("1 == 1"));
    const FieldRow row{QStringLiteral("x")};
    double v = 0;
    EXPECT_TRUE(calc.Evaluate(v, &row, nullptr));
    EXPECT_EQ(v, 1.0);
    EXPECT_EQ(calc.GetText(), QStringLiteral("if (1 == 1){ FD値=1; } else { FD値=0; }"));
}

TEST(CalcFD, ArithmeticIsLeftAssociativeWithPrecedence)
{
    ExpectValue(QStringLiteral("10 - 2 - 3"), 5);
    ExpectValue(QStringLiteral("2 * 3 + 4"), 10);
    ExpectValue(QStringLiteral("2 + 3 * 4"), 14);
    ExpectValue(QStringLiteral("8 / 2 / 2"), 2);
    ExpectValue(QStringLiteral("(2 + 3) * 4"), 20);
    ExpectValue(QStringLiteral(" \t1\r\n+\v2\f "), 3);
}

TEST(CalcFD, LiteralsCarryTheirOwnSignWithoutUnaryMinus)
{
    ExpectValue(QStringLiteral("-3"), -3);
    ExpectValue(QStringLiteral("2*-3"), -6);
    ExpectValue(QStringLiteral("2 - -3"), 5);
    ExpectValue(QStringLiteral("+.5 + 12. + 1.5e1 + 2E-1"), 27.7);
    EXPECT_EQ(Expr(QStringLiteral("-Infinity")).value, -INFINITY);
    EXPECT_TRUE(std::isnan(Expr(QStringLiteral("NaN")).value));
    for (const char* bad : {"-(3)", "-FD(1)", "- 3", "--3", "1e", ".", "0x10", "1e400", "", "infx"})
        ExpectFail(QString::fromLatin1(bad));
}

TEST(CalcFD, FunctionsAndTheirDomainErrors)
{
    ExpectValue(QStringLiteral("pow(2, 3)"), 9); // second argument to the power of the first
    ExpectValue(QStringLiteral("pow(3, 2)"), 8);
    ExpectValue(QStringLiteral("atan2(1, 0)"), std::numbers::pi / 2);
    ExpectValue(QStringLiteral("asin(2)"), std::numbers::pi / 2);
    ExpectValue(QStringLiteral("acos(-5)"), std::numbers::pi);
    ExpectValue(QStringLiteral("sqrt(16) + sin(0) + cos(0) + tan(0) + atan(0)"), 5);
    ExpectValue(QStringLiteral("log(1) + log10(1000)"), 3);
    ExpectValue(QStringLiteral("PI()"), 3.141592653589793);
    for (const char* bad : {"1 / 0", "sqrt(-4)", "sqrt(nan)", "log(0)", "log10(-1)", "log(nan)", "atan2(0, 0)",
                            "PI", "pi()", "Sin(1)", "fd(0)", "SQRT(4)", "sqrt 4", "sin()", "pow(1)"})
        ExpectFail(QString::fromLatin1(bad));
    // Overflow is not an error: the infinite value goes on.
    EXPECT_EQ(Expr(QStringLiteral("1e300 * 1e300")).value, INFINITY);
    EXPECT_TRUE(std::isnan(Expr(QStringLiteral("pow(0.5, -8)")).value));
}

TEST(CalcFD, PiEndsAtItsClosingParenthesis)
{
    ExpectValue(QStringLiteral("PI()-1"), std::numbers::pi - 1);
    ExpectValue(QStringLiteral("PI() - 1"), std::numbers::pi - 1);
    ExpectFail(QStringLiteral("PI() 1"));
}

TEST(CalcFD, LongerNamesAfterTheirPrefixes)
{
    ExpectValue(QStringLiteral("log10(100)"), 2);
    ExpectValue(QStringLiteral("log (100) / log(10)"), 2);
    ExpectValue(QStringLiteral("atan2(0, -1)"), std::numbers::pi);
    ExpectValue(QStringLiteral("atan (1) * 4"), std::numbers::pi);
    EXPECT_EQ(Expr(QStringLiteral("FD ( 1 ) * 2"), FieldRow{QStringLiteral("0"), QStringLiteral("3")}).value, 6);
    ExpectFail(QStringLiteral("log 10(100)"));
    ExpectFail(QStringLiteral("F D(1)"));
}

TEST(CalcFD, ConditionOperators)
{
    EXPECT_EQ(Cond(QStringLiteral("1 < 2 < 3")).value, 1);
    EXPECT_EQ(Cond(QStringLiteral("3 > 2 > 1")).value, 0);
    EXPECT_EQ(Cond(QStringLiteral("1 <= 1 && 2 >= 3 || 4 != 4 || 0.1 + 0.2 == 0.3")).value, 0);
    EXPECT_EQ(Cond(QStringLiteral("2 >= 2 && 1 == 1")).value, 1);
    // Comparisons and logic inside function arguments and parentheses of a condition.
    EXPECT_EQ(Cond(QStringLiteral("sqrt(1 < 2) + (3 == 3) == 2")).value, 1);
    EXPECT_EQ(Cond(QStringLiteral("nan")).value, 1); // NaN counts as true
    EXPECT_EQ(Cond(QStringLiteral("nan == nan")).value, 0);
}

TEST(CalcFD, TwoCharacterOperatorsTakeNoSpaceInside)
{
    for (const char* bad : {"1 < = 2", "1 > = 2", "1 = = 1", "1 ! = 2", "1 & & 1", "1 | | 0", "1 = 1", "1 & 1"})
        EXPECT_FALSE(CCalcFD::CheckCondition(QString::fromLatin1(bad))) << bad;
    for (const char* good : {"1<=2", "1 >=2", "1== 1", "1!=2", "1&&1", "1||0"})
        EXPECT_TRUE(CCalcFD::CheckCondition(QString::fromLatin1(good))) << good;
}

TEST(CalcFD, ExpressionGrammarHasNoComparisonAtAnyDepth)
{
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("FD(0) > 1")));
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("sqrt(1 < 2)")));
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("(1 || 0)")));
    EXPECT_TRUE(CCalcFD::CheckCondition(QStringLiteral("FD(0) > 1")));
}

TEST(CalcFD, NoShortCircuitAndAnyErrorFails)
{
    const FieldRow row{QStringLiteral("1")};
    EXPECT_FALSE(Cond(QStringLiteral("1 || FD(99) > 0"), row).ok);
    EXPECT_FALSE(Cond(QStringLiteral("0 && 1 / 0"), row).ok);
    // A failing condition yields 0 without trying either branch.
    const Result r = Eval(QStringLiteral("1/0"), QStringLiteral("5"), QStringLiteral("6"), row);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value, 0);
}

TEST(CalcFD, OnlyTheChosenBranchIsParsed)
{
    const FieldRow row{QStringLiteral("12"), QStringLiteral("0")};
    const Result r = Eval(QStringLiteral("FD(0) >= 10 && FD(1) != 0"), QStringLiteral("syntax error ("),
                          QStringLiteral("FD(0) * 2"), row);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value, 24);
}

TEST(CalcFD, FieldsReadLikeStrtod)
{
    const FieldRow row{QStringLiteral("3"), QStringLiteral("4.5"), QStringLiteral(" 12abc"), QStringLiteral("0x10"),
                       QStringLiteral("-inf"), QStringLiteral("abc"), QString(), QStringLiteral("1e400"),
                       QStringLiteral("1e-400"), QStringLiteral("１２"), QStringLiteral("1e308")};
    EXPECT_EQ(Expr(QStringLiteral("FD(0) + FD(1)"), row).value, 7.5);
    EXPECT_EQ(FormatG(Expr(QStringLiteral("FD(0) + FD(1)"), row).value), QStringLiteral("7.5"));
    EXPECT_EQ(Expr(QStringLiteral("FD(2)"), row).value, 12);
    EXPECT_EQ(Expr(QStringLiteral("FD(3)"), row).value, 16);
    EXPECT_EQ(Expr(QStringLiteral("FD(4)"), row).value, -INFINITY);
    EXPECT_EQ(Expr(QStringLiteral("FD(10)"), row).value, 1e308);
    // Not a number, empty, overflow, underflow, full-width digits, missing.
    for (const char* bad : {"FD(5)", "FD(6)", "FD(7)", "FD(8)", "FD(9)", "FD(11)"})
        ExpectFail(QString::fromLatin1(bad), row);
}

TEST(CalcFD, FieldNumberMustBeANonNegativeInt32)
{
    const FieldRow row{QStringLiteral("5"), QStringLiteral("6")};
    EXPECT_EQ(Expr(QStringLiteral("FD(0.5+0.5)"), row).value, 6);
    EXPECT_EQ(Expr(QStringLiteral("FD(-0)"), row).value, 5);
    for (const char* bad : {"FD(1.5)", "FD(-1)", "FD(nan)", "FD(inf)", "FD(4294967296)", "FD(2147483648)"})
        ExpectFail(QString::fromLatin1(bad), row);
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("FD(1.5)")));
    EXPECT_TRUE(CCalcFD::CheckExpression(QStringLiteral("FD(2147483647)")));
}

TEST(CalcFD, FieldNumbersGoThroughTheConversionTable)
{
    const FieldRow row{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    CFDInfos table;
    table.m_entries = {CFDInfo(3), CFDInfo(9), CFDInfo(-2)};
    EXPECT_EQ(Eval(QStringLiteral("1"), QStringLiteral("FD(0)"), QStringLiteral("0"), row, &table).value, 3);
    EXPECT_EQ(Eval(QStringLiteral("1"), QStringLiteral("FD(3)"), QStringLiteral("0"), row, &table).value, 3);
    EXPECT_FALSE(Eval(QStringLiteral("1"), QStringLiteral("FD(1)"), QStringLiteral("0"), row, &table).ok);
    // A negative target (only from a crafted state file) finds no field.
    EXPECT_FALSE(Eval(QStringLiteral("1"), QStringLiteral("FD(2)"), QStringLiteral("0"), row, &table).ok);
}

TEST(CalcFD, LaterComputedFieldsSeeEarlierOnes)
{
    // As the pipeline does it: each value appended with "%g" before the next evaluation.
    FieldRow row{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    const CCalcFD first(QStringLiteral("1"), QStringLiteral("FD(0) + FD(2) / 2"), QStringLiteral("0"));
    const CCalcFD second(QStringLiteral("1"), QStringLiteral("FD(3) * 2"), QStringLiteral("0"));
    const CCalcFD own(QStringLiteral("1"), QStringLiteral("FD(4)"), QStringLiteral("0"));
    double v = 0;
    ASSERT_TRUE(first.Evaluate(v, &row, nullptr));
    row.append(FormatG(v));
    EXPECT_FALSE(own.Evaluate(v, &row, nullptr));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(second.Evaluate(v, &row, nullptr));
    EXPECT_EQ(v, 5);
}

TEST(CalcFD, FullWidthCharactersAreInvalid)
{
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("１")));
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("1　+ 1"))); // ideographic space
    EXPECT_FALSE(CCalcFD::CheckExpression(QStringLiteral("1 + 1 ソ")));
    EXPECT_FALSE(CCalcFD::CheckExpression(QString(QChar(0)) + QStringLiteral("1")));
}

TEST(CalcFD, DeepNestingFailsInsteadOfOverflowingTheStack)
{
    auto nested = [](const QString& open, int depth) {
        return open.repeated(depth) + QStringLiteral("1") + QStringLiteral(")").repeated(depth);
    };
    EXPECT_TRUE(CCalcFD::CheckCondition(nested(QStringLiteral("("), 64)));
    EXPECT_TRUE(CCalcFD::CheckExpression(nested(QStringLiteral("sqrt("), 64)));
    EXPECT_FALSE(CCalcFD::CheckCondition(nested(QStringLiteral("("), 65)));
    EXPECT_FALSE(CCalcFD::CheckExpression(nested(QStringLiteral("FD("), 65)));
    EXPECT_FALSE(CCalcFD::CheckCondition(nested(QStringLiteral("(sin("), 200000)));
    // Depth is counted per open level, not per call: long flat texts stay valid.
    QString flat = QStringLiteral("(1)");
    for (int i = 0; i < 5000; ++i)
        flat += QStringLiteral(" + (1)");
    EXPECT_TRUE(CCalcFD::CheckExpression(flat));
}

TEST(CalcFD, ConcurrentEvaluationsKeepTheirOwnState)
{
    const CCalcFD calc(QStringLiteral("FD(0) > 0"), QStringLiteral("FD(0) * 2 + FD(1)"), QStringLiteral("1 / 0"));
    auto run = [&](int seed, bool* allRight) {
        for (int i = 0; i < 2000; ++i) {
            const int x = (i + seed) % 7 - 1;
            const FieldRow row{QString::number(x), QString::number(seed)};
            double v = 0;
            const bool ok = calc.Evaluate(v, &row, nullptr);
            if (ok != (x > 0) || v != (x > 0 ? 2.0 * x + seed : 0.0))
                *allRight = false;
        }
    };
    bool right[4] = {true, true, true, true};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(run, t, &right[t]);
    for (auto& th : threads)
        th.join();
    for (bool r : right)
        EXPECT_TRUE(r);
}

TEST(CalcFD, SerializeStoresFourStringsAndLoadsAllOrNothing)
{
    CCalcFD calc(QStringLiteral("a"), QStringLiteral("b"), QString());
    calc.m_reserved = QStringLiteral("r");
    CArchive ar;
    calc.Serialize(ar);
    EXPECT_EQ(ar.Bytes(), Bytes({0xFF, 0xFE, 0xFF, 1, 'a', 0, 0xFF, 0xFE, 0xFF, 1, 'b', 0, 0xFF, 0xFE, 0xFF, 0,
                                 0xFF, 0xFE, 0xFF, 1, 'r', 0}));
    CCalcFD loaded;
    CArchive in(ar.Bytes());
    loaded.Serialize(in);
    EXPECT_EQ(loaded, calc);

    CCalcFD kept;
    CArchive cut(ar.Bytes().left(ar.Bytes().size() - 1));
    EXPECT_THROW(kept.Serialize(cut), CArchiveError);
    EXPECT_EQ(kept, CCalcFD());
}

TEST(CalcFDForm, ReportsTheFirstFailingText)
{
    EXPECT_FALSE(CheckCalcFD(CCalcFD()));
    const auto cond = CheckCalcFD(CCalcFD(QStringLiteral("1 = 1"), QStringLiteral("x"), QStringLiteral("1")));
    ASSERT_TRUE(cond);
    EXPECT_EQ(cond->exprIndex, 0);
    EXPECT_EQ(cond->message, QStringLiteral("条件式に間違いがあります"));
    EXPECT_EQ(cond->caption, QStringLiteral("入力チェック"));
    // Every FD counts as 1 in the check, so this divides by zero.
    const auto then = CheckCalcFD(CCalcFD(QStringLiteral("1"), QStringLiteral("1 / (FD(3) - 1)"), QStringLiteral("x")));
    ASSERT_TRUE(then);
    EXPECT_EQ(then->exprIndex, 1);
    EXPECT_EQ(then->message, QStringLiteral("数式に間違いがあります"));
    const auto otherwise = CheckCalcFD(CCalcFD(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("FD(0) > 1")));
    ASSERT_TRUE(otherwise);
    EXPECT_EQ(otherwise->exprIndex, 2);
}
