// A chunk received by the TCP line server, turned into a line.

#include "fuzz/FuzzSupport.h"
#include "sources/LineServer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString line = LineFromChunk(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The line ends at the first zero byte.
    fuzz::Check(!line.contains(QChar(0)), "a line holds a zero character");
    fuzz::Check(line.size() <= static_cast<qsizetype>(size), "a line is longer than its chunk");
    return 0;
}
