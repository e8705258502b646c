#pragma once

#include "platform/Progress.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <utility>

// Raised by every load operation of CArchive: the file is truncated, malformed, or holds
// an impossible count or length. Carries the byte offset where reading failed.
class CArchiveError : public std::runtime_error
{
public:
    CArchiveError(int64_t offset, const QString& reason);

    int64_t Offset() const { return m_offset; }
    const QString& Reason() const { return m_reason; }

private:
    int64_t m_offset;
    QString m_reason;
};

// Raised through a Serialize when the archive's progress callback asked to stop. Not a
// CArchiveError: a stopped read is no fault of the file.
class CArchiveStopped : public std::runtime_error
{
public:
    CArchiveStopped() : std::runtime_error("stopped") {}
};

// Little-endian binary archive over a byte buffer, in the layout every saved file uses.
// A storing archive appends to its buffer; a loading archive reads from the buffer it was
// given and throws CArchiveError on any fault, before allocating anything large.
class CArchive
{
public:
    enum class Mode { Store, Load };

    CArchive(); // storing, into an empty buffer
    explicit CArchive(QByteArray bytes); // loading

    // Whole-file helpers. Load throws CArchiveError (offset 0) when the file cannot be read.
    static CArchive LoadFile(const QString& path);
    bool SaveFile(const QString& path, QString* error = nullptr) const;

    bool IsStoring() const { return m_mode == Mode::Store; }
    bool IsLoading() const { return m_mode == Mode::Load; }

    const QByteArray& Bytes() const { return m_bytes; }
    int64_t Position() const { return m_pos; } // storing: the bytes written so far
    int64_t Remaining() const { return m_bytes.size() - m_pos; }

    void WriteInt32(int32_t v);
    void WriteUInt32(uint32_t v);
    void WriteUInt16(uint16_t v);
    void WriteInt64(int64_t v);
    void WriteDouble(double v);
    void WriteBool(bool v) { WriteInt32(v ? 1 : 0); }
    void WriteByte(uint8_t v);
    void WriteBytes(const void* data, int64_t size);
    void WriteString(const QString& s);

    int32_t ReadInt32();
    uint32_t ReadUInt32();
    uint16_t ReadUInt16();
    int64_t ReadInt64();
    double ReadDouble();
    uint8_t ReadByte();
    QByteArray ReadBytes(int64_t size);
    QString ReadString();

    // Reads an int32 element count and checks it against the bytes that remain
    // (count x minElementBytes, taken as at least 1); throws on a negative or impossible count.
    int32_t ReadCount(int64_t minElementBytes);
    // The same check for a count obtained elsewhere.
    void CheckCount(int64_t count, int64_t minElementBytes) const;

    [[noreturn]] void Fail(const QString& reason) const;

    // Long element loops (the internal data store) report through this; a callback that
    // returns false ends the Serialize with CArchiveStopped.
    void SetProgress(ProgressCallback progress) { m_progress = std::move(progress); }
    bool HasProgress() const { return static_cast<bool>(m_progress); }
    void Progress(int64_t done, int64_t total)
    {
        if (m_progress && !m_progress(done, total))
            throw CArchiveStopped();
    }

    // Symmetric helpers for Serialize: store writes the value, load reads into it.
    void Exchange(int32_t& v) { IsStoring() ? WriteInt32(v) : void(v = ReadInt32()); }
    void Exchange(uint32_t& v) { IsStoring() ? WriteUInt32(v) : void(v = ReadUInt32()); }
    void Exchange(int64_t& v) { IsStoring() ? WriteInt64(v) : void(v = ReadInt64()); }
    void Exchange(double& v) { IsStoring() ? WriteDouble(v) : void(v = ReadDouble()); }
    void Exchange(uint8_t& v) { IsStoring() ? WriteByte(v) : void(v = ReadByte()); }
    void Exchange(QString& v) { IsStoring() ? WriteString(v) : void(v = ReadString()); }

private:
    void Need(int64_t size) const;
    void CheckCountAt(int64_t offset, int64_t count, int64_t minElementBytes) const;

    Mode m_mode;
    QByteArray m_bytes;
    int64_t m_pos = 0;
    ProgressCallback m_progress;
};

// Storing runs exchange on the object itself; loading runs it on a copy and replaces the
// object only after a complete read, so that a damaged file changes nothing.
template <typename T, typename Exchange>
void ExchangeTransactional(CArchive& ar, T& object, Exchange exchange)
{
    if (ar.IsStoring()) {
        exchange(object);
        return;
    }
    T loaded(object);
    exchange(loaded);
    object = std::move(loaded);
}
