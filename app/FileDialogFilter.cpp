#include "app/FileDialogFilter.h"

#include <QRegularExpression>

namespace {

// "*.*" means every file where the filters come from; for Qt it would demand a dot.
QString NormalizedPattern(QString pattern)
{
    if (pattern.startsWith(u'.'))
        pattern.prepend(u'*');
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

QStringList SplitPatterns(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    QStringList patterns;
    for (const QString& token : text.split(separators, Qt::SkipEmptyParts)) {
        const QString pattern = NormalizedPattern(token);
        if (!patterns.contains(pattern))
            patterns.append(pattern);
    }
    return patterns;
}

QString NameFilter(const QString& description, const QStringList& patterns)
{
    const QString shown = QLatin1Char('(') + patterns.join(u' ') + QLatin1Char(')');
    QString text = description;
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    // A description that already names its patterns gets them in Qt's form, not twice.
    if (text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open >= 0) {
            const QStringList shownThere = SplitPatterns(text.mid(open + 1, text.size() - open - 2));
            if (shownThere == patterns)
                return text.left(open) + shown;
        }
    }
    return text + QLatin1Char(' ') + shown;
}

QString ConcreteExtension(const QString& pattern)
{
    if (!pattern.startsWith(QLatin1String("*.")))
        return QString();
    const QString extension = pattern.mid(2);
    static const QRegularExpression wildcard(QStringLiteral("[*?\\[]"));
    return extension.contains(wildcard) ? QString() : extension;
}

} // namespace

std::vector<FileDialogFilterEntry> ParseFileDialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    std::vector<FileDialogFilterEntry> entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        if (description.isEmpty())
            break; // the "||" that ends the list
        const QStringList patterns = SplitPatterns(i + 1 < parts.size() ? parts.at(i + 1) : QString());
        if (patterns.isEmpty())
            continue;
        entries.push_back({NameFilter(description, patterns), patterns});
    }
    return entries;
}

QString DefaultSuffixFor(const QStringList& patterns, const QString& defaultExtension)
{
    if (defaultExtension.isEmpty())
        return QString();
    QString first;
    for (const QString& pattern : patterns) {
        const QString extension = ConcreteExtension(pattern);
        if (extension.compare(defaultExtension, Qt::CaseInsensitive) == 0)
            return defaultExtension;
        if (first.isEmpty())
            first = extension;
    }
    return first.isEmpty() ? defaultExtension : first;
}
