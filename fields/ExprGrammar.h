#pragma once

// Plain C++ interface to the computed-FD grammars, so that the Spirit translation unit
// stays free of Qt headers and is compiled once.

#include <cstdint>
#include <string_view>

enum class ExprGrammarKind { Condition, Expression };

// Reads logical FD number fd (never negative) as a double; false when the field is
// missing or does not hold a number.
struct ExprFieldReader
{
    bool (*read)(const void* context, int32_t fd, double& value);
    const void* context;
};

// Parentheses and function calls nested deeper than this fail the evaluation, so that no
// text can exhaust the parser's stack (a level takes about 2 KB optimised, up to 30 KB in
// a sanitizer build; real expressions nest a few levels).
constexpr int kExprMaxNesting = 64;

// Parses and evaluates text (code page 932 bytes) with one of the two grammars. With no
// reader every FD(n) yields 1 (validation). On failure value is 0 and the result false.
bool EvaluateExprText(std::string_view text, ExprGrammarKind kind, const ExprFieldReader* reader,
                      double& value);
