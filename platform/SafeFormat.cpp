#include "platform/SafeFormat.h"

#include <cstdio>
#include <locale.h>
#include <string>

namespace {

// Larger widths or precisions are refused: a design file could otherwise ask for a
// gigabyte of padding.
constexpr int kMaxField = 512;

struct Conversion
{
    qsizetype start = -1; // index of the '%'
    qsizetype end = -1;   // index after the conversion letter
    bool leftAlign = false;
    bool zeroPad = false;
    int width = -1;
    int precision = -1;
};

// Digits of a width or precision; false when the number exceeds kMaxField.
bool ReadField(const QString& format, qsizetype& i, int& value)
{
    value = 0;
    while (i < format.size() && format[i] >= u'0' && format[i] <= u'9') {
        value = value * 10 + (format[i].unicode() - u'0');
        if (value > kMaxField)
            return false;
        ++i;
    }
    return true;
}

bool FitsArgument(char16_t letter, FormatArgument argument)
{
    if (argument == FormatArgument::String)
        return letter == u's';
    switch (letter) {
    case u'e': case u'E': case u'f': case u'F': case u'g': case u'G': case u'a': case u'A': return true;
    default: return false;
    }
}

// Finds the one consuming conversion; every other '%' must be part of a "%%".
bool ScanFormat(const QString& format, FormatArgument argument, Conversion& found)
{
    found = Conversion();
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            ++i;
            continue;
        }
        if (found.start >= 0)
            return false;
        Conversion c;
        c.start = i++;
        for (; i < format.size(); ++i) {
            const char16_t f = format[i].unicode();
            if (f == u'-')
                c.leftAlign = true;
            else if (f == u'0')
                c.zeroPad = true;
            else if (f != u'+' && f != u' ' && f != u'#')
                break;
        }
        const qsizetype widthStart = i;
        if (!ReadField(format, i, c.width))
            return false;
        if (i == widthStart)
            c.width = -1;
        if (i < format.size() && format[i] == u'.') {
            ++i;
            if (!ReadField(format, i, c.precision))
                return false;
        }
        if (i >= format.size() || !FitsArgument(format[i].unicode(), argument))
            return false;
        c.end = i + 1;
        found = c;
    }
    return found.start >= 0;
}

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

// snprintf of one validated conversion, with '.' as the decimal point whatever the user's
// locale is.
QString PrintDouble(const char* spec, double value)
{
    const locale_t previous = uselocale(CLocale());
    char buffer[128];
    QString out;
    const int length = std::snprintf(buffer, sizeof buffer, spec, value);
    if (length >= 0 && size_t(length) < sizeof buffer) {
        out = QString::fromLatin1(buffer, length);
    } else if (length >= 0) {
        std::string large(size_t(length) + 1, '\0');
        std::snprintf(large.data(), large.size(), spec, value);
        out = QString::fromLatin1(large.data(), length);
    }
    uselocale(previous);
    return out;
}

// %s over UTF-16 code units, as the stored texts count them; a precision never splits a
// surrogate pair. '0' pads with zeros; '+', ' ' and '#' mean nothing for text.
QString PadString(const QString& value, const Conversion& c)
{
    QString text = value;
    if (c.precision >= 0 && text.size() > c.precision) {
        qsizetype keep = c.precision;
        if (keep > 0 && text[keep - 1].isHighSurrogate())
            --keep;
        text.truncate(keep);
    }
    if (c.width > text.size()) {
        const QString padding(c.width - text.size(), c.zeroPad && !c.leftAlign ? u'0' : u' ');
        text = c.leftAlign ? text + padding : padding + text;
    }
    return text;
}

// The literal text of the format around the conversion, with every "%%" made one '%'.
void AppendLiteral(QString& out, const QString& format, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        out += format[i];
        if (format[i] == u'%')
            ++i;
    }
}

template <typename Render>
QString Compose(const QString& prefix, const QString& format, FormatArgument argument, const QString& suffix,
                Render render)
{
    Conversion c;
    if (!ScanFormat(format, argument, c))
        return QStringLiteral("Format Error");
    QString out = prefix;
    AppendLiteral(out, format, 0, c.start);
    out += render(c);
    AppendLiteral(out, format, c.end, format.size());
    out += suffix;
    return out;
}

} // namespace

QString SafeFormat(const QString& prefix, const QString& format, double value, const QString& suffix)
{
    return Compose(prefix, format, FormatArgument::Double, suffix, [&](const Conversion& c) {
        // Only the checked conversion, pure ASCII, reaches the C library.
        const QByteArray spec = format.mid(c.start, c.end - c.start).toLatin1();
        return PrintDouble(spec.constData(), value);
    });
}

QString SafeFormat(const QString& prefix, const QString& format, const QString& value, const QString& suffix)
{
    return Compose(prefix, format, FormatArgument::String, suffix,
                   [&](const Conversion& c) { return PadString(value, c); });
}

bool IsSafeFormat(const QString& format, FormatArgument argument)
{
    Conversion c;
    return ScanFormat(format, argument, c);
}

QString FormatG(double value)
{
    return PrintDouble("%g", value);
}
