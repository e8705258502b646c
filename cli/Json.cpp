#include "cli/Json.h"

QByteArray JsonString(QStringView text)
{
    static const char kHex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(text.size() + 2);
    out.append('"');
    qsizetype plainStart = 0;
    auto flushPlain = [&](qsizetype end) {
        if (end > plainStart)
            out.append(text.mid(plainStart, end - plainStart).toUtf8());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        // A lone surrogate has no UTF-8 form: it travels as an escape.
        if (c >= 0x20 && c != u'"' && c != u'\\' && !QChar::isSurrogate(c))
            continue;
        flushPlain(i);
        plainStart = i + 1;
        switch (c) {
        case u'"': out.append("\\\""); break;
        case u'\\': out.append("\\\\"); break;
        case u'\b': out.append("\\b"); break;
        case u'\f': out.append("\\f"); break;
        case u'\n': out.append("\\n"); break;
        case u'\r': out.append("\\r"); break;
        case u'\t': out.append("\\t"); break;
        default:
            out.append("\\u");
            out.append(kHex[(c >> 12) & 0xF]);
            out.append(kHex[(c >> 8) & 0xF]);
            out.append(kHex[(c >> 4) & 0xF]);
            out.append(kHex[c & 0xF]);
        }
    }
    flushPlain(text.size());
    out.append('"');
    return out;
}
