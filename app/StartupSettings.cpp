#include "app/StartupSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

Qt::WindowStates ShowStateFromSetting(int show)
{
    switch (show) {
    case 3:
        return Qt::WindowMaximized;
    case 2:
    case 6:
    case 7:
        return Qt::WindowMinimized;
    default:
        return Qt::WindowNoState;
    }
}

namespace {

bool IsWritableFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    // A folder can exist and still refuse new files (a system-wide install).
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vantrel-XXXXXX")));
    return probe.open();
}

QString WithSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString PrepareDataFolder(const QString& programFolder, const QString& userFolder)
{
    const QString beside = QDir(programFolder).filePath(QStringLiteral("Data"));
    if (IsWritableFolder(beside))
        return WithSeparator(beside);
    if (!userFolder.isEmpty() && IsWritableFolder(userFolder))
        return WithSeparator(userFolder);
    return QString();
}
