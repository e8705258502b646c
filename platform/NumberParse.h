#pragma once

#include <QStringView>

// strtod / strtol in the C locale over UTF-16 text. Leading white space (space, tab, LF,
// VT, FF, CR) is skipped, the longest valid prefix is converted and the rest ignored; a
// character outside ASCII ends the number.
struct NumberParseResult
{
    double value = 0.0;  // what strtod would return (HUGE_VAL on overflow)
    qsizetype end = 0;   // index after the converted text; 0 when nothing was converted
    bool ok = false;     // false when nothing was converted, or on overflow or underflow
};

NumberParseResult ParseDouble(QStringView text);

struct IntegerParseResult
{
    long value = 0;
    qsizetype end = 0;
    bool ok = false; // false when nothing was converted or on overflow
};

// base as for strtol (0 or 2..36); any other base fails.
IntegerParseResult ParseLong(QStringView text, int base = 10);
