#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One entry of a chooser filter "desc|pattern|desc|pattern||", in the form Qt's file
// dialog reads: the description ends with the patterns in parentheses.
struct FileDialogFilterEntry
{
    QString nameFilter; // "CSV files (*.csv)"
    QStringList patterns;
};

std::vector<FileDialogFilterEntry> ParseFileDialogFilter(const QString& filter);

// The suffix a typed name without one gets: none without a default extension; otherwise
// the default when the selected filter accepts it, else the filter's first concrete
// extension, else the default.
QString DefaultSuffixFor(const QStringList& patterns, const QString& defaultExtension);
