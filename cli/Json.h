#pragma once

#include <QByteArray>
#include <QStringView>

// Compact JSON text in UTF-8, written by hand so that object keys keep their order.
QByteArray JsonString(QStringView text);
inline QByteArray JsonBool(bool value) { return value ? QByteArrayLiteral("true") : QByteArrayLiteral("false"); }
