#include "forms/FieldRead.h"

#include "platform/NumberParse.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace FieldRead {

namespace {

bool OnlySpacesFrom(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (!text.at(i).isSpace())
            return false;
    }
    return true;
}

// A decimal integer as the whole text; nullopt for anything else or beyond 64 bits.
std::optional<int64_t> ParseInteger(const QString& text)
{
    const IntegerParseResult r = ParseLong(text, 10);
    if (!r.ok || !OnlySpacesFrom(text, r.end))
        return std::nullopt;
    return int64_t(r.value);
}

bool IsUnsignedText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

QString RangeMessage(int64_t min, int64_t max)
{
    return QStringLiteral("%1 から %2 までの整数を入力してください。").arg(min).arg(max);
}

QString Int(const QString& text, int32_t& out)
{
    const std::optional<int64_t> v = ParseInteger(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX)
        return kInteger;
    out = int32_t(*v);
    return QString();
}

QString IntInRange(const QString& text, int64_t min, int64_t max, int64_t& out)
{
    const std::optional<int64_t> v = ParseInteger(text);
    if (!v)
        return kInteger;
    if (*v < min || *v > max)
        return RangeMessage(min, max);
    out = *v;
    return QString();
}

QString IntInRange(const QString& text, int32_t min, int32_t max, int32_t& out)
{
    int64_t v = 0;
    QString message = IntInRange(text, int64_t(min), int64_t(max), v);
    if (message.isEmpty())
        out = int32_t(v);
    return message;
}

QString UnsignedInRange(const QString& text, int64_t min, int64_t max, int64_t& out)
{
    if (!IsUnsignedText(text))
        return kPositive;
    const std::optional<int64_t> v = ParseInteger(text);
    // Digits beyond 64 bits are surely above any range.
    if (!v || *v < min || *v > max)
        return RangeMessage(min, max);
    out = *v;
    return QString();
}

QString Real(const QString& text, double& out)
{
    const NumberParseResult r = ParseDouble(text);
    if (!r.ok || !OnlySpacesFrom(text, r.end) || !std::isfinite(r.value))
        return kReal;
    out = r.value;
    return QString();
}

QString FormatInt(int64_t value)
{
    return QString::number(value);
}

QString FormatReal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", 15, value);
    return QString::fromLatin1(buffer);
}

} // namespace FieldRead
