#include "pipeline/CsvFields.h"

#include <utility>

namespace {

bool IsSpecial(char16_t c)
{
    return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
}

} // namespace

bool CsvFieldNeedsQuotes(QStringView field)
{
    for (QChar c : field) {
        if (IsSpecial(c.unicode()))
            return true;
    }
    return false;
}

void AppendCsvField(QString& out, QStringView field)
{
    if (!CsvFieldNeedsQuotes(field)) {
        out.append(field);
        return;
    }
    out.append(QLatin1Char('"'));
    for (QChar c : field) {
        if (c == u'"')
            out.append(QLatin1Char('"'));
        out.append(c);
    }
    out.append(QLatin1Char('"'));
}

QString JoinCsvFields(const FieldRow& fields)
{
    // Ordinary rows need no quotes: one pass over the plain join tells, since its only
    // commas are then the separators.
    QString joined = fields.join(QLatin1Char(','));
    if (fields.isEmpty())
        return joined;
    qsizetype commas = 0;
    bool special = false;
    for (QChar c : std::as_const(joined)) {
        if (c == u',')
            ++commas;
        else if (IsSpecial(c.unicode()))
            special = true;
    }
    if (!special && commas == fields.size() - 1)
        return joined;

    QString out;
    out.reserve(joined.size() + 16);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(QLatin1Char(','));
        AppendCsvField(out, fields.at(i));
    }
    return out;
}
