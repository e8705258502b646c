#include "pipeline/FieldRow.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

// Layout of the block: this header, then capCount end offsets (16-bit while capText fits in
// 16 bits, else 32-bit), then capText characters (1 byte each, or 2 when wide).
struct RowBlock
{
    uint32_t count;
    uint32_t capCount;
    uint32_t textLen;
    uint32_t capText;
    bool wide;
};

constexpr qsizetype kMaxCapacity = 0x7FFFFFFF;

bool WideOffsets(const RowBlock* s) { return s->capText > 0xFFFF; }
size_t OffsetBytes(const RowBlock* s) { return WideOffsets(s) ? 4 : 2; }

size_t BlockBytes(uint32_t capCount, uint32_t capText, bool wide)
{
    return sizeof(RowBlock) + size_t(capCount) * (capText > 0xFFFF ? 4 : 2) + size_t(capText) * (wide ? 2 : 1);
}

char* OffsetBase(RowBlock* s) { return reinterpret_cast<char*>(s) + sizeof(RowBlock); }
const char* OffsetBase(const RowBlock* s) { return reinterpret_cast<const char*>(s) + sizeof(RowBlock); }
char* TextBase(RowBlock* s) { return OffsetBase(s) + size_t(s->capCount) * OffsetBytes(s); }
const char* TextBase(const RowBlock* s) { return OffsetBase(s) + size_t(s->capCount) * OffsetBytes(s); }
const char16_t* Text16(const RowBlock* s) { return reinterpret_cast<const char16_t*>(TextBase(s)); }
char16_t* Text16(RowBlock* s) { return reinterpret_cast<char16_t*>(TextBase(s)); }
const unsigned char* Text8(const RowBlock* s) { return reinterpret_cast<const unsigned char*>(TextBase(s)); }
unsigned char* Text8(RowBlock* s) { return reinterpret_cast<unsigned char*>(TextBase(s)); }

uint32_t EndOf(const RowBlock* s, uint32_t i)
{
    if (WideOffsets(s))
        return reinterpret_cast<const uint32_t*>(OffsetBase(s))[i];
    return reinterpret_cast<const uint16_t*>(OffsetBase(s))[i];
}

uint32_t BeginOf(const RowBlock* s, uint32_t i) { return i == 0 ? 0 : EndOf(s, i - 1); }

void SetEnd(RowBlock* s, uint32_t i, uint32_t end)
{
    if (WideOffsets(s))
        reinterpret_cast<uint32_t*>(OffsetBase(s))[i] = end;
    else
        reinterpret_cast<uint16_t*>(OffsetBase(s))[i] = static_cast<uint16_t>(end);
}

// Spare room worth giving back: a quarter of the block, beyond malloc's own rounding.
bool TooMuchRoom(size_t used, size_t tight) { return used > tight + tight / 4 + 16; }

bool HasNonLatin1(const char16_t* p, qsizetype n)
{
    char16_t any = 0;
    for (qsizetype i = 0; i < n; ++i)
        any |= p[i];
    return any > 0xFF;
}

// Copies the FDs of src into dst, which is large enough and at least as wide.
void CopyContent(RowBlock* dst, const RowBlock* src)
{
    const uint32_t count = src->count;
    const uint32_t len = src->textLen;
    if (WideOffsets(dst) == WideOffsets(src)) {
        std::memcpy(OffsetBase(dst), OffsetBase(src), size_t(count) * OffsetBytes(src));
    } else {
        for (uint32_t i = 0; i < count; ++i)
            SetEnd(dst, i, EndOf(src, i));
    }
    if (dst->wide == src->wide) {
        std::memcpy(TextBase(dst), TextBase(src), size_t(len) * (src->wide ? 2 : 1));
    } else {
        const unsigned char* from = Text8(src);
        char16_t* to = Text16(dst);
        for (uint32_t i = 0; i < len; ++i)
            to[i] = from[i];
    }
    dst->count = count;
    dst->textLen = len;
}

template <typename Off, typename Ch>
void SplitInto(RowBlock* s, const char16_t* src, qsizetype n, char16_t sep)
{
    Off* off = reinterpret_cast<Off*>(OffsetBase(s)) + s->count;
    Ch* out = reinterpret_cast<Ch*>(TextBase(s));
    uint32_t pos = s->textLen;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c == sep)
            *off++ = static_cast<Off>(pos);
        else
            out[pos++] = static_cast<Ch>(c);
    }
    *off = static_cast<Off>(pos);
}

} // namespace

struct FieldRow::Storage : RowBlock
{
};

FieldRow::Storage* FieldRow::Allocate(qsizetype capCount, qsizetype capText, bool wide)
{
    if (capCount > kMaxCapacity || capText > kMaxCapacity || capCount < 0 || capText < 0)
        throw std::length_error("FieldRow too large");
    const auto cc = static_cast<uint32_t>(capCount);
    const auto ct = static_cast<uint32_t>(capText);
    void* p = ::operator new(BlockBytes(cc, ct, wide));
    return new (p) Storage{{0, cc, 0, ct, wide}};
}

