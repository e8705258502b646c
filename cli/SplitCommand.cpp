#include "cli/CommandLine.h"
#include "cli/FieldCommands.h"
#include "cli/InputLines.h"
#include "cli/Json.h"

#include "pipeline/FieldRow.h"
#include "pipeline/SplitLine.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

const char* const kSplitUsage = "split   (UTF-8 lines on standard input; one JSON array of FDs per line)";

namespace {

void WriteRow(const QByteArray& lineBytes, FieldRow& fields, QByteArray& out)
{
    fields.clear();
    SplitLine(QString::fromUtf8(lineBytes), fields);
    out.clear();
    out.append('[');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(JsonString(fields.at(i)));
    }
    out.append("]\n");
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
}

} // namespace

int RunSplitCommand(const QStringList& args)
{
    QCommandLineParser parser;
    if (const std::optional<int> status = ParseCommand(parser, "split", kSplitUsage, args))
        return *status;
    if (!parser.positionalArguments().isEmpty())
        return CommandUsageError("split", kSplitUsage);
    QByteArray out;
    FieldRow fields;
    const bool readOk = ReadStandardInputLines([&](const QByteArray& line) { WriteRow(line, fields, out); });
    if (!readOk || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vantrel-cli split: read or write error\n");
        return 1;
    }
    return 0;
}
