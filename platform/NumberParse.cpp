#include "platform/NumberParse.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

// One C locale for the whole process: the parse must not follow the user's LC_NUMERIC.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool IsCSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Characters that can appear inside a number ("0x1.8p3", "-inf", "nan(abc_1)"); the copy
// for the C library stops at the first other one, which also ends the valid prefix.
bool MayBePartOfNumber(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'.'
        || c == u'+' || c == u'-' || c == u'(' || c == u')' || c == u'_';
}

// ASCII copy of the candidate text after the leading white space, in a small inline buffer
// for the usual short field.
class AsciiCopy
{
public:
    AsciiCopy(QStringView text, qsizetype from)
    {
        qsizetype end = from;
        while (end < text.size() && MayBePartOfNumber(text[end].unicode()))
            ++end;
        const qsizetype length = end - from;
        char* out = m_inline;
        if (length >= qsizetype(sizeof m_inline)) {
            m_heap.resize(size_t(length) + 1);
            out = m_heap.data();
        }
        for (qsizetype i = 0; i < length; ++i)
            out[i] = char(text[from + i].unicode());
        out[length] = '\0';
        m_data = out;
    }
    const char* Data() const { return m_data; }

private:
    char m_inline[64];
    std::string m_heap;
    const char* m_data = nullptr;
};

qsizetype SkipSpace(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i].unicode()))
        ++i;
    return i;
}

} // namespace

namespace {

// Runs a C library conversion (strtod_l, strtol_l) on the ASCII copy of the text after its
// leading white space, and reports it the way both results are read.
template <typename Result, typename Convert>
Result ConvertNumber(QStringView text, Convert convert)
{
    Result result;
    const qsizetype start = SkipSpace(text);
    const AsciiCopy copy(text, start);
    char* stop = nullptr;
    const int savedErrno = errno;
    errno = 0;
    const auto value = convert(copy.Data(), &stop);
    const bool outOfRange = errno == ERANGE;
    errno = savedErrno;
    if (stop == copy.Data())
        return result;
    result.value = value;
    result.end = start + (stop - copy.Data());
    result.ok = !outOfRange;
    return result;
}

} // namespace

NumberParseResult ParseDouble(QStringView text)
{
    return ConvertNumber<NumberParseResult>(
        text, [](const char* data, char** stop) { return strtod_l(data, stop, CLocale()); });
}

IntegerParseResult ParseLong(QStringView text, int base)
{
    if (base != 0 && (base < 2 || base > 36))
        return {};
    return ConvertNumber<IntegerParseResult>(
        text, [base](const char* data, char** stop) { return strtol_l(data, stop, base, CLocale()); });
}