void FieldRow::Release(Storage* s) noexcept
{
    if (s)
        ::operator delete(static_cast<void*>(s));
}

FieldRow::FieldRow() = default;

template <typename List>
void FieldRow::AppendAll(const List& fields)
{
    qsizetype chars = 0;
    bool wide = false;
    for (const QString& f : fields) {
        chars += f.size();
        wide = wide || HasNonLatin1(reinterpret_cast<const char16_t*>(f.utf16()), f.size());
    }
    if (fields.size() == 0)
        return;
    Grow(size() + static_cast<qsizetype>(fields.size()), textLength() + chars, wide || (m_storage && m_storage->wide));
    for (const QString& f : fields)
        append(f);
}

FieldRow::FieldRow(std::initializer_list<QString> fields)
{
    AppendAll(fields);
}

FieldRow::FieldRow(const QStringList& fields)
{
    AppendAll(fields);
}

FieldRow::FieldRow(const FieldRow& other)
{
    const Storage* o = other.m_storage;
    if (!o || o->count == 0)
        return;
    m_storage = Allocate(o->count, o->textLen, o->wide);
    CopyContent(m_storage, o);
}

FieldRow::FieldRow(FieldRow&& other) noexcept : m_storage(other.m_storage)
{
    other.m_storage = nullptr;
}

FieldRow& FieldRow::operator=(const FieldRow& other)
{
    if (this == &other)
        return *this;
    const Storage* o = other.m_storage;
    if (!o || o->count == 0) {
        clear();
        return *this;
    }
    Storage* s = m_storage;
    // A ring store overwrites rows of much the same shape: reuse the block when it fits and
    // wastes little, so that the steady state does not allocate.
    if (s && s->wide == o->wide && s->capCount >= o->count && s->capText >= o->textLen) {
        const size_t used = BlockBytes(s->capCount, s->capText, s->wide);
        const size_t tight = BlockBytes(o->count, o->textLen, o->wide);
        if (!TooMuchRoom(used, tight)) {
            CopyContent(s, o);
            return *this;
        }
    }
    Storage* fresh = Allocate(o->count, o->textLen, o->wide);
    CopyContent(fresh, o);
    Release(m_storage);
    m_storage = fresh;
    return *this;
}

FieldRow& FieldRow::operator=(FieldRow&& other) noexcept
{
    if (this != &other) {
        Release(m_storage);
        m_storage = other.m_storage;
        other.m_storage = nullptr;
    }
    return *this;
}

FieldRow::~FieldRow()
{
    Release(m_storage);
}

qsizetype FieldRow::size() const
{
    return m_storage ? m_storage->count : 0;
}

QString FieldRow::at(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < size());
    const Storage* s = m_storage;
    const uint32_t b = BeginOf(s, static_cast<uint32_t>(i));
    const uint32_t e = EndOf(s, static_cast<uint32_t>(i));
    if (b == e)
        return QString();
    if (s->wide)
        return QString(reinterpret_cast<const QChar*>(Text16(s) + b), e - b);
    return QString::fromLatin1(reinterpret_cast<const char*>(Text8(s) + b), e - b);
}

qsizetype FieldRow::textLength() const
{
    return m_storage ? m_storage->textLen : 0;
}

qsizetype FieldRow::fieldLength(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < size());
    return EndOf(m_storage, static_cast<uint32_t>(i)) - BeginOf(m_storage, static_cast<uint32_t>(i));
}

void FieldRow::Grow(qsizetype fields, qsizetype chars, bool wide)
{
    Storage* fresh = Allocate(fields, chars, wide);
    if (m_storage)
        CopyContent(fresh, m_storage);
    Release(m_storage);
    m_storage = fresh;
}

void FieldRow::AppendRaw(const char16_t* text, qsizetype length, bool wide)
{
    Storage* s = m_storage;
    const qsizetype count = size();
    const qsizetype len = s ? s->textLen : 0;
    const bool needWide = wide || (s && s->wide);
    if (!s || s->capCount < count + 1 || s->capText < len + length || (needWide && !s->wide)) {
        // Grow by half so that FD by FD appends stay linear.
        qsizetype capCount = s ? s->capCount : 0;
        qsizetype capText = s ? s->capText : 0;
        if (capCount < count + 1)
            capCount = std::max(count + 1, std::min(kMaxCapacity, capCount + capCount / 2));
        if (capText < len + length)
            capText = std::max(len + length, std::min(kMaxCapacity, capText + capText / 2));
        Grow(capCount, capText, needWide);
        s = m_storage;
    }
    if (length == 0) {
        // a null view has no data pointer
    } else if (s->wide) {
        std::memcpy(Text16(s) + len, text, size_t(length) * 2);
    } else {
        unsigned char* to = Text8(s) + len;
        for (qsizetype i = 0; i < length; ++i)
            to[i] = static_cast<unsigned char>(text[i]);
    }
    s->textLen = static_cast<uint32_t>(len + length);
    SetEnd(s, s->count, s->textLen);
    ++s->count;
}

