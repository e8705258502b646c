#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>

// Folder of the test sources, for data files under tests/<area>/data/.
inline QString TestDataPath(const QString& relative)
{
    return QStringLiteral(VANTREL_TEST_DATA_DIR "/") + relative;
}

// Bytes from a list of values 0..255, for hand-written file vectors.
inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(values.size()));
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Whole-file helpers for tests that write inputs and inspect outputs.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Readable failure output for Qt strings and byte arrays.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << b.toHex(' ').toStdString(); }
QT_END_NAMESPACE
