// The two computed-FD grammars. Evaluation happens while parsing: every action works on a
// value stack that belongs to the running evaluation. Keep Qt out of this file.

#include "fields/ExprGrammar.h"

#include <boost/container/small_vector.hpp>
#include <boost/spirit/include/qi.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

namespace qi = boost::spirit::qi;
namespace ascii = boost::spirit::ascii;
using qi::unused_type;

struct EvalState
{
    boost::container::small_vector<double, 32> stack;
    const ExprFieldReader* reader = nullptr;
    int depth = 0;
    bool error = false;
};

// The grammars are shared and immutable; the actions find the state of the evaluation
// that runs on their own thread through this pointer.
thread_local EvalState* t_state = nullptr;

void Push(double v)
{
    t_state->stack.push_back(v);
}

bool Pop(double& v)
{
    auto& stack = t_state->stack;
    if (stack.empty())
        return false;
    v = stack.back();
    stack.pop_back();
    return true;
}

// A domain error fails the parse at once and stays recorded, so nothing after it can
// make the evaluation succeed.
void SetError(bool& pass)
{
    t_state->error = true;
    pass = false;
}

// ---- operators and functions: false is a domain error -------------------------------

bool OpAdd(double l, double r, double& out) { out = l + r; return true; }
bool OpSub(double l, double r, double& out) { out = l - r; return true; }
bool OpMul(double l, double r, double& out) { out = l * r; return true; }
bool OpDiv(double l, double r, double& out)
{
    if (r == 0.0)
        return false;
    out = l / r;
    return true;
}
bool OpOr(double l, double r, double& out) { out = (l != 0.0 || r != 0.0) ? 1.0 : 0.0; return true; }
bool OpAnd(double l, double r, double& out) { out = (l != 0.0 && r != 0.0) ? 1.0 : 0.0; return true; }
bool OpEq(double l, double r, double& out) { out = l == r ? 1.0 : 0.0; return true; }
bool OpNe(double l, double r, double& out) { out = l != r ? 1.0 : 0.0; return true; }
bool OpLt(double l, double r, double& out) { out = l < r ? 1.0 : 0.0; return true; }
bool OpGt(double l, double r, double& out) { out = l > r ? 1.0 : 0.0; return true; }
bool OpLe(double l, double r, double& out) { out = l <= r ? 1.0 : 0.0; return true; }
bool OpGe(double l, double r, double& out) { out = l >= r ? 1.0 : 0.0; return true; }

// pow(x, y) is y to the power x: stored expressions rely on that order.
bool FnPow(double x, double y, double& out) { out = std::pow(y, x); return true; }
bool FnAtan2(double x, double y, double& out)
{
    if (x == 0.0 && y == 0.0)
        return false;
    out = std::atan2(x, y);
    return true;
}

bool FnSin(double x, double& out) { out = std::sin(x); return true; }
bool FnCos(double x, double& out) { out = std::cos(x); return true; }
bool FnTan(double x, double& out)
{
    if (std::cos(x) == 0.0)
        return false;
    out = std::tan(x);
    return true;
}
bool FnSqrt(double x, double& out)
{
    if (!(x >= 0.0)) // negative or NaN
        return false;
    out = std::sqrt(x);
    return true;
}
bool FnAsin(double x, double& out) { out = std::asin(std::clamp(x, -1.0, 1.0)); return true; }
bool FnAcos(double x, double& out) { out = std::acos(std::clamp(x, -1.0, 1.0)); return true; }
bool FnAtan(double x, double& out) { out = std::atan(x); return true; }
bool FnLog(double x, double& out)
{
    if (!(x > 0.0))
        return false;
    out = std::log(x);
    return true;
}
bool FnLog10(double x, double& out)
{
    if (!(x > 0.0))
        return false;
    out = std::log10(x);
    return true;
}

bool FnField(double x, double& out)
{
    // Range test first: converting NaN or an out-of-range double to int is undefined.
    if (!(x >= -2147483648.0 && x <= 2147483647.0))
        return false;
    const auto n = static_cast<int32_t>(x);
    if (static_cast<double>(n) != x || n < 0)
        return false;
    const ExprFieldReader* reader = t_state->reader;
    if (!reader) {
        out = 1.0;
        return true;
    }
    return reader->read(reader->context, n, out);
}

// ---- semantic actions ----------------------------------------------------------------

template <bool (*Fn)(double, double, double&)>
void Binary(unused_type, unused_type, bool& pass)
{
    double r = 0.0, l = 0.0, out = 0.0;
    if (!Pop(r) || !Pop(l) || !Fn(l, r, out))
        return SetError(pass);
    Push(out);
}

template <bool (*Fn)(double, double&)>
void Unary(unused_type, unused_type, bool& pass)
{
    double x = 0.0, out = 0.0;
    if (!Pop(x) || !Fn(x, out))
        return SetError(pass);
    Push(out);
}

void PushLiteral(double v)
{
    Push(v);
}

void PushPi(unused_type)
{
    Push(std::numbers::pi);
}

void EnterNesting(unused_type, unused_type, bool& pass)
{
    if (t_state->depth >= kExprMaxNesting) {
        pass = false;
        return;
    }
    ++t_state->depth;
}

