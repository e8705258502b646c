#include "cli/CommandLine.h"
#include "cli/HeadlessHost.h"
#include "cli/InputLines.h"
#include "cli/RunCommands.h"

#include "runtime/Main.h"
#include "pipeline/Pacing.h"
#include "runtime/StateFile.h"
#include "sources/MqttClient.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

const char* const kPipeUsage =
    "pipe [--save-internal 0|1] [--keep 0|1] [--ring N] [--include P]... [--exclude P]...\n"
    "       [--calc COND THEN ELSE]... [--fdmap FILE] [--capture FILE [--append]] [--state FILE]\n"
    "       [--save-state FILE] [--mqtt URL --count N]   (UTF-8 lines on standard input, or N\n"
    "       MQTT messages, through the pipeline into one document; one JSON object per applied\n"
    "       record, then the store. URL: mqtt://[user@]host[:port]/topic-filter[?qos=1&topic=1],\n"
    "       the password in VANTREL_MQTT_PASSWORD)";

namespace {

struct PipeOptions
{
    std::optional<int32_t> saveInternal;
    std::optional<int32_t> keep;
    std::optional<int64_t> ring;
    std::optional<QStringList> include;
    std::optional<QStringList> exclude;
    std::optional<std::vector<CCalcFD>> calcFDs;
    QString fdmap;
    QString capture;
    bool append = false;
    QString state;
    QString saveState;
    std::optional<CMqttSettings> mqtt;
    int64_t count = 0;
};

int Usage(const char* problem = nullptr)
{
    return CommandUsageError("pipe", kPipeUsage, problem);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "vantrel-cli pipe: %s\n", qUtf8Printable(message));
    return 1;
}

std::optional<int32_t> Flag(const QString& text)
{
    if (text == QLatin1String("0"))
        return 0;
    if (text == QLatin1String("1"))
        return 1;
    return std::nullopt;
}

// --calc takes three values, which the option parser cannot express: the triples are taken
// out first, skipping the values of the other options so that a value "--calc" stays one.
// Returns false when a --calc lacks its values.
bool TakeCalcTriples(const QStringList& args, const QList<QCommandLineOption>& options, QStringList& rest,
                     std::vector<QStringList>& triples)
{
    QStringList valueNames;
    for (const QCommandLineOption& option : options) {
        if (!option.valueName().isEmpty()) {
            for (const QString& name : option.names())
                valueNames.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        }
    }
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--")) {
            rest += args.mid(i);
            break;
        }
        if (a == QLatin1String("--calc")) {
            if (args.size() - i - 1 < 3)
                return false;
            triples.push_back(args.mid(i + 1, 3));
            i += 3;
            continue;
        }
        rest.append(a);
        if (valueNames.contains(a) && i + 1 < args.size())
            rest.append(args[++i]);
    }
    return true;
}

// Returns the exit status when the command ends here (help, version, wrong arguments).
std::optional<int> Parse(const QStringList& args, PipeOptions& o)
{
    const QCommandLineOption saveInternalOption = CommandOption("save-internal", "Keep records in the store (0 or 1).", "0|1");
    const QCommandLineOption keepOption = CommandOption("keep", "Keep the store between runs (0 or 1).", "0|1");
    const QCommandLineOption ringOption = CommandOption("ring", "Ring store of N records.", "N");
    const QCommandLineOption includeOption = CommandOption("include", "Record prefix to take (repeatable).", "P");
    const QCommandLineOption excludeOption = CommandOption("exclude", "Record prefix to skip (repeatable).", "P");
    const QCommandLineOption fdmapOption = CommandOption("fdmap", "FD conversion list (CSV).", "FILE");
    const QCommandLineOption captureOption = CommandOption("capture", "Capture file.", "FILE");
    const QCommandLineOption appendOption = CommandOption("append", "Append to the capture file.");
    const QCommandLineOption stateOption = CommandOption("state", "State file to start from.", "FILE");
    const QCommandLineOption saveStateOption = CommandOption("save-state", "State file to write afterwards.", "FILE");
    const QCommandLineOption mqttOption = CommandOption("mqtt", "Read MQTT messages instead of standard input.", "URL");
    const QCommandLineOption countOption = CommandOption("count", "Messages to read with --mqtt.", "N");
    const QList<QCommandLineOption> options = {saveInternalOption, keepOption,    ringOption,     includeOption,
                                               excludeOption,      fdmapOption,   captureOption,  appendOption,
                                               stateOption,        saveStateOption, mqttOption,   countOption};
    QStringList rest;
    std::vector<QStringList> triples;
    if (!TakeCalcTriples(args, options, rest, triples))
        return Usage("--calc takes COND THEN ELSE");

    QCommandLineParser parser;
    parser.addOptions(options);
    // Shown in the help only: the triples were taken out above.
    const QCommandLineOption calcOption = CommandOption("calc", "Computed FD (repeatable).", "COND THEN ELSE");
    parser.addOption(calcOption);
    if (const std::optional<int> status = ParseCommand(parser, "pipe", kPipeUsage, rest))
        return status;
    if (parser.isSet(calcOption)) // only "--calc=COND" gets here
        return Usage("--calc takes COND THEN ELSE");
    if (!parser.positionalArguments().isEmpty())
        return Usage("unexpected argument");

    for (const QCommandLineOption* flagOption : {&saveInternalOption, &keepOption}) {
        for (const QString& value : parser.values(*flagOption)) {
            const std::optional<int32_t> flag = Flag(value);
            if (!flag)
                return Usage("a flag is 0 or 1");
            (flagOption == &keepOption ? o.keep : o.saveInternal) = flag;
        }
    }
    for (const QString& value : parser.values(ringOption)) {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok || n < 1 || n > INT32_MAX)
            return Usage("--ring takes a capacity from 1 to 2147483647");
        o.ring = n;
    }
    if (parser.isSet(includeOption))
        o.include = parser.values(includeOption);
    if (parser.isSet(excludeOption))
        o.exclude = parser.values(excludeOption);
    for (const QStringList& t : triples) {
        const CCalcFD calc(t[0], t[1], t[2]);
        // What the options dialog would refuse is refused here too.
        if (!CCalcFD::CheckCondition(calc.m_expr[0]) || !CCalcFD::CheckExpression(calc.m_expr[1])
            || !CCalcFD::CheckExpression(calc.m_expr[2]))
            return Usage("invalid computed FD");
        if (!o.calcFDs)
            o.calcFDs.emplace();
        o.calcFDs->push_back(calc);
    }
    o.fdmap = parser.value(fdmapOption);
    o.capture = parser.value(captureOption);
    o.append = parser.isSet(appendOption);
    o.state = parser.value(stateOption);
    o.saveState = parser.value(saveStateOption);
    if (o.append && o.capture.isEmpty())
        return Usage("--append needs --capture");
    if (parser.isSet(mqttOption) != parser.isSet(countOption))
        return Usage("--mqtt and --count go together");
    if (parser.isSet(mqttOption)) {
        CMqttSettings mqtt;
        QString error;
        if (!ParseMqttOption(parser.value(mqttOption), mqtt, &error))
            return Usage(qUtf8Printable(error));
        bool ok = false;
        o.count = parser.value(countOption).toLongLong(&ok);
        if (!ok || o.count < 1)
            return Usage("--count takes a number of messages from 1");
        o.mqtt = mqtt;
    }
    return std::nullopt;
}

