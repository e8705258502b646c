#include "platform/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

CSafeWrite::CSafeWrite(const QString& path)
    : m_path(path)
{
}

CSafeWrite::~CSafeWrite()
{
    Cancel();
}

bool CSafeWrite::Open(QString* error)
{
    m_file.reset();
    m_failed = false;
    m_error.clear();
    // QFileInfo follows symbolic links, as the rename below does.
    const QFileInfo info(m_path);
    m_direct = info.exists() && !info.isFile() && !info.isDir();
    if (m_direct)
        m_file = std::make_unique<QFile>(m_path);
    else
        m_file = std::make_unique<QSaveFile>(m_path);
    // Unbuffered: QSaveFile's commit does not notice a failed flush of its own buffer and
    // would replace the old file with a short one (a full disk shows only there).
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_file->errorString();
        if (error)
            *error = m_error;
        m_file.reset();
        return false;
    }
    return true;
}

bool CSafeWrite::Write(const char* data, qint64 size)
{
    if (!m_file || m_failed)
        return false;
    while (size > 0) {
        const qint64 written = m_file->write(data, size);
        if (written <= 0) {
            m_failed = true;
            m_error = m_file->errorString();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool CSafeWrite::Commit(QString* error)
{
    if (!m_file) {
        if (error)
            *error = m_error.isEmpty() ? QStringLiteral("%1: not open").arg(m_path) : m_error;
        return false;
    }
    std::unique_ptr<QFileDevice> file = std::move(m_file);
    bool ok = !m_failed && file->error() == QFileDevice::NoError;
    if (m_direct) {
        ok = file->flush() && ok;
        file->close();
        ok = ok && file->error() == QFileDevice::NoError;
    } else {
        auto* save = static_cast<QSaveFile*>(file.get());
        if (!ok)
            save->cancelWriting();
        ok = save->commit() && ok;
    }
    if (!ok) {
        // The first failure says why; a cancelled commit only says it was cancelled.
        if (m_error.isEmpty())
            m_error = file->errorString();
        if (error)
            *error = m_error;
    }
    return ok;
}

void CSafeWrite::Cancel()
{
    if (!m_file)
        return;
    if (!m_direct)
        static_cast<QSaveFile*>(m_file.get())->cancelWriting();
    // Destroying a QSaveFile without commit removes the temporary.
    m_file.reset();
}

bool SafeWriteFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return SafeWriteFile(path, [&](CSafeWrite& file) { return file.Write(bytes); }, error);
}

bool SafeWriteFile(const QString& path, const std::function<bool(CSafeWrite&)>& writer, QString* error)
{
    CSafeWrite file(path);
    if (!file.Open(error))
        return false;
    // An exception from the writer unwinds through the destructor, which drops the temporary.
    if (!writer(file)) {
        file.Cancel();
        if (error)
            *error = file.ErrorString().isEmpty() ? QStringLiteral("%1: write failed").arg(path) : file.ErrorString();
        return false;
    }
    return file.Commit(error);
}
