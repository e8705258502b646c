#pragma once

// Faults on disk for tests of the file writers: a full file system, a read-only folder and a
// folder that is really a regular file. Each prepares a target path whose previous content
// is known, so a test can check that a failed save left it alone.

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

enum class DiskFault { FullDisk, ReadOnlyFolder, ParentIsFile };

inline constexpr std::array<DiskFault, 3> kDiskFaults{DiskFault::FullDisk, DiskFault::ReadOnlyFolder,
                                                      DiskFault::ParentIsFile};

inline const char* DiskFaultName(DiskFault fault)
{
    switch (fault) {
    case DiskFault::FullDisk: return "full disk";
    case DiskFault::ReadOnlyFolder: return "read-only folder";
    case DiskFault::ParentIsFile: return "parent is a regular file";
    }
    return "?";
}

// The target is Target(); Previous() is what it holds and must still hold after a failed save
// (nothing for ParentIsFile, where no file can exist). SkipReason() is set when this machine
// cannot make the fault; the fault lasts until Lift() or the end of the scope.
class CDiskFaultScope
{
public:
    CDiskFaultScope(DiskFault fault, const QString& fileName, const QByteArray& previous)
        : m_fault(fault)
    {
        if (!m_dir.isValid()) {
            m_skip = "no temporary folder";
            return;
        }
        m_folder = m_dir.path();
        switch (fault) {
        case DiskFault::FullDisk:
            MakeFull(fileName, previous);
            break;
        case DiskFault::ReadOnlyFolder:
            MakeReadOnly(fileName, previous);
            break;
        case DiskFault::ParentIsFile:
            WriteAll(m_dir.filePath(QStringLiteral("plain")), "not a folder");
            m_folder = m_dir.filePath(QStringLiteral("plain"));
            m_target = m_folder + QLatin1Char('/') + fileName;
            break;
        }
    }

    ~CDiskFaultScope()
    {
        Lift();
        if (m_tmpfs)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    CDiskFaultScope(const CDiskFaultScope&) = delete;
    CDiskFaultScope& operator=(const CDiskFaultScope&) = delete;

    DiskFault Fault() const { return m_fault; }
    const QString& Target() const { return m_target; }
    const QString& Folder() const { return m_folder; }
    const QByteArray& Previous() const { return m_previous; }
    const char* SkipReason() const { return m_skip; }
    // How the fault was made here, for messages.
    const char* How() const { return m_how; }

    // Ends the fault; the files stay.
    void Lift()
    {
        if (m_tmpfs)
            QFile::remove(m_dir.filePath(QStringLiteral("filler")));
        if (m_mounted) {
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
            m_mounted = false;
        }
        if (m_limited) {
            ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
            std::signal(SIGXFSZ, m_oldHandler);
            m_limited = false;
        }
        if (m_chmodded) {
            ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
            m_chmodded = false;
        }
    }

private:
    bool Mount(const char* source, const char* type, unsigned long flags, const char* data)
    {
        return ::mount(source, QFile::encodeName(m_dir.path()).constData(), type, flags, data) == 0;
    }

    void WritePrevious(const QString& fileName, const QByteArray& previous)
    {
        m_target = m_dir.filePath(fileName);
        m_previous = previous;
        WriteAll(m_target, previous);
    }

    void MakeFull(const QString& fileName, const QByteArray& previous)
    {
        // A tiny file system filled up gives the real ENOSPC; where mounting is not allowed
        // a file size limit of zero fails every write the same way (EFBIG).
        m_tmpfs = Mount("tmpfs", "tmpfs", 0, "size=128k");
        WritePrevious(fileName, previous);
        if (m_tmpfs) {
            m_how = "tmpfs filled up";
            QFile filler(m_dir.filePath(QStringLiteral("filler")));
            if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                m_skip = "cannot create the filler file";
                return;
            }
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {
            }
            return;
        }
        m_how = "file size limit 0";
        ::getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        rlimit none = m_oldLimit;
        none.rlim_cur = 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_limited = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
        if (!m_limited)
            m_skip = "cannot limit the file size";
    }

    void MakeReadOnly(const QString& fileName, const QByteArray& previous)
    {
        WritePrevious(fileName, previous);
        const QByteArray path = QFile::encodeName(m_dir.path());
        if (::geteuid() != 0) {
            m_how = "mode 0555";
            m_chmodded = ::chmod(path.constData(), 0555) == 0;
            return;
        }
        // Permission bits do not stop root; a read-only bind mount does.
        m_how = "read-only bind mount";
        if (Mount(path.constData(), nullptr, MS_BIND, nullptr)) {
            m_mounted = true;
            if (Mount(nullptr, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr))
                return;
        }
        m_skip = "running as root without the right to mount: permission bits do not stop root's writes";
    }

    DiskFault m_fault;
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_target;
    QByteArray m_previous;
    const char* m_skip = nullptr;
    const char* m_how = "";
    bool m_tmpfs = false;
    bool m_mounted = false; // read-only bind mount
    bool m_limited = false;
    bool m_chmodded = false;
    rlimit m_oldLimit{};
    void (*m_oldHandler)(int) = SIG_DFL;
};

// Runs body(scope) once per fault, each with a fresh scope. A fault this machine cannot make
// is named in the output and left out.
template <typename Body>
void ForEachDiskFault(const QString& fileName, const QByteArray& previous, Body body)
{
    for (DiskFault fault : kDiskFaults) {
        CDiskFaultScope scope(fault, fileName, previous);
        SCOPED_TRACE(::testing::Message() << DiskFaultName(fault) << " (" << scope.How() << ")");
        if (scope.SkipReason()) {
            std::printf("[   NOTE   ] %s not tested: %s\n", DiskFaultName(fault), scope.SkipReason());
            continue;
        }
        body(scope);
    }
}
