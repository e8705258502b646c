#pragma once

// The values of the input options dialog: copies taken from the pipeline when it opens and
// written back only on OK.

#include "fields/CalcFD.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CMain;

struct CInputOptions
{
    bool m_saveInternal = true;
    bool m_keepInternal = true;
    bool m_ring = false;
    int64_t m_capacity = 100;
    bool m_saveCsv = false;
    bool m_appendCsv = true;
    QStringList m_includePrefixes;
    QStringList m_excludePrefixes;
    std::vector<CCalcFD> m_calcFDs;

    bool operator==(const CInputOptions&) const = default;
};

// Bounds of the store's capacity field.
constexpr int64_t kMinCapacity = 1;
constexpr int64_t kMaxCapacity = 2147483647;

CInputOptions InputOptionsOf(const CMain& main);

// Everything but the ring flag and the capacity: the input command applies those to the
// store itself, since new ring settings may re-arrange the kept rows.
void WriteInputOptions(const CInputOptions& options, CMain& main);

// List lines of the computed FDs.
QStringList CalcFDLines(const std::vector<CCalcFD>& calcFDs);
