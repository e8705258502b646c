#pragma once

#include <QStringList>

// vantrel-cli pipe: standard input through the pipeline into one headless document.
int RunPipeCommand(const QStringList& args);
extern const char* const kPipeUsage;
