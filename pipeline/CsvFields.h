#pragma once

#include "pipeline/FieldRow.h"

#include <QString>
#include <QStringView>

// Fields as the program's own CSV files write them, so that SplitLine gives them back: a
// field that holds a comma, a double quote or a line break goes in double quotes with its
// quotes doubled; any other field is written as it is. Two kinds of content still cannot
// come back: a run of two or more quotes (splitting collapses it to one) and a quote right
// before a comma (the quoted field ends there).
bool CsvFieldNeedsQuotes(QStringView field);
void AppendCsvField(QString& out, QStringView field);
// The FDs joined with ",", each as AppendCsvField writes it.
QString JoinCsvFields(const FieldRow& fields);
