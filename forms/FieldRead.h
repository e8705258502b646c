#pragma once

#include <QString>

#include <cstdint>

// How every dialog reads its number fields: the whole text must be one number (spaces around
// it allowed), integers must fit their type, reals must be finite. Each reader returns the
// message to show, or an empty string when the value was read; out is written only then.
namespace FieldRead {

inline const QString kInteger = QStringLiteral("整数を入力してください。");
inline const QString kReal = QStringLiteral("数字を入力してください。");
inline const QString kPositive = QStringLiteral("正の整数を入力してください。");

// "%1 から %2 までの整数を入力してください。"
QString RangeMessage(int64_t min, int64_t max);

// Any int32.
QString Int(const QString& text, int32_t& out);
// An integer within [min, max]; a text that is no integer gives the integer message.
QString IntInRange(const QString& text, int64_t min, int64_t max, int64_t& out);
QString IntInRange(const QString& text, int32_t min, int32_t max, int32_t& out);
// A non-negative integer within [min, max]; a text that is no such number gives the positive
// integer message.
QString UnsignedInRange(const QString& text, int64_t min, int64_t max, int64_t& out);
// A finite real number.
QString Real(const QString& text, double& out);

// How fields are filled: "%d" and "%.*g" with precision 15.
QString FormatInt(int64_t value);
QString FormatReal(double value);

} // namespace FieldRead
