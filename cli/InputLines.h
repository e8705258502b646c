#pragma once

#include <QByteArray>

#include <functional>

// Hands each line of standard input to onLine as raw bytes. Only LF ends a line: a CR before
// it stays in the line, and a final LF does not start another one. False on a read error.
bool ReadStandardInputLines(const std::function<void(const QByteArray&)>& onLine);

class CMain;

// Waits while the pipeline's queue holds more lines than a file reader should read ahead of
// it, so that a large file stays in the file; false when stop() said to give up.
bool WaitForQueueRoom(CMain& main, const std::function<bool()>& stop = {});

// Headless runs: no pauses after work, short idle pauses so that a slow producer does not
// make the waiting workers spin.
void UseHeadlessPacing();
