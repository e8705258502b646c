#pragma once

#include "pipeline/FieldRow.h"

#include <QStringView>

// Splits a line at commas, double quotes grouping; appends the FDs to out. The line is
// never trimmed, and an unterminated quoted field at the end is dropped.
void SplitLine(QStringView line, FieldRow& out);
