#include "platform/Archive.h"

#include "platform/Cp932.h"
#include "platform/SafeWrite.h"

#include <QFile>
#include <QtEndian>

#include <bit>
#include <cstring>
#include <limits>
#include <string>

static_assert(std::numeric_limits<double>::is_iec559, "archives store IEEE doubles");

namespace {

std::string ErrorWhat(int64_t offset, const QString& reason)
{
    return "archive offset " + std::to_string(offset) + ": " + reason.toStdString();
}

// Marker that announces the UTF-16 string form.
constexpr uint16_t kUnicodeMarker = 0xFFFE;

} // namespace

CArchiveError::CArchiveError(int64_t offset, const QString& reason)
    : std::runtime_error(ErrorWhat(offset, reason))
    , m_offset(offset)
    , m_reason(reason)
{
}

CArchive::CArchive()
    : m_mode(Mode::Store)
{
}

CArchive::CArchive(QByteArray bytes)
    : m_mode(Mode::Load)
    , m_bytes(std::move(bytes))
{
}

CArchive CArchive::LoadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CArchiveError(0, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CArchiveError(0, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return CArchive(std::move(bytes));
}

bool CArchive::SaveFile(const QString& path, QString* error) const
{
    // A failed save leaves the previous file as it was.
    return SafeWriteFile(path, m_bytes, error);
}

// ---- storing ----

void CArchive::WriteBytes(const void* data, int64_t size)
{
    Q_ASSERT(IsStoring());
    if (!IsStoring() || size <= 0)
        return;
    m_bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    m_pos = m_bytes.size();
}

void CArchive::WriteByte(uint8_t v)
{
    WriteBytes(&v, 1);
}

void CArchive::WriteUInt16(uint16_t v)
{
    const uint16_t le = qToLittleEndian(v);
    WriteBytes(&le, sizeof le);
}

void CArchive::WriteUInt32(uint32_t v)
{
    const uint32_t le = qToLittleEndian(v);
    WriteBytes(&le, sizeof le);
}

void CArchive::WriteInt32(int32_t v)
{
    WriteUInt32(static_cast<uint32_t>(v));
}

void CArchive::WriteInt64(int64_t v)
{
    const uint64_t le = qToLittleEndian(static_cast<uint64_t>(v));
    WriteBytes(&le, sizeof le);
}

void CArchive::WriteDouble(double v)
{
    WriteInt64(static_cast<int64_t>(std::bit_cast<uint64_t>(v)));
}

void CArchive::WriteString(const QString& s)
{
    const auto length = static_cast<uint64_t>(s.size());
    WriteByte(0xFF);
    WriteUInt16(kUnicodeMarker);
    if (length < 0xFF) {
        WriteByte(static_cast<uint8_t>(length));
    } else if (length < 0xFFFE) {
        WriteByte(0xFF);
        WriteUInt16(static_cast<uint16_t>(length));
    } else {
        WriteByte(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<uint32_t>(length));
    }
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        WriteBytes(s.utf16(), static_cast<int64_t>(length) * 2);
    } else {
        for (QChar c : s)
            WriteUInt16(c.unicode());
    }
}

// ---- loading ----

void CArchive::Fail(const QString& reason) const
{
    throw CArchiveError(m_pos, reason);
}

void CArchive::Need(int64_t size) const
{
    if (!IsLoading())
        Fail(QStringLiteral("read from a storing archive"));
    if (size < 0)
        Fail(QStringLiteral("negative size %1").arg(size));
    if (size > Remaining())
        Fail(QStringLiteral("truncated: %1 bytes needed, %2 left").arg(size).arg(Remaining()));
}

uint8_t CArchive::ReadByte()
{
    Need(1);
    return static_cast<uint8_t>(m_bytes.constData()[m_pos++]);
}

uint16_t CArchive::ReadUInt16()
{
    Need(2);
    const uint16_t v = qFromLittleEndian<uint16_t>(m_bytes.constData() + m_pos);
    m_pos += 2;
    return v;
}

uint32_t CArchive::ReadUInt32()
{
    Need(4);
    const uint32_t v = qFromLittleEndian<uint32_t>(m_bytes.constData() + m_pos);
    m_pos += 4;
    return v;
}

int32_t CArchive::ReadInt32()
{
    return static_cast<int32_t>(ReadUInt32());
}

int64_t CArchive::ReadInt64()
{
    Need(8);
    const uint64_t v = qFromLittleEndian<uint64_t>(m_bytes.constData() + m_pos);
    m_pos += 8;
    return static_cast<int64_t>(v);
}

double CArchive::ReadDouble()
{
    return std::bit_cast<double>(static_cast<uint64_t>(ReadInt64()));
}

QByteArray CArchive::ReadBytes(int64_t size)
{
    Need(size);
    QByteArray out(m_bytes.constData() + m_pos, static_cast<qsizetype>(size));
    m_pos += size;
    return out;
}

QString CArchive::ReadString()
{
    const int64_t start = m_pos;
    bool unicode = false;
    uint64_t length = ReadByte();
    if (length == 0xFF) {
        uint16_t word = ReadUInt16();
        if (word == kUnicodeMarker) {
            unicode = true;
            length = ReadByte();
            if (length == 0xFF)
                word = ReadUInt16();
        }
        if (length == 0xFF)
            length = word < 0xFFFF ? word : ReadUInt32();
    }

    const int64_t unitBytes = unicode ? 2 : 1;
    if (length > static_cast<uint64_t>(Remaining() / unitBytes)) {
        throw CArchiveError(start,
            QStringLiteral("string of %1 characters does not fit in the %2 bytes left")
                .arg(length)
                .arg(Remaining()));
    }

    const char* data = m_bytes.constData() + m_pos;
    const auto n = static_cast<qsizetype>(length);
    m_pos += n * unitBytes;
    if (!unicode) // older files hold code page 932 bytes
        return DecodeCp932(data, n);

    QString s(n, Qt::Uninitialized);
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(s.data(), data, static_cast<size_t>(n) * 2);
    } else {
        for (qsizetype i = 0; i < n; ++i)
            s[i] = QChar(qFromLittleEndian<uint16_t>(data + 2 * i));
    }
    return s;
}

void CArchive::CheckCountAt(int64_t offset, int64_t count, int64_t minElementBytes) const
{
    // Every element takes at least one byte, so a count can never exceed the bytes left.
    const int64_t unit = minElementBytes < 1 ? 1 : minElementBytes;
    if (count < 0)
        throw CArchiveError(offset, QStringLiteral("negative count %1").arg(count));
    if (count > Remaining() / unit) {
        throw CArchiveError(offset,
            QStringLiteral("count %1 does not fit in the %2 bytes left").arg(count).arg(Remaining()));
    }
}

void CArchive::CheckCount(int64_t count, int64_t minElementBytes) const
{
    CheckCountAt(m_pos, count, minElementBytes);
}

int32_t CArchive::ReadCount(int64_t minElementBytes)
{
    const int64_t start = m_pos;
    const int32_t count = ReadInt32();
    CheckCountAt(start, count, minElementBytes);
    return count;
}