void LeaveNesting(unused_type)
{
    --t_state->depth;
}

void UnwindNesting(unused_type, unused_type, bool& pass)
{
    --t_state->depth;
    pass = false;
}

// ---- grammars ----------------------------------------------------------------------

using Iterator = const char*;
using Skipper = ascii::space_type;
using Rule = qi::rule<Iterator, Skipper>;

struct Grammar
{
    explicit Grammar(ExprGrammarKind kind);
    Grammar(const Grammar&) = delete; // rules refer to each other by address
    Grammar& operator=(const Grammar&) = delete;

    Rule condition, andTerm, equality, relation, sum, product, factor, nested;
    const Rule* start = nullptr;
};

Grammar::Grammar(ExprGrammarKind kind)
{
    using qi::lit;
    // Sub-expressions inside a factor are conditions in the condition grammar and sums in
    // the expression grammar, so an expression holds no comparison at any depth.
    Rule& sub = kind == ExprGrammarKind::Condition ? condition : sum;
    start = &sub;

    condition = andTerm >> *(lit("||") >> andTerm)[&Binary<&OpOr>];
    andTerm = equality >> *(lit("&&") >> equality)[&Binary<&OpAnd>];
    equality = relation >> *((lit("==") >> relation)[&Binary<&OpEq>]
                             | (lit("!=") >> relation)[&Binary<&OpNe>]);
    // "<=" and ">=" are reached after "<" and ">" fail on the following "=".
    relation = sum >> *((lit('<') >> sum)[&Binary<&OpLt>]
                        | (lit('>') >> sum)[&Binary<&OpGt>]
                        | (lit("<=") >> sum)[&Binary<&OpLe>]
                        | (lit(">=") >> sum)[&Binary<&OpGe>]);
    sum = product >> *((lit('+') >> product)[&Binary<&OpAdd>]
                       | (lit('-') >> product)[&Binary<&OpSub>]);
    product = factor >> *((lit('*') >> factor)[&Binary<&OpMul>]
                          | (lit('/') >> factor)[&Binary<&OpDiv>]);

    // Counts the open parentheses, balanced on success and on failure.
    nested = qi::eps[&EnterNesting] >> ((sub >> qi::eps[&LeaveNesting]) | qi::eps[&UnwindNesting]);

    // The literal sits in a sequence because the real parser may leave its position
    // advanced when it fails (an overflowing exponent); the sequence restores it.
    factor = (qi::double_[&PushLiteral] >> qi::eps)
        | (lit('(') >> nested >> ')')
        | (lit("FD") >> '(' >> nested >> ')')[&Unary<&FnField>]
        | (lit("sin") >> '(' >> nested >> ')')[&Unary<&FnSin>]
        | (lit("cos") >> '(' >> nested >> ')')[&Unary<&FnCos>]
        | (lit("tan") >> '(' >> nested >> ')')[&Unary<&FnTan>]
        | (lit("sqrt") >> '(' >> nested >> ')')[&Unary<&FnSqrt>]
        // "PI()" ends at its ")": a number right after it is not taken in.
        | (lit("PI") >> '(' >> ')')[&PushPi]
        | (lit("pow") >> '(' >> nested >> ',' >> nested[&Binary<&FnPow>] >> ')')
        | (lit("atan2") >> '(' >> nested >> ',' >> nested >> ')')[&Binary<&FnAtan2>]
        | (lit("asin") >> '(' >> nested >> ')')[&Unary<&FnAsin>]
        | (lit("acos") >> '(' >> nested >> ')')[&Unary<&FnAcos>]
        | (lit("atan") >> '(' >> nested >> ')')[&Unary<&FnAtan>]
        | (lit("log") >> '(' >> nested >> ')')[&Unary<&FnLog>]
        | (lit("log10") >> '(' >> nested >> ')')[&Unary<&FnLog10>];
}

const Grammar& GrammarFor(ExprGrammarKind kind)
{
    static const Grammar condition(ExprGrammarKind::Condition);
    static const Grammar expression(ExprGrammarKind::Expression);
    return kind == ExprGrammarKind::Condition ? condition : expression;
}

class StateScope
{
public:
    explicit StateScope(EvalState& state) : m_saved(t_state) { t_state = &state; }
    ~StateScope() { t_state = m_saved; }
    StateScope(const StateScope&) = delete;
    StateScope& operator=(const StateScope&) = delete;

private:
    EvalState* m_saved;
};

} // namespace

bool EvaluateExprText(std::string_view text, ExprGrammarKind kind, const ExprFieldReader* reader,
                      double& value)
{
    value = 0.0;
    const Grammar& grammar = GrammarFor(kind);
    EvalState state;
    state.reader = reader;
    Iterator first = text.data();
    const Iterator last = first + text.size();
    bool matched = false;
    {
        StateScope scope(state);
        matched = qi::phrase_parse(first, last, *grammar.start, ascii::space);
    }
    // phrase_parse has skipped trailing white space already.
    if (!matched || first != last || state.error || state.stack.empty())
        return false;
    value = state.stack.back();
    return true;
}
