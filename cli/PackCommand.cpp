#include "cli/CommandLine.h"
#include "cli/DesignCommands.h"
#include "cli/DesignJson.h"
#include "cli/JsonReader.h"
#include "cli/StateJson.h"

#include "model/DocumentFiles.h"

#include <QFile>

#include <cstdio>

const char* const kPackUsage = "pack JSON OUT   (writes a .t1/.t2 document or a .vnf info file from dump's JSON; JSON - reads standard input)";

namespace {

bool ReadInput(const QString& path, QByteArray& bytes, QString* error)
{
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                     : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int RunPackCommand(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("JSON"), QStringLiteral("dump's JSON; - reads standard input."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("File to write; its extension picks the layout."));
    if (const std::optional<int> status = ParseCommand(parser, "pack", kPackUsage, args))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return CommandUsageError("pack", kPackUsage);
    const QString& input = files.at(0);
    const QString& output = files.at(1);
    if (IsStateFilePath(output))
        return PackStateFile(input, output);
    const DesignFileKind kind = DesignFileKindOf(output);
    if (kind == DesignFileKind::Unknown) {
        std::fprintf(stderr, "vantrel-cli pack: %s: not a .t1, .t2 or .vnf file\n", qUtf8Printable(output));
        return 2;
    }

    QByteArray text;
    QString error;
    if (!ReadInput(input, text, &error)) {
        std::fprintf(stderr, "vantrel-cli pack: %s: %s\n", qUtf8Printable(input), qUtf8Printable(error));
        return 1;
    }
    CJsonValue json;
    if (!ParseJson(text, json, &error)) {
        std::fprintf(stderr, "vantrel-cli pack: %s: %s\n", qUtf8Printable(input), qUtf8Printable(error));
        return 1;
    }

    QByteArray bytes;
    bool ok = false;
    if (kind == DesignFileKind::Document) {
        CDocumentContent content;
        ok = DocumentFromJson(json, content, &error);
        if (ok)
            bytes = DocumentBytes(content);
    } else {
        CDesignLists design;
        ok = InfoFromJson(json, design, &error);
        if (ok)
            bytes = InfoBytes(design);
    }
    if (!ok) {
        std::fprintf(stderr, "vantrel-cli pack: %s: %s\n", qUtf8Printable(input), qUtf8Printable(error));
        return 1;
    }
    if (!WriteDesignFile(output, bytes, &error)) {
        std::fprintf(stderr, "vantrel-cli pack: %s: %s\n", qUtf8Printable(output), qUtf8Printable(error));
        return 1;
    }
    return 0;
}
