#include "cli/InputLines.h"

#include "pipeline/Pacing.h"
#include "runtime/Main.h"

#include <cstdio>

bool ReadStandardInputLines(const std::function<void(const QByteArray&)>& onLine)
{
    QByteArray pending;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        qsizetype start = 0;
        for (size_t i = 0; i < got; ++i) {
            if (chunk[i] != '\n')
                continue;
            pending.append(chunk + start, static_cast<qsizetype>(i) - start);
            onLine(pending);
            pending.clear();
            start = static_cast<qsizetype>(i) + 1;
        }
        pending.append(chunk + start, static_cast<qsizetype>(got) - start);
    }
    if (!pending.isEmpty())
        onLine(pending);
    return !std::ferror(stdin);
}

void UseHeadlessPacing()
{
    CPacing pacing = CPacing::Unpaced();
    pacing.idleUs = 50;
    pacing.feedIdleUs = 50;
    SetPacing(pacing);
}

bool WaitForQueueRoom(CMain& main, const std::function<bool()>& stop)
{
    // Lines read ahead of the pipeline; the rest wait in the file.
    constexpr size_t kMaxQueuedLines = 4096;
    for (;;) {
        {
            std::lock_guard lock(main.m_queueLock);
            if (main.m_lineQueue.size() < kMaxQueuedLines)
                return true;
        }
        if (stop && stop())
            return false;
        PauseUs(200);
    }
}
