#include "cli/CommandLine.h"
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
    return CommandUsageError("calc", kCalcUsage);
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
    QCommandLineParser parser;
    // Field values are often negative numbers: after COND nothing is an option.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption checkOption(QStringLiteral("check"),
                                         QStringLiteral("Only checks the three texts; prints which are valid."));
    const QCommandLineOption mapOption(QStringLiteral("fdmap"), QStringLiteral("FD conversion list (CSV)."),
                                       QStringLiteral("FILE"));
    parser.addOptions({checkOption, mapOption});
    parser.addPositionalArgument(QStringLiteral("COND"), QStringLiteral("Condition."));
    parser.addPositionalArgument(QStringLiteral("THEN"), QStringLiteral("Expression when the condition holds."));
    parser.addPositionalArgument(QStringLiteral("ELSE"), QStringLiteral("Expression otherwise."));
    parser.addPositionalArgument(QStringLiteral("FD"), QStringLiteral("Field values FD(0), FD(1), ..."),
                                 QStringLiteral("[FD...]"));
    if (const std::optional<int> status = ParseCommand(parser, "calc", kCalcUsage, args))
        return *status;
    const QStringList texts = parser.positionalArguments();
    if (parser.isSet(checkOption)) {
        if (texts.size() != 3 || parser.isSet(mapOption))
            return Usage();
        return Check(texts);
    }
    if (texts.size() < 3)
        return Usage();
    CFDInfos table;
    QString errorText;
    if (parser.isSet(mapOption) && !table.ReadCsv(parser.value(mapOption), errorText)) {
        std::fprintf(stderr, "vantrel-cli calc: %s\n", errorText.toLocal8Bit().constData());
        return 1;
    }
    const CCalcFD calc(texts[0], texts[1], texts[2]);
    const FieldRow fields(texts.mid(3));
    double value = 0.0;
    const bool ok = calc.Evaluate(value, &fields, &table);
    return Print("{\"ok\":" + JsonBool(ok) + ",\"text\":" + JsonString(FormatG(value)) + '}');
}
