#include "cli/CommandLine.h"

#include <cstdio>

void AddHelpAndVersion(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Shows the version.")));
}

std::optional<int> ParseCommand(QCommandLineParser& parser, const char* command, const char* usage,
                                const QStringList& args)
{
    AddHelpAndVersion(parser);
    if (!parser.parse(QStringList{QStringLiteral("vantrel-cli")} + args)) {
        const QByteArray problem = parser.errorText().toUtf8();
        return CommandUsageError(command, usage, problem.constData());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Qt's text starts with its own usage line, made from argv[0]; ours names the command.
        const QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String("\nOptions:\n"));
        const QByteArray rest = options < 0 ? QByteArray() : text.mid(options).toUtf8();
        std::printf("usage: vantrel-cli %s\n%s", usage, rest.constData());
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("vantrel-cli %s\n", kVantrelVersion);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return std::nullopt;
}

int CommandUsageError(const char* command, const char* usage, const char* problem)
{
    if (problem)
        std::fprintf(stderr, "vantrel-cli %s: %s\n", command, problem);
    std::fprintf(stderr, "usage: vantrel-cli %s\n", usage);
    return 2;
}

QCommandLineOption CommandOption(const char* name, const char* help, const char* valueName)
{
    return valueName ? QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(valueName))
                     : QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help));
}
