#include "cli/CommandLine.h"
#include "cli/HeadlessDisplay.h"
#include "cli/InputLines.h"
#include "cli/RenderCommands.h"

#include "platform/TextFile.h"
#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "sources/LiveWebServer.h"
#include "sources/MqttClient.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <optional>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

const char* const kServeUsage =
    "serve DOC --http [ADDR:]PORT [--token TOKEN] [--tcp] [--mqtt URL] [--csv FILE [--rate N]]\n"
    "       [--state FILE] [--view scroll|stretch] [--size WxH] [--fps N]\n"
    "       (runs the document's display headless, fed by TCP lines on port 57077, MQTT\n"
    "       messages or a code page 932 CSV file played at N lines per second, and serves it\n"
    "       read-only to browsers until interrupted; the loopback unless ADDR is given, and\n"
    "       then only with the token, which is made up and printed when not given)";

namespace {

constexpr int32_t kDefaultCsvRate = 20;

struct ServeOptions
{
    QString document;
    CWebAccess access;
    bool tokenGiven = false;
    bool tcp = false;
    std::optional<CMqttSettings> mqtt;
    QString csv;
    int32_t rate = kDefaultCsvRate;
    QString state;
    std::optional<ViewKind> view;
    QSize size = kDefaultHeadlessClient;
    int32_t fps = CLiveWebServer::kDefaultFramesPerSecond;
};

int Usage(const char* problem)
{
    return CommandUsageError("serve", kServeUsage, problem);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "vantrel-cli serve: %s\n", qUtf8Printable(message));
    return 1;
}

std::optional<int32_t> PositiveNumber(const QString& text, int32_t min, int32_t max)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= min && n <= max ? std::optional<int32_t>(n) : std::nullopt;
}

// Returns the exit status when the command ends here (help, version, wrong arguments).
std::optional<int> Parse(const QStringList& args, ServeOptions& o)
{
    const QCommandLineOption httpOption = CommandOption("http", "Address and port to serve on (loopback unless ADDR).", "[ADDR:]PORT");
    const QCommandLineOption tokenOption = CommandOption("token", "Token every request must show.", "TOKEN");
    const QCommandLineOption tcpOption = CommandOption("tcp", "Take lines over TCP on port 57077.");
    const QCommandLineOption mqttOption = CommandOption("mqtt", "Take MQTT messages (password in VANTREL_MQTT_PASSWORD).", "URL");
    const QCommandLineOption csvOption = CommandOption("csv", "Code page 932 CSV file to play.", "FILE");
    const QCommandLineOption rateOption = CommandOption("rate", "CSV lines per second (default 20; 0: as fast as taken).", "N");
    const QCommandLineOption stateOption = CommandOption("state", "State file to start from.", "FILE");
    const QCommandLineOption viewOption = CommandOption("view", "View kind: scroll or stretch.", "scroll|stretch");
    const QCommandLineOption sizeOption = CommandOption("size", "Client size of a stretch view (default 1280x800).", "WxH");
    const QCommandLineOption fpsOption = CommandOption("fps", "Most pictures per second pushed to a browser (default 10).", "N");
    QCommandLineParser parser;
    parser.addOptions({httpOption, tokenOption, tcpOption, mqttOption, csvOption, rateOption, stateOption, viewOption,
                       sizeOption, fpsOption});
    parser.addPositionalArgument(QStringLiteral("DOC"), QStringLiteral("Document (.t1, .t2)."));
    if (const std::optional<int> status = ParseCommand(parser, "serve", kServeUsage, args))
        return status;

    const QStringList documents = parser.positionalArguments();
    if (documents.size() != 1)
        return Usage(documents.isEmpty() ? "missing document" : "one document only");
    o.document = documents.front();
    if (!parser.isSet(httpOption))
        return Usage("missing --http");
    if (const std::optional<QString> error = ParseHttpEndpoint(parser.value(httpOption), o.access))
        return Usage(qUtf8Printable(*error));
    o.tokenGiven = parser.isSet(tokenOption);
    o.access.m_token = parser.value(tokenOption);
    if (o.tokenGiven && !IsValidAccessToken(o.access.m_token))
        return Usage("a token is 8 to 128 letters, digits, '-', '_' or '.'");
    o.tcp = parser.isSet(tcpOption);
    if (parser.isSet(mqttOption)) {
        CMqttSettings mqtt;
        QString error;
        if (!ParseMqttOption(parser.value(mqttOption), mqtt, &error))
            return Usage(qUtf8Printable(error));
        o.mqtt = mqtt;
    }
    o.csv = parser.value(csvOption);
    if (parser.isSet(rateOption)) {
        const std::optional<int32_t> rate = PositiveNumber(parser.value(rateOption), 0, 1000000);
        if (!rate || o.csv.isEmpty())
            return Usage("--rate takes 0 to 1000000 lines per second and goes with --csv");
        o.rate = *rate;
    }
    o.state = parser.value(stateOption);
    if (const char* problem = ReadViewOptions(parser, viewOption, sizeOption, o.view, o.size))
        return Usage(problem);
    if (parser.isSet(fpsOption)) {
        const std::optional<int32_t> fps = PositiveNumber(parser.value(fpsOption), 1, 100);
        if (!fps)
            return Usage("--fps takes 1 to 100 pictures per second");
        o.fps = *fps;
    }
    return std::nullopt;
}

