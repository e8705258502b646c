#pragma once

#include <QString>
#include <Qt>

// The main window's first show state from the stored "Window"/"show" value: 3 maximised,
// 2, 6 and 7 minimised, anything else (hidden included) normal.
Qt::WindowStates ShowStateFromSetting(int show);

// The folder for the automatic state: "Data" beside the executable when it can be created and
// written, else the per-user application data folder. Empty when neither works. The result
// ends in a separator.
QString PrepareDataFolder(const QString& programFolder, const QString& userFolder);
