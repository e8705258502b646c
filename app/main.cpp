#include "app/MainFrame.h"
#include "app/VantrelApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[])
{
    QApplication qtApp(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QApplication::setApplicationName(QString::fromLatin1(kSettingsApplication));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vantrel.svg")));
    // The user interface is Japanese, so Qt's own dialogs speak Japanese too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vantrel: live data displays over a picture."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Documents (.t1, .t2) to open after the saved state."),
                                 QStringLiteral("[FILES...]"));
    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        QStringLiteral("Folder of the automatic state (default: Data beside the program)."),
                                        QStringLiteral("folder"));
    parser.addOption(dataOption);
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
                                       QStringLiteral("Start the TCP input on port 57077 with the options of the saved state."));
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("Start the CSV player on a file and press PLAY once."),
                                       QStringLiteral("file"));
    const QCommandLineOption mqttOption(QStringLiteral("mqtt"),
                                        QStringLiteral("Start the MQTT input: mqtt://[user@]host[:port]/topic-filter"
                                                       "[?qos=1&topic=1&utf8=1] (# and + as written or as %23 and %2B; "
                                                       "the password from VANTREL_MQTT_PASSWORD)."),
                                        QStringLiteral("url"));
    const QCommandLineOption linesOption(QStringLiteral("lines"), QStringLiteral("Lines per PLAY for --csv (default 1)."),
                                         QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption captureOption(QStringLiteral("capture"),
                                           QStringLiteral("Capture file of the run when the saved options capture "
                                                          "(otherwise the file is asked for)."),
                                           QStringLiteral("file"));
    parser.addOptions({tcpOption, csvOption, mqttOption, linesOption, captureOption});
    // process() would end wrong arguments with status 1; a usage error is 2 here, as in vantrel-cli.
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "vantrel: %s\n(vantrel --help lists the options)\n", qUtf8Printable(parser.errorText()));
        return 2;
    }
    parser.process(qtApp); // --help, --help-all and --version: standard output, status 0

    CVantrelApp app;
    CVantrelApp::COptions options;
    options.m_files = parser.positionalArguments();
    options.m_dataFolder = parser.value(dataOption);
    const bool tcp = parser.isSet(tcpOption);
    const bool csv = parser.isSet(csvOption);
    const bool mqtt = parser.isSet(mqttOption);
    bool linesOk = false;
    const int lines = parser.value(linesOption).toInt(&linesOk);
    if (int(tcp) + int(csv) + int(mqtt) > 1) {
        std::fprintf(stderr, "vantrel: --tcp, --csv and --mqtt exclude each other\n");
        return 2;
    }
    if (!linesOk || lines < 1) {
        std::fprintf(stderr, "vantrel: --lines takes 1 to 2147483647\n");
        return 2;
    }
    std::optional<CMqttSettings> mqttSettings;
    if (mqtt) {
        CMqttSettings settings;
        QString error;
        if (!ParseMqttOption(parser.value(mqttOption), settings, &error)) {
            std::fprintf(stderr, "vantrel: --mqtt: %s\n", qUtf8Printable(error));
            return 2;
        }
        mqttSettings = settings;
    }
    options.m_echoMessages = tcp || csv || mqtt;
    if (!app.InitInstance(options))
        return 1;
    // A run that cannot start leaves the application open without one; the reason went to
    // standard error as well.
    if (tcp)
        app.OnTcpInput(false, parser.value(captureOption));
    else if (mqtt)
        app.OnMqttInput(false, parser.value(captureOption), mqttSettings);
    else if (csv)
        app.OnCsvInput(parser.value(csvOption), lines, parser.value(captureOption));
    app.SetEchoMessages(false);
    return QApplication::exec();
}
