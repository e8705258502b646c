// Computed FD texts: the two checks and the evaluation over a record. The input is up to four
// lines: condition, then-expression, else-expression, and a data line for the record.

#include "fields/CalcFD.h"
#include "fields/FDInfo.h"
#include "fuzz/FuzzSupport.h"
#include "pipeline/FieldRow.h"
#include "pipeline/SplitLine.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList parts = text.split(QLatin1Char('\n'));
    while (parts.size() < 4)
        parts.append(QString());

    CCalcFD::CheckCondition(parts[0]);
    CCalcFD::CheckExpression(parts[1]);
    CCalcFD::CheckExpression(parts[2]);

    FieldRow fields;
    SplitLine(parts[3], fields);
    CFDInfos table;
    table.m_entries = {CFDInfo(2), CFDInfo(0), CFDInfo(1)};
    const CCalcFD calc(parts[0], parts[1], parts[2]);
    double value = 123.0;
    if (!calc.Evaluate(value, &fields, &table))
        fuzz::Check(value == 0.0, "a failed evaluation left a value");
    value = 123.0;
    if (!calc.Evaluate(value, &fields, nullptr))
        fuzz::Check(value == 0.0, "a failed evaluation left a value");
    return 0;
}