// SIGINT and SIGTERM end the event loop through a socket pair, the one thing a signal
// handler may safely touch.
class CStopSignals
{
public:
    CStopSignals()
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(s_fds[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
        struct sigaction action = {};
        action.sa_handler = [](int) {
            const char byte = 1;
            [[maybe_unused]] const ssize_t n = ::write(s_fds[0], &byte, 1);
        };
        ::sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
    }
    ~CStopSignals()
    {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }

private:
    static inline int s_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Plays the CSV file into the pipeline at a steady rate on a thread of its own.
class CCsvFeed
{
public:
    CCsvFeed(CMain& main, CTextFile& file, int32_t rate)
        : m_main(main), m_file(file), m_rate(rate), m_thread([this] { Run(); }) {}
    ~CCsvFeed()
    {
        {
            std::lock_guard lock(m_lock);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    bool IsPlaying() const { return !m_ended.load(std::memory_order_acquire); }

private:
    void Run()
    {
        using Clock = std::chrono::steady_clock;
        const auto interval = m_rate > 0 ? std::chrono::nanoseconds(1'000'000'000 / m_rate) : Clock::duration::zero();
        auto due = Clock::now();
        QString line;
        while (!Stopping() && m_file.ReadLine(line)) {
            if (!WaitForQueueRoom(m_main, [this] { return Stopping(); }))
                break;
            m_main.PushLine(line);
            due += interval;
            std::unique_lock lock(m_lock);
            if (m_wake.wait_until(lock, due, [this] { return m_stop; }))
                break;
        }
        m_ended.store(true, std::memory_order_release);
    }
    bool Stopping()
    {
        std::lock_guard lock(m_lock);
        return m_stop;
    }

    CMain& m_main;
    CTextFile& m_file;
    const int32_t m_rate;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::atomic<bool> m_ended{false};
    std::thread m_thread;
};

} // namespace

int RunServeCommand(const QStringList& args)
{
    ServeOptions o;
    if (const std::optional<int> status = Parse(args, o))
        return *status;
    const bool tokenMadeUp = o.access.NeedsToken() && o.access.m_token.isEmpty();
    if (tokenMadeUp)
        o.access.m_token = NewAccessToken();

    CHeadlessRun run;
    if (const std::optional<QString> error = run.Open(o.document, o.view, o.size, o.csv, o.state))
        return error->isEmpty() ? 1 : Fail(*error); // an empty error: the host said why
    CMain& main = run.Main();
    CHeadlessView& view = run.View();

    CLineServer lineServer(main);
    std::optional<CMqttClient> mqtt;
    std::unique_ptr<CCsvFeed> csvFeed;
    const auto counts = [&] {
        CLiveCounts c;
        c.m_linesReceived = main.QueuedLines() + main.DiscardedLines();
        {
            std::lock_guard lock(main.m_storeLock);
            c.m_rowsStored = main.m_internalData.GetCount();
        }
        c.m_discardedLines = main.DiscardedLines();
        c.m_connectedSources = lineServer.ConnectionCount() + (mqtt && mqtt->IsConnected() ? 1 : 0)
            + (csvFeed && csvFeed->IsPlaying() ? 1 : 0);
        return c;
    };
    CLiveWebServer server([&view] { return view.GrabOverlay(); }, counts);
    server.SetFramesPerSecond(o.fps);
    QString error;
    if (!server.Start(o.access, &error))
        return Fail(error);
    view.SetRepaintListener([&server] { server.NotifyRepaint(); });
    run.Start(view);

    int status = 0;
    if (o.tcp && !lineServer.Listen())
        status = Fail(QStringLiteral("cannot listen for lines on port %1").arg(kLineServerPort));
    if (status == 0 && o.mqtt) {
        mqtt.emplace(main);
        if (!mqtt->Start(*o.mqtt))
            status = Fail(mqtt->MessageText());
    }
    if (status == 0) {
        // Before the address is printed: whoever read it may stop the server at once.
        CStopSignals stopSignals;
        if (run.Csv().IsOpen())
            csvFeed = std::make_unique<CCsvFeed>(main, run.Csv(), o.rate);
        std::printf("Serving %s at %s\n", qUtf8Printable(o.document), qUtf8Printable(server.Access().ViewerUrl()));
        if (tokenMadeUp)
            std::printf("Token (made up for this run): %s\n", qUtf8Printable(o.access.m_token));
        std::fflush(stdout);
        QCoreApplication::exec();
    }

    csvFeed.reset();
    if (mqtt)
        mqtt->Stop();
    lineServer.Close();
    run.Stop();
    view.SetRepaintListener(nullptr);
    if (status == 0 && run.Csv().IsOpen() && run.Csv().HasError())
        status = Fail(o.csv + QStringLiteral(": read error"));
    return status;
}
