// A data line through splitting and the main worker's processing, with two computed FDs.

#include "fuzz/FuzzSupport.h"
#include "pipeline/SplitLine.h"
#include "runtime/Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CMain* main = [] {
        auto* m = new CMain;
        m->m_saveInternal = 1;
        m->m_keepInternal = 1;
        m->m_fdInfos.m_entries = {CFDInfo(1), CFDInfo(0), CFDInfo(2)};
        // The second one reads the first one's value (FD 3 of a three-field line).
        m->m_calcFDs = {CCalcFD(QStringLiteral("FD(0)>FD(1)"), QStringLiteral("FD(0)/FD(2)"),
                                QStringLiteral("sqrt(FD(1))")),
                        CCalcFD(QStringLiteral("FD(3)!=0"), QStringLiteral("FD(3)*FD(2)+1"), QStringLiteral("-1"))};
        return m;
    }();
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FieldRow split;
    SplitLine(line, split);
    main->m_internalData.RemoveAll();
    main->ProcessLine(line);
    fuzz::Check(main->m_internalData.GetCount() == 1, "a processed line was not stored");
    fuzz::Check(main->m_internalData.GetAt(0).size() == split.size() + 2, "a computed FD is missing from the record");
    return 0;
}
