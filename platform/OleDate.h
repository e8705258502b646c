#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Automation dates: days since 1899-12-30 00:00, the fraction being the time of day.
// For negative values the fraction counts from that day's midnight in absolute value:
// -1.25 is 1899-12-29 06:00.
struct DateTimeParts
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 6;   // 0 = Sunday
    int dayOfYear = 363; // 0 = 1 January
};

// Broken-down form of an automation date; nullopt for NaN or outside the years 100..9999.
std::optional<DateTimeParts> OleDateToParts(double value);
// nullopt for an impossible date or time (2022/02/30, 25:00).
std::optional<double> PartsToOleDate(const DateTimeParts& parts);

// Reads the date and time texts a user of the Japanese locale types: 2022/11/23, 2022-11-23,
// 2022年11月23日 (two-digit years in 1930..2029), optionally followed (after white space, 'T',
// or directly after 日) by 10:33[:50] or 10時[33分[50秒]], with 午前/午後 or AM/PM; full-width
// digits and separators count as ASCII. A time alone is that time on day 0.
std::optional<double> ParseOleDate(QStringView text);

// strftime with the Japanese locale's texts: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W
// %x %X %y %Y %z %Z %%, each optionally with the '#' flag (no leading zeros; the long date
// for %x and %c). "Invalid DateTime" for NaN or a value outside the years 100..9999, else
// "Format Error" when the pattern is not valid. %z and %Z give the offset and name the
// system's local time zone has at that date and time.
QString FormatOleDate(double value, QStringView pattern);
// Whether every '%' of the pattern starts a conversion FormatOleDate knows.
bool IsOleDatePatternValid(QStringView pattern);
