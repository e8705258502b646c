#pragma once

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

// The version both programs report.
inline constexpr char kVantrelVersion[] = "1.0";

// Adds -h/--help and -v/--version to a command's parser. Qt's own help option would also
// offer --help-all with options this program does not take.
void AddHelpAndVersion(QCommandLineParser& parser);

// Parses one command's arguments (without the command name). Returns the exit status when
// the command ends here: 0 after --help (usage and options on standard output) or
// --version, 2 after a wrong option (reason and usage on standard error); nothing when
// the command goes on.
std::optional<int> ParseCommand(QCommandLineParser& parser, const char* command, const char* usage,
                                const QStringList& args);

// Wrong arguments: the optional reason, then the usage, on standard error. Returns 2.
int CommandUsageError(const char* command, const char* usage, const char* problem = nullptr);

// An option from Latin-1 literals; with a value name it takes a value.
QCommandLineOption CommandOption(const char* name, const char* help, const char* valueName = nullptr);