QByteArray StoreJson(const CBuffer<FieldRow>& store)
{
    QByteArray out("{\"store\":[");
    for (int64_t i = 0; i < store.GetCount(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(JsonStringArray(store.GetAt(i)));
    }
    out.append("]}\n");
    return out;
}

} // namespace

int RunPipeCommand(const QStringList& args)
{
    PipeOptions o;
    if (const std::optional<int> status = Parse(args, o))
        return *status;

    // Declared before the pipeline, which stops its workers on the documents when it goes.
    CHeadlessHost host;
    CJsonRecordWriter writer(stdout);
    CMain main;
    main.m_pApp = &host;

    if (QString error; !ApplyStateFileOption(main, o.state, error))
        return Fail(error);
    if (o.saveInternal)
        main.m_saveInternal = *o.saveInternal;
    if (o.keep)
        main.m_keepInternal = *o.keep;
    if (o.ring)
        main.ApplyRingOptions(true, *o.ring);
    if (o.include)
        main.m_includePrefixes = *o.include;
    if (o.exclude)
        main.m_excludePrefixes = *o.exclude;
    if (o.calcFDs)
        main.m_calcFDs = *o.calcFDs;
    if (!o.fdmap.isEmpty()) {
        QString error;
        if (!main.m_fdInfos.ReadCsv(o.fdmap, error))
            return Fail(error);
    }

    // Capture runs only into a file named here; a state's own capture flag is kept for
    // the state written afterwards.
    const int32_t savedCaptureFlag = main.m_saveCsv;
    main.m_saveCsv = o.capture.isEmpty() ? 0 : 1;
    if (!o.capture.isEmpty()) {
        main.m_appendCsv = o.append ? 1 : 0;
        QString error;
        if (!main.OpenCaptureFileAt(o.capture, o.append, &error))
            return Fail(error);
    }

    CVantrelDoc& doc = host.NewDocument(0);
    doc.m_notifier = &writer;

    UseHeadlessPacing();

    main.PrepareStoreForRun();
    main.PrepareRun();
    main.StartThreads();
    bool readOk = true;
    QString mqttError;
    if (o.mqtt) {
        // Every message counts, so nothing is dropped under load.
        CMqttClient client(main);
        client.SetBoundedQueue(false);
        client.SetMessageLimit(o.count);
        if (client.Start(*o.mqtt))
            WaitPumping([&] { return client.LineCount() >= o.count || client.HasGivenUp(); });
        if (client.LineCount() < o.count)
            mqttError = client.MessageText();
        client.Stop();
    } else {
        readOk = ReadStandardInputLines([&](const QByteArray& line) { main.PushLine(QString::fromUtf8(line)); });
    }
    // A stop during the replay of kept rows would leave the lines queued.
    WaitPumping([&] { return main.IsReplayDone(); });
    main.StopThreads();

    const QByteArray store = StoreJson(main.m_internalData);
    const bool written = writer.Flush() && std::fwrite(store.constData(), 1, size_t(store.size()), stdout) == size_t(store.size())
        && std::fflush(stdout) == 0;

    int status = 0;
    if (!readOk)
        status = Fail(QStringLiteral("read error on standard input"));
    if (!mqttError.isEmpty())
        status = Fail(mqttError);
    if (!written)
        status = Fail(QStringLiteral("write error on standard output"));
    QString captureError;
    if (main.CaptureFailed(&captureError))
        status = Fail(captureError + QStringLiteral(" (") + o.capture + QLatin1Char(')'));

    if (o.capture.isEmpty())
        main.m_saveCsv = savedCaptureFlag;
    if (!o.saveState.isEmpty() && !SaveState(main, o.saveState))
        status = Fail(QStringLiteral("cannot write the state file ") + o.saveState);
    return status;
}
