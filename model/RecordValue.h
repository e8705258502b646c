#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class CDocData;
enum class ValueKind : int32_t;

// FD access shared by axes, text displays, plots and bars.

// Text of the design element's FD fdNo in the record, after FD number conversion through
// the record's conversion list (none: identity); nullopt when the record has no such FD.
std::optional<QString> MappedFdText(const CDocData& record, int32_t fdNo);

// An FD text read as a number, strtod-like: leading blanks skipped, the longest numeric
// prefix converted; nullopt when nothing converts or the value is out of range.
std::optional<double> ParseFdNumber(const QString& text);

// An FD text read as a date and time of the Japanese locale, as an automation date.
std::optional<double> ParseFdDateTime(const QString& text);

// Max keeps the largest finite reading, Min the smallest, any other kind the latest.
double AccumulateValue(ValueKind kind, double current, double reading);
// What a Max or Min accumulation starts from after a reset; other kinds start at plain.
double AccumulationStart(ValueKind kind, double plain);
