#pragma once

#include <QStringList>

// vantrel-cli split: one JSON array of FDs per line of standard input.
int RunSplitCommand(const QStringList& args);
extern const char* const kSplitUsage;

// vantrel-cli calc: evaluates or checks one computed FD.
int RunCalcCommand(const QStringList& args);
extern const char* const kCalcUsage;
