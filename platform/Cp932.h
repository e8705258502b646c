#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Code page 932 (Shift-JIS) conversion through glibc iconv, exact both ways.
// A character that code page 932 cannot represent becomes '?'; a byte sequence that is
// not valid code page 932 becomes U+FFFD.
QByteArray EncodeCp932(QStringView text);
QString DecodeCp932(const QByteArray& bytes);
// The same over raw bytes, for readers that decode slices of a larger buffer.
QString DecodeCp932(const char* data, qsizetype size);
