#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QFileDevice;

// Writes a whole file so that the previous one stays as it was until the new one is
// complete: the bytes go to a temporary beside it and take its place by a rename on Commit.
// A full disk, a failed write or a process killed half-way never leaves half a file behind.
// A target that is not a regular file (a device, a pipe) cannot be replaced and is written
// directly, so that it is never swapped for a regular file.
class CSafeWrite
{
public:
    explicit CSafeWrite(const QString& path);
    ~CSafeWrite(); // an uncommitted write is discarded
    CSafeWrite(const CSafeWrite&) = delete;
    CSafeWrite& operator=(const CSafeWrite&) = delete;

    bool Open(QString* error = nullptr);
    // False on a write error; later writes then fail too and Commit keeps the old file.
    bool Write(const char* data, qint64 size);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    // Replaces the target; false, with the old file kept, when anything failed.
    bool Commit(QString* error = nullptr);
    void Cancel();
    // Why the last operation failed.
    const QString& ErrorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    std::unique_ptr<QFileDevice> m_file;
    bool m_direct = false;
    bool m_failed = false;
};

// The whole file in one go.
bool SafeWriteFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// The file written by writer, which returns false (or throws) to keep the old file.
bool SafeWriteFile(const QString& path, const std::function<bool(CSafeWrite&)>& writer, QString* error = nullptr);
