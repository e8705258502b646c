#include "cli/CommandLine.h"
#include "cli/HeadlessDisplay.h"
#include "cli/InputLines.h"
#include "cli/RenderCommands.h"

#include <cstdio>
#include <optional>

const char* const kRenderUsage =
    "render DOC --out PNG [--csv FILE] [--state FILE] [--view scroll|stretch] [--size WxH] [--every N]\n"
    "       (plays a code page 932 CSV file through the pipeline into the document and writes its\n"
    "       view's overlay layer; --every N also writes PNG-000001.png, ... after every N records)";

namespace {

struct RenderOptions
{
    QString document;
    QString out;
    QString csv;
    QString state;
    std::optional<ViewKind> view;
    QSize size = kDefaultHeadlessClient;
    int64_t every = 0;
};

int Usage(const char* problem)
{
    return CommandUsageError("render", kRenderUsage, problem);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "vantrel-cli render: %s\n", qUtf8Printable(message));
    return 1;
}

// Returns the exit status when the command ends here (help, version, wrong arguments).
std::optional<int> Parse(const QStringList& args, RenderOptions& o)
{
    const QCommandLineOption outOption = CommandOption("out", "PNG file of the overlay layer.", "PNG");
    const QCommandLineOption csvOption = CommandOption("csv", "Code page 932 CSV file to play.", "FILE");
    const QCommandLineOption stateOption = CommandOption("state", "State file to start from.", "FILE");
    const QCommandLineOption viewOption = CommandOption("view", "View kind: scroll or stretch.", "scroll|stretch");
    const QCommandLineOption sizeOption = CommandOption("size", "Client size of a stretch view (default 1280x800).", "WxH");
    const QCommandLineOption everyOption = CommandOption("every", "Also write a numbered frame after every N records.", "N");
    QCommandLineParser parser;
    parser.addOptions({outOption, csvOption, stateOption, viewOption, sizeOption, everyOption});
    parser.addPositionalArgument(QStringLiteral("DOC"), QStringLiteral("Document (.t1, .t2)."));
    if (const std::optional<int> status = ParseCommand(parser, "render", kRenderUsage, args))
        return status;

    const QStringList documents = parser.positionalArguments();
    if (documents.size() > 1)
        return Usage("one document only");
    if (!documents.isEmpty())
        o.document = documents.front();
    o.out = parser.value(outOption);
    o.csv = parser.value(csvOption);
    o.state = parser.value(stateOption);
    if (const char* problem = ReadViewOptions(parser, viewOption, sizeOption, o.view, o.size))
        return Usage(problem);
    for (const QString& value : parser.values(everyOption)) {
        bool ok = false;
        o.every = value.toLongLong(&ok);
        if (!ok || o.every < 1)
            return Usage("--every takes a positive count");
    }
    if (o.document.isEmpty())
        return Usage("missing document");
    if (o.out.isEmpty())
        return Usage("missing --out");
    return std::nullopt;
}

} // namespace

int RunRenderCommand(const QStringList& args)
{
    RenderOptions o;
    if (const std::optional<int> status = Parse(args, o))
        return *status;

    CHeadlessRun run;
    if (const std::optional<QString> error = run.Open(o.document, o.view, o.size, o.csv, o.state))
        return error->isEmpty() ? 1 : Fail(*error); // an empty error: the host said why
    CHeadlessView& view = run.View();
    view.SetFrames(o.every, o.out);

    run.Start(view);
    CTextFile& csv = run.Csv();
    if (csv.IsOpen()) {
        QString line;
        while (csv.ReadLine(line)) {
            WaitForQueueRoom(run.Main());
            run.Main().PushLine(line);
        }
    }
    run.Stop();
    view.Finish();

    if (csv.IsOpen() && csv.HasError())
        return Fail(o.csv + QStringLiteral(": read error"));
    if (!view.FrameError().isEmpty())
        return Fail(QStringLiteral("cannot write ") + view.FrameError());
    if (!view.WriteOverlay(o.out))
        return Fail(QStringLiteral("cannot write ") + o.out);
    return 0;
}
