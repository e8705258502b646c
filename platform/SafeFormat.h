#pragma once

#include <QString>

// printf-style formatting of a user's format text that can never reach the C library
// unchecked: the format may hold any number of "%%" and exactly one conversion that fits
// the argument (flags, width and precision as digits; e E f F g G a A for a double, s for a
// string). Anything else yields "Format Error". Widths and precisions above 512 are refused.
// For a string, width and precision count UTF-16 code units (a precision never splits a
// surrogate pair) and the '0' flag pads with zeros.
QString SafeFormat(const QString& prefix, const QString& format, double value, const QString& suffix);
QString SafeFormat(const QString& prefix, const QString& format, const QString& value, const QString& suffix);

enum class FormatArgument { Double, String };
bool IsSafeFormat(const QString& format, FormatArgument argument);

// The C library's "%g", as the pipeline appends computed values.
QString FormatG(double value);
