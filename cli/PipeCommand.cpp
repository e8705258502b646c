#include "cli/HeadlessHost.h"
#include "cli/InputLines.h"
#include "cli/RunCommands.h"

#include "runtime/Main.h"
#include "pipeline/Pacing.h"
#include "runtime/StateFile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

const char* const kPipeUsage =
    "pipe [--save-internal 0|1] [--keep 0|1] [--ring N] [--include P]... [--exclude P]...\n"
    "       [--calc COND THEN ELSE]... [--fdmap FILE] [--capture FILE [--append]] [--state FILE]\n"
    "       [--save-state FILE]   (UTF-8 lines on standard input through the pipeline into one\n"
    "       document; one JSON object per applied record, then the store)";

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
};

int Usage(const char* problem = nullptr)
{
    if (problem)
        std::fprintf(stderr, "vantrel-cli pipe: %s\n", problem);
    std::fprintf(stderr, "usage: vantrel-cli %s\n", kPipeUsage);
    return 2;
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

// Returns 0 when the arguments were understood, else the exit status.
int Parse(const QStringList& args, PipeOptions& o)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const qsizetype left = args.size() - i - 1;
        const auto needs = [&](qsizetype n) { return left >= n; };
        if (a == QLatin1String("--append")) {
            o.append = true;
        } else if (a == QLatin1String("--save-internal") || a == QLatin1String("--keep")) {
            if (!needs(1))
                return Usage("missing value");
            const std::optional<int32_t> flag = Flag(args[++i]);
            if (!flag)
                return Usage("a flag is 0 or 1");
            (a == QLatin1String("--keep") ? o.keep : o.saveInternal) = flag;
        } else if (a == QLatin1String("--ring")) {
            if (!needs(1))
                return Usage("missing value");
            bool ok = false;
            const qlonglong n = args[++i].toLongLong(&ok);
            if (!ok || n < 1 || n > INT32_MAX)
                return Usage("--ring takes a capacity from 1 to 2147483647");
            o.ring = n;
        } else if (a == QLatin1String("--include") || a == QLatin1String("--exclude")) {
            if (!needs(1))
                return Usage("missing value");
            std::optional<QStringList>& list = a == QLatin1String("--include") ? o.include : o.exclude;
            if (!list)
                list.emplace();
            list->append(args[++i]);
        } else if (a == QLatin1String("--calc")) {
            if (!needs(3))
                return Usage("--calc takes COND THEN ELSE");
            const CCalcFD calc(args[i + 1], args[i + 2], args[i + 3]);
            i += 3;
            // What the options dialog would refuse is refused here too.
            if (!CCalcFD::CheckCondition(calc.m_expr[0]) || !CCalcFD::CheckExpression(calc.m_expr[1])
                || !CCalcFD::CheckExpression(calc.m_expr[2]))
                return Usage("invalid computed FD");
            if (!o.calcFDs)
                o.calcFDs.emplace();
            o.calcFDs->push_back(calc);
        } else if (a == QLatin1String("--fdmap") || a == QLatin1String("--capture") || a == QLatin1String("--state")
                   || a == QLatin1String("--save-state")) {
            if (!needs(1))
                return Usage("missing file name");
            QString& target = a == QLatin1String("--fdmap") ? o.fdmap
                : a == QLatin1String("--capture")           ? o.capture
                : a == QLatin1String("--state")             ? o.state
                                                            : o.saveState;
            target = args[++i];
        } else {
            return Usage("unknown option");
        }
    }
    if (o.append && o.capture.isEmpty())
        return Usage("--append needs --capture");
    return 0;
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
    if (const int status = Parse(args, o))
        return status;

    // Declared before the pipeline, which stops its workers on the documents when it goes.
    CHeadlessHost host;
    CJsonRecordWriter writer(stdout);
    CMain main;
    main.m_pApp = &host;

    if (!o.state.isEmpty()) {
        CStateRecord record;
        QString error;
        if (!ReadStateFile(o.state, record, &error))
            return Fail(error);
        ApplyStateRecord(main, std::move(record));
    }
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
    const bool readOk = ReadStandardInputLines([&](const QByteArray& line) { main.PushLine(QString::fromUtf8(line)); });
    // A stop during the replay of kept rows would leave the lines queued.
    WaitPumping([&] { return main.IsReplayDone(); });
    main.StopThreads();

    const QByteArray store = StoreJson(main.m_internalData);
    const bool written = writer.Flush() && std::fwrite(store.constData(), 1, size_t(store.size()), stdout) == size_t(store.size())
        && std::fflush(stdout) == 0;

    int status = 0;
    if (!readOk)
        status = Fail(QStringLiteral("read error on standard input"));
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
