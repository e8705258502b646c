#include "pipeline/SplitLine.h"

#include <QVarLengthArray>

namespace {

// Collapses every run of double quotes to one quote, as the doubled-quote escape does
// when applied until no pair is left.
void AppendUnescaped(FieldRow& out, QStringView field)
{
    if (!field.contains(QLatin1StringView("\"\""))) {
        out.append(field);
        return;
    }
    QVarLengthArray<QChar, 256> buf;
    buf.reserve(field.size());
    QChar prev;
    for (QChar c : field) {
        if (c == u'"' && prev == u'"')
            continue;
        buf.append(c);
        prev = c;
    }
    out.append(QStringView(buf.constData(), buf.size()));
}

} // namespace

void SplitLine(QStringView line, FieldRow& out)
{
    // Without a quote every field is the plain text between commas.
    if (!line.contains(u'"')) {
        out.appendSeparated(line, QLatin1Char(','));
        return;
    }

    // A quoted field that runs over commas is always one contiguous slice of the line, so
    // the field being assembled is tracked as the range [start, end).
    const qsizetype n = line.size();
    out.reserve(out.size() + line.count(u',') + 1, out.textLength() + n);
    qsizetype start = 0;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype c = pos < n ? line.indexOf(u',', pos) : -1;
        const bool more = c >= 0;
        QStringView acc = line.sliced(start, (more ? c : n) - start);
        if (acc.startsWith(u'"')) {
            if (acc.size() > 1 && acc.endsWith(u'"')) {
                acc = acc.sliced(1, acc.size() - 2);
            } else if (more) {
                pos = c + 1; // the comma belongs to the quoted field
                continue;
            } else {
                break; // unterminated quoted field at the end: dropped
            }
        }
        AppendUnescaped(out, acc);
        if (!more)
            break;
        pos = c + 1;
        start = pos;
    }
    // Quoted commas and quotes leave room the row does not need; stored rows stay tight.
    out.squeezeIfSlack();
}
