#include "forms/InputOptionsForm.h"

#include "runtime/Main.h"

CInputOptions InputOptionsOf(const CMain& main)
{
    CInputOptions o;
    o.m_saveInternal = main.m_saveInternal != 0;
    o.m_keepInternal = main.m_keepInternal != 0;
    o.m_ring = main.m_internalData.m_ring != 0;
    o.m_capacity = main.m_internalData.m_maxCount;
    o.m_saveCsv = main.m_saveCsv != 0;
    o.m_appendCsv = main.m_appendCsv != 0;
    o.m_includePrefixes = main.m_includePrefixes;
    o.m_excludePrefixes = main.m_excludePrefixes;
    o.m_calcFDs = main.m_calcFDs;
    return o;
}

void WriteInputOptions(const CInputOptions& options, CMain& main)
{
    main.m_saveInternal = options.m_saveInternal ? 1 : 0;
    main.m_keepInternal = options.m_keepInternal ? 1 : 0;
    main.m_saveCsv = options.m_saveCsv ? 1 : 0;
    main.m_appendCsv = options.m_appendCsv ? 1 : 0;
    main.m_includePrefixes = options.m_includePrefixes;
    main.m_excludePrefixes = options.m_excludePrefixes;
    main.m_calcFDs = options.m_calcFDs;
}

QStringList CalcFDLines(const std::vector<CCalcFD>& calcFDs)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(calcFDs.size()));
    for (const CCalcFD& calc : calcFDs)
        lines.append(calc.GetText());
    return lines;
}
