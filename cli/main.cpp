#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/FieldCommands.h"
#include "cli/DesignCommands.h"
#include "cli/RunCommands.h"
#include "cli/RenderCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

struct CommandEntry
{
    CliCommand run;
    const char* usage;
};

const std::map<QString, CommandEntry>& CommandTable()
{
    static const std::map<QString, CommandEntry> table = {
        {QStringLiteral("calc"), {&RunCalcCommand, kCalcUsage}},
        {QStringLiteral("dump"), {&RunDumpCommand, kDumpUsage}},
        {QStringLiteral("pack"), {&RunPackCommand, kPackUsage}},
        {QStringLiteral("pipe"), {&RunPipeCommand, kPipeUsage}},
        {QStringLiteral("render"), {&RunRenderCommand, kRenderUsage}},
        {QStringLiteral("serve"), {&RunServeCommand, kServeUsage}},
        {QStringLiteral("split"), {&RunSplitCommand, kSplitUsage}},
    };
    return table;
}

QByteArray UsageText()
{
    QByteArray text("usage: vantrel-cli COMMAND [ARGS...]\n");
    for (const auto& [name, entry] : CommandTable())
        text += QByteArray("  ") + entry.usage + '\n';
    text += "(vantrel-cli COMMAND --help explains a command)\n";
    return text;
}

int Usage(const QString& problem = {})
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "vantrel-cli: %s\n", qUtf8Printable(problem));
    std::fputs(UsageText().constData(), stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing needs fonts, hence a GUI application, without a display.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "serve") == 0)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("vantrel-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVantrelVersion));

    // Options before the command are the program's own; the rest belongs to the command.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    AddHelpAndVersion(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return Usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(UsageText().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("vantrel-cli %s\n", kVantrelVersion);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return Usage();
    const auto it = CommandTable().find(args.front());
    if (it == CommandTable().end())
        return Usage(QStringLiteral("unknown command ") + args.front());
    return it->second.run(args.mid(1));
}
