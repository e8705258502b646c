#include "platform/TextFile.h"

#include "platform/Cp932.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

constexpr qsizetype kReadChunk = 1 << 16;
constexpr size_t kWriteBuffer = 1 << 16;

QString OpenError(const QString& path, int err)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), qt_error_string(err));
}

} // namespace

struct CTextFile::Impl
{
    std::FILE* file = nullptr;
    Mode mode = Mode::Read;
    bool error = false;

    // Read side: bytes read but not yet returned start at begin; bytes from begin up to
    // scanned are known to hold no LF, so long lines are not searched again per chunk.
    QByteArray buffer;
    qsizetype begin = 0;
    qsizetype scanned = 0;
    bool atEnd = false;

    bool Fill();
};

bool CTextFile::Impl::Fill()
{
    if (begin > 0) {
        buffer.remove(0, begin);
        scanned -= begin;
        begin = 0;
    }
    const qsizetype old = buffer.size();
    buffer.resize(old + kReadChunk);
    const size_t got = std::fread(buffer.data() + old, 1, static_cast<size_t>(kReadChunk), file);
    buffer.resize(old + static_cast<qsizetype>(got));
    if (got < static_cast<size_t>(kReadChunk)) {
        atEnd = true;
        if (std::ferror(file))
            error = true;
    }
    return got > 0;
}

CTextFile::CTextFile()
    : m_impl(std::make_unique<Impl>())
{
}

CTextFile::~CTextFile()
{
    Close();
}

bool CTextFile::Open(const QString& path, Mode mode, QString* error)
{
    Close();
    *m_impl = Impl();

    // "e": the descriptor is not inherited by child processes.
    const char* how = mode == Mode::Read ? "rbe" : mode == Mode::Append ? "abe" : "wbe";
    const QByteArray name = QFile::encodeName(path);
    std::FILE* f = std::fopen(name.constData(), how);
    if (!f) {
        if (error)
            *error = OpenError(path, errno);
        return false;
    }
    // A directory opens for reading on Linux and fails only on the first read.
    struct stat st;
    if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        if (error)
            *error = OpenError(path, EISDIR);
        return false;
    }
    if (mode != Mode::Read)
        std::setvbuf(f, nullptr, _IOFBF, kWriteBuffer);
    m_impl->file = f;
    m_impl->mode = mode;
    return true;
}

void CTextFile::Close()
{
    if (!m_impl->file)
        return;
    if (std::fclose(m_impl->file) != 0)
        m_impl->error = true;
    m_impl->file = nullptr;
    m_impl->buffer = QByteArray();
    m_impl->begin = m_impl->scanned = 0;
}

bool CTextFile::IsOpen() const
{
    return m_impl->file != nullptr;
}

bool CTextFile::HasError() const
{
    return m_impl->error;
}

bool CTextFile::ReadLine(QString& line)
{
    Impl& d = *m_impl;
    if (!d.file || d.mode != Mode::Read)
        return false;
    for (;;) {
        const char* base = d.buffer.constData();
        const qsizetype size = d.buffer.size();
        if (const auto* lf = static_cast<const char*>(
                std::memchr(base + d.scanned, '\n', static_cast<size_t>(size - d.scanned)))) {
            const qsizetype end = lf - base;
            qsizetype length = end - d.begin;
            if (length > 0 && base[end - 1] == '\r')
                --length;
            line = DecodeCp932(base + d.begin, length);
            d.begin = d.scanned = end + 1;
            return true;
        }
        d.scanned = size;
        if (d.atEnd || !d.Fill()) {
            if (d.begin == d.buffer.size())
                return false;
            // Last line without a line end; a CR here has no LF after it and stays.
            line = DecodeCp932(d.buffer.constData() + d.begin, d.buffer.size() - d.begin);
            d.begin = d.scanned = d.buffer.size();
            return true;
        }
    }
}

bool CTextFile::WriteString(QStringView text)
{
    Impl& d = *m_impl;
    if (!d.file || d.mode == Mode::Read)
        return false;
    // Code page 932 trail bytes never take the value of LF, so the bytes can be split.
    const QByteArray bytes = EncodeCp932(text);
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p < end) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const size_t length = static_cast<size_t>((lf ? lf : end) - p);
        if (length > 0 && std::fwrite(p, 1, length, d.file) != length)
            break;
        if (!lf) {
            p = end;
            break;
        }
        if (std::fwrite("\r\n", 1, 2, d.file) != 2)
            break;
        p = lf + 1;
    }
    if (p < end) {
        d.error = true;
        return false;
    }
    return true;
}

bool CTextFile::Flush()
{
    Impl& d = *m_impl;
    if (!d.file)
        return false;
    if (d.mode == Mode::Read)
        return true;
    if (std::fflush(d.file) != 0 || std::ferror(d.file)) {
        d.error = true;
        return false;
    }
    return true;
}

QByteArray TextModeBytes(QStringView text)
{
    // Code page 932 trail bytes never take the value of LF.
    QByteArray bytes = EncodeCp932(text);
    return bytes.replace('\n', QByteArrayView("\r\n"));
}
