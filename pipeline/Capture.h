#pragma once

#include "pipeline/Buffer.h"
#include "pipeline/FieldRow.h"
#include "platform/Progress.h"

#include <QString>
#include <QStringView>

// The text written to the capture file for one accepted line, without its line end:
// the line as received when there are no computed FDs, else the FDs joined with "," and
// quoted where needed (CsvFields.h).
QString CaptureLine(QStringView line, const FieldRow& fields, bool hasCalcFDs);

// Writes every stored row, oldest first, as code page 932 CSV with CR LF, fields quoted
// where needed (CsvFields.h). On failure returns false with the message for the user in
// error, and the file that was there before stays as it was. progress counts rows; when it
// asks to stop, the export is dropped the same way and returns false with error empty.
bool ExportInternalCsv(const CBuffer<FieldRow>& data, const QString& path, QString& error,
                       const ProgressCallback& progress = {});
