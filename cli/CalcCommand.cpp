#include "cli/FieldCommands.h"
#include "cli/Json.h"

#include "fields/CalcFD.h"
#include "fields/FDInfo.h"
#include "pipeline/FieldRow.h"
#include "platform/SafeFormat.h"

#include <QByteArray>

#include <cstdio>

const char* const kCalcUsage =
    "calc [--fdmap FILE] COND THEN ELSE [FD...]  |  calc --check COND THEN ELSE";

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: vantrel-cli %s\n", kCalcUsage);
    return 2;
}

int Print(const QByteArray& json)
{
    const QByteArray line = json + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Check(const QStringList& texts)
{
    return Print("{\"cond\":" + JsonBool(CCalcFD::CheckCondition(texts[0]))
                 + ",\"then\":" + JsonBool(CCalcFD::CheckExpression(texts[1]))
                 + ",\"else\":" + JsonBool(CCalcFD::CheckExpression(texts[2])) + '}');
}

} // namespace

int RunCalcCommand(const QStringList& args)
{
    if (!args.isEmpty() && args[0] == QLatin1String("--check")) {
        if (args.size() != 4)
            return Usage();
        return Check(args.mid(1));
    }
    const bool withMap = !args.isEmpty() && args[0] == QLatin1String("--fdmap");
    const qsizetype next = withMap ? 2 : 0;
    if (args.size() - next < 3)
        return Usage();
    CFDInfos table;
    QString errorText;
    if (withMap && !table.ReadCsv(args[1], errorText)) {
        std::fprintf(stderr, "vantrel-cli calc: %s\n", errorText.toLocal8Bit().constData());
        return 1;
    }
    const CCalcFD calc(args[next], args[next + 1], args[next + 2]);
    const FieldRow fields(args.mid(next + 3));
    double value = 0.0;
    const bool ok = calc.Evaluate(value, &fields, &table);
    return Print("{\"ok\":" + JsonBool(ok) + ",\"text\":" + JsonString(FormatG(value)) + '}');
}
