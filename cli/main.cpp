#include "cli/Commands.h"
#include "cli/FieldCommands.h"
#include "cli/DesignCommands.h"
#include "cli/RunCommands.h"
#include "cli/RenderCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

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
        {QStringLiteral("split"), {&RunSplitCommand, kSplitUsage}},
    };
    return table;
}

int Usage()
{
    QTextStream err(stderr);
    err << "usage: vantrel-cli COMMAND [ARGS...]\n";
    for (const auto& [name, entry] : CommandTable())
        err << "  " << entry.usage << "\n";
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // Rendering needs fonts, hence a GUI application, without a display.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "render") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return Usage();
    const auto it = CommandTable().find(args.at(1));
    if (it == CommandTable().end())
        return Usage();
    return it->second.run(args.mid(2));
}
