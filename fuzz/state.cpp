// The state file (the automatic "Vantrel.dat" and the user's ".vnx") through the restore path.

#include "fuzz/FuzzSupport.h"
#include "platform/Archive.h"
#include "runtime/Main.h"
#include "runtime/StateFile.h"

namespace {

// Storing without a host zeroes the document counts, so they are taken aside first.
QByteArray MainState(CMain& main)
{
    const int32_t templates = main.m_templateCount;
    const std::vector<int32_t> counts = main.m_docCounts;
    CArchive ar;
    main.Serialize(ar);
    main.m_templateCount = templates;
    main.m_docCounts = counts;
    ar.WriteInt32(templates);
    for (int32_t count : counts)
        ar.WriteInt32(count);
    return ar.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteInput(size % 2 ? "Vantrel.dat" : "input.vnx", data, size);
    CMain main;
    main.m_saveCsv = 1;
    main.m_includePrefixes = {QStringLiteral("A")};
    main.m_calcFDs = {CCalcFD(QStringLiteral("FD(0)>1"), QStringLiteral("FD(1)*2"), QStringLiteral("0"))};
    main.m_fdInfos.m_entries = {CFDInfo(2, {QStringLiteral("x")})};
    main.m_internalData.Add(FieldRow{QStringLiteral("1"), QStringLiteral("2")});
    main.m_templateCount = 2;
    main.m_docCounts = {1, 3};
    const QByteArray before = MainState(main);
    if (!RestoreState(main, path)) {
        fuzz::Check(MainState(main) == before, "a failed state read changed the pipeline");
        return 0;
    }
    CArchive ar;
    main.Serialize(ar);
    CArchive back(ar.Bytes());
    CStateRecord record;
    try {
        record.Load(back);
    } catch (const CArchiveError&) {
        fuzz::Fail("a stored state does not read back");
    }
    CArchive again;
    record.Store(again);
    fuzz::Check(again.Bytes() == ar.Bytes(), "a stored state reads back different");
    return 0;
}
