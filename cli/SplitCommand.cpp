#include "cli/FieldCommands.h"
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
    if (!args.isEmpty()) {
        std::fprintf(stderr, "usage: vantrel-cli %s\n", kSplitUsage);
        return 2;
    }
    // Only LF ends a line: a CR before it stays in the line, and a final LF does not
    // start another one.
    QByteArray pending;
    QByteArray out;
    FieldRow fields;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        qsizetype start = 0;
        for (size_t i = 0; i < got; ++i) {
            if (chunk[i] != '\n')
                continue;
            pending.append(chunk + start, static_cast<qsizetype>(i) - start);
            WriteRow(pending, fields, out);
            pending.clear();
            start = static_cast<qsizetype>(i) + 1;
        }
        pending.append(chunk + start, static_cast<qsizetype>(got) - start);
    }
    if (!pending.isEmpty())
        WriteRow(pending, fields, out);
    if (std::ferror(stdin) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vantrel-cli split: read or write error\n");
        return 1;
    }
    return 0;
}
