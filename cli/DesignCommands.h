#pragma once

#include <QStringList>

// vantrel-cli dump: a document or info file as one JSON object.
int RunDumpCommand(const QStringList& args);
extern const char* const kDumpUsage;

// vantrel-cli pack: the reverse of dump; the output's extension picks the layout.
int RunPackCommand(const QStringList& args);
extern const char* const kPackUsage;
