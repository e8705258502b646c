#include "app/MainFrame.h"
#include "app/VantrelApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

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
    parser.process(qtApp);

    CVantrelApp app;
    CVantrelApp::COptions options;
    options.m_files = parser.positionalArguments();
    options.m_dataFolder = parser.value(dataOption);
    if (!app.InitInstance(options))
        return 1;
    return QApplication::exec();
}