void FieldRow::append(QStringView field)
{
    const auto* p = reinterpret_cast<const char16_t*>(field.utf16());
    const bool wide = (m_storage && m_storage->wide) ? true : HasNonLatin1(p, field.size());
    AppendRaw(p, field.size(), wide);
}

void FieldRow::appendSeparated(QStringView text, QChar separator)
{
    const auto* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    const char16_t sep = separator.unicode();
    qsizetype seps = 0;
    char16_t any = 0;
    for (qsizetype i = 0; i < n; ++i) {
        seps += p[i] == sep;
        any |= p[i];
    }
    const bool wide = any > 0xFF || (m_storage && m_storage->wide);
    const qsizetype count = size();
    const qsizetype len = m_storage ? m_storage->textLen : 0;
    const qsizetype needCount = count + seps + 1;
    const qsizetype needText = len + n - seps;
    Storage* s = m_storage;
    if (!s || s->capCount < needCount || s->capText < needText || (wide && !s->wide)) {
        Grow(std::max<qsizetype>(needCount, s ? s->capCount : 0),
            std::max<qsizetype>(needText, s ? s->capText : 0), wide);
        s = m_storage;
    }
    if (WideOffsets(s)) {
        if (s->wide)
            SplitInto<uint32_t, char16_t>(s, p, n, sep);
        else
            SplitInto<uint32_t, unsigned char>(s, p, n, sep);
    } else {
        if (s->wide)
            SplitInto<uint16_t, char16_t>(s, p, n, sep);
        else
            SplitInto<uint16_t, unsigned char>(s, p, n, sep);
    }
    s->count = static_cast<uint32_t>(needCount);
    s->textLen = static_cast<uint32_t>(needText);
}

void FieldRow::clear()
{
    Release(m_storage);
    m_storage = nullptr;
}

void FieldRow::reserve(qsizetype fields, qsizetype chars)
{
    const Storage* s = m_storage;
    if (s && s->capCount >= fields && s->capText >= chars)
        return;
    Grow(std::max<qsizetype>(fields, s ? s->capCount : 0), std::max<qsizetype>(chars, s ? s->capText : 0),
        s && s->wide);
}

void FieldRow::squeeze()
{
    const Storage* s = m_storage;
    if (!s)
        return;
    if (s->count == 0) {
        clear();
        return;
    }
    if (s->capCount > s->count || s->capText > s->textLen)
        Grow(s->count, s->textLen, s->wide);
}

void FieldRow::squeezeIfSlack()
{
    const Storage* s = m_storage;
    if (!s)
        return;
    const size_t used = BlockBytes(s->capCount, s->capText, s->wide);
    const size_t tight = BlockBytes(s->count, s->textLen, s->wide);
    if (s->count == 0 || TooMuchRoom(used, tight))
        squeeze();
}

QStringList FieldRow::toStringList() const
{
    QStringList out;
    const qsizetype n = size();
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        out.append(at(i));
    return out;
}

QString FieldRow::join(QChar separator) const
{
    const Storage* s = m_storage;
    if (!s || s->count == 0)
        return QString();
    QString out(qsizetype(s->textLen) + s->count - 1, Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    uint32_t b = 0;
    for (uint32_t i = 0; i < s->count; ++i) {
        if (i > 0)
            *to++ = separator.unicode();
        const uint32_t e = EndOf(s, i);
        if (s->wide) {
            std::memcpy(to, Text16(s) + b, size_t(e - b) * 2);
            to += e - b;
        } else {
            for (uint32_t k = b; k < e; ++k)
                *to++ = Text8(s)[k];
        }
        b = e;
    }
    return out;
}

bool FieldRow::operator==(const FieldRow& other) const
{
    const qsizetype n = size();
    if (n != other.size())
        return false;
    if (n == 0)
        return true;
    const Storage* a = m_storage;
    const Storage* b = other.m_storage;
    if (a->textLen != b->textLen)
        return false;
    for (uint32_t i = 0; i < a->count; ++i) {
        if (EndOf(a, i) != EndOf(b, i))
            return false;
    }
    if (a->wide == b->wide)
        return std::memcmp(TextBase(a), TextBase(b), size_t(a->textLen) * (a->wide ? 2 : 1)) == 0;
    const Storage* narrow = a->wide ? b : a;
    const Storage* wide = a->wide ? a : b;
    for (uint32_t i = 0; i < a->textLen; ++i) {
        if (Text8(narrow)[i] != Text16(wide)[i])
            return false;
    }
    return true;
}
