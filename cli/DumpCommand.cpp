#include "cli/CommandLine.h"
#include "cli/DesignCommands.h"
#include "cli/DesignJson.h"
#include "cli/StateJson.h"

#include "model/DocumentFiles.h"

#include <cstdio>

const char* const kDumpUsage = "dump FILE   (a .t1/.t2 document, a .vnf info file or a .vnx/Vantrel.dat state file as JSON on standard output)";

int RunDumpCommand(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Document, info or state file."));
    if (const std::optional<int> status = ParseCommand(parser, "dump", kDumpUsage, args))
        return *status;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return CommandUsageError("dump", kDumpUsage);
    const QString& path = files.front();
    if (IsStateFilePath(path))
        return DumpStateFile(path);
    const DesignFileKind kind = DesignFileKindOf(path);
    if (kind == DesignFileKind::Unknown) {
        std::fprintf(stderr, "vantrel-cli dump: %s: not a .t1, .t2 or .vnf file\n", qUtf8Printable(path));
        return 2;
    }

    QByteArray json;
    CFileError error;
    int64_t unread = 0;
    bool ok = false;
    if (kind == DesignFileKind::Document) {
        CDocumentContent content;
        ok = ReadDocumentFile(path, content, &error, &unread);
        if (ok)
            json = DocumentJson(content);
    } else {
        CDesignLists design;
        ok = ReadInfoFile(path, design, &error, &unread);
        if (ok)
            json = InfoJson(design);
    }
    if (!ok) {
        std::fprintf(stderr, "vantrel-cli dump: %s\n", qUtf8Printable(error.Text()));
        return 1;
    }
    // The program reads such files too, so they are shown, with a note about the excess.
    if (unread > 0) {
        std::fprintf(stderr, "vantrel-cli dump: %s: %lld bytes after the design were ignored\n",
                     qUtf8Printable(path), static_cast<long long>(unread));
    }
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vantrel-cli dump: write error\n");
        return 1;
    }
    return 0;
}
