#include "platform/Cp932.h"

#include <QtGlobal>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <iconv.h>

namespace {

// iconv handles keep conversion state, so each thread gets its own pair.
class Converter
{
public:
    Converter(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {
        if (!IsValid()) {
            static std::atomic_bool warned{false};
            if (!warned.exchange(true))
                qWarning("iconv cannot convert between %s and %s", from, to);
        }
    }
    ~Converter()
    {
        if (IsValid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; stops at the first fault and returns its errno (0 when
    // everything was converted).
    int Convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft)
    {
        auto* inPtr = const_cast<char*>(in);
        const size_t r = iconv(m_cd, &inPtr, &inLeft, &out, &outLeft);
        in = inPtr;
        return r == static_cast<size_t>(-1) ? errno : 0;
    }

    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

Converter& Encoder()
{
    thread_local Converter conv("CP932", "UTF-16LE");
    return conv;
}

Converter& Decoder()
{
    thread_local Converter conv("UTF-16LE", "CP932");
    return conv;
}

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "QString is handed to iconv as UTF-16LE");

constexpr uint64_t kHighBits8 = 0x8080808080808080ULL;
constexpr uint64_t kNonAscii16 = 0xFF80FF80FF80FF80ULL;

qsizetype AsciiPrefix(const char* p, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & kHighBits8)
            break;
    }
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80)
        ++i;
    return i;
}

qsizetype AsciiPrefix(const char16_t* p, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & kNonAscii16)
            break;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes to drop for one U+FFFD at an invalid sequence. An unassigned lead and trail pair
// is one character; an ASCII byte after a lead is kept, since it more likely starts the
// next character (a comma, a digit) than belongs to a broken pair.
qsizetype InvalidSequenceLength(const unsigned char* p, const unsigned char* end)
{
    if (IsLeadByte(p[0]) && p + 1 < end && p[1] >= 0x80 && IsTrailByte(p[1]))
        return 2;
    return 1;
}

} // namespace

QByteArray EncodeCp932(QStringView text)
{
    const qsizetype n = text.size();
    const auto* src = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype ascii = AsciiPrefix(src, n);
    if (ascii == n)
        return text.toLatin1();

    // A code unit never takes more than two bytes, and a surrogate pair only one ('?').
    QByteArray out(n * 2, Qt::Uninitialized);
    char* const begin = out.data();
    for (qsizetype i = 0; i < ascii; ++i)
        begin[i] = static_cast<char>(src[i]);

    char* dst = begin + ascii;
    size_t outLeft = static_cast<size_t>(out.size() - ascii);
    const char16_t* p = src + ascii;
    const char16_t* const end = src + n;
    Converter& conv = Encoder();
    if (conv.IsValid())
        conv.Reset();
    while (p < end) {
        if (conv.IsValid()) {
            const char* in = reinterpret_cast<const char*>(p);
            size_t inLeft = static_cast<size_t>(end - p) * 2;
            const int err = conv.Convert(in, inLeft, dst, outLeft);
            p = reinterpret_cast<const char16_t*>(in);
            if (err == 0 || p >= end)
                break;
            if (err != EILSEQ && err != EINVAL) {
                qWarning("CP932 encoding stopped: %s", std::strerror(err));
                break;
            }
        } else if (*p < 0x80) {
            *dst++ = static_cast<char>(*p++);
            --outLeft;
            continue;
        }
        // One code point that code page 932 lacks, or a lone surrogate.
        *dst++ = '?';
        --outLeft;
        p += (IsHighSurrogate(p[0]) && p + 1 < end && IsLowSurrogate(p[1])) ? 2 : 1;
    }
    out.truncate(dst - begin);
    return out;
}

QString DecodeCp932(const char* data, qsizetype size)
{
    if (size <= 0)
        return QString();
    const qsizetype ascii = AsciiPrefix(data, size);
    if (ascii == size)
        return QString::fromLatin1(data, size);

    // Every character, and every U+FFFD, takes at least one byte.
    QString out(size, Qt::Uninitialized);
    auto* const begin = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < ascii; ++i)
        begin[i] = static_cast<unsigned char>(data[i]);

    char16_t* dst = begin + ascii;
    const auto* p = reinterpret_cast<const unsigned char*>(data) + ascii;
    const auto* const end = reinterpret_cast<const unsigned char*>(data) + size;
    Converter& conv = Decoder();
    if (conv.IsValid())
        conv.Reset();
    while (p < end) {
        if (conv.IsValid()) {
            const char* in = reinterpret_cast<const char*>(p);
            size_t inLeft = static_cast<size_t>(end - p);
            char* outPtr = reinterpret_cast<char*>(dst);
            size_t outLeft = static_cast<size_t>(begin + size - dst) * 2;
            const int err = conv.Convert(in, inLeft, outPtr, outLeft);
            p = reinterpret_cast<const unsigned char*>(in);
            dst = reinterpret_cast<char16_t*>(outPtr);
            if (err == 0 || p >= end)
                break;
            if (err != EILSEQ && err != EINVAL) {
                qWarning("CP932 decoding stopped: %s", std::strerror(err));
                break;
            }
        } else if (*p < 0x80) {
            *dst++ = *p++;
            continue;
        }
        *dst++ = 0xFFFD;
        p += InvalidSequenceLength(p, end);
    }
    out.truncate(dst - begin);
    return out;
}

QString DecodeCp932(const QByteArray& bytes)
{
    return DecodeCp932(bytes.constData(), bytes.size());
}
