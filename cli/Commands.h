#pragma once

#include <QStringList>

// Each command takes its arguments (after the command name) and returns the exit status:
// 0 success, 1 failure of the work, 2 wrong arguments.
using CliCommand = int (*)(const QStringList& args);
