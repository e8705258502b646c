#include "platform/SafeWrite.h"
#include "tests/support/DiskFaults.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

#include <sys/stat.h>

namespace {

// Only the target may be left in its folder: no temporaries after a failure.
QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(SafeWrite, EveryFaultKeepsThePreviousFileAndSaysWhy)
{
    // A small file fails only when its buffer would be flushed, a large one on the write.
    for (const qsizetype size : {qsizetype(10), qsizetype(20000)}) {
        SCOPED_TRACE(size);
        ForEachDiskFault(QStringLiteral("target.dat"), "previous", [&](CDiskFaultScope& scope) {
            QString error;
            EXPECT_FALSE(SafeWriteFile(scope.Target(), QByteArray(size, 'n'), &error));
            EXPECT_FALSE(error.isEmpty());
            scope.Lift();
            EXPECT_EQ(ReadAll(scope.Target()), scope.Previous());
        });
    }
}

TEST(SafeWrite, WriterThatFailsOrThrowsHalfWayKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("target.dat"));
    WriteAll(path, "previous");

    QString error;
    EXPECT_FALSE(SafeWriteFile(
        path, [](CSafeWrite& file) { return file.Write(QByteArray(5000, 'h')) && false; }, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_THROW(SafeWriteFile(path,
                               [](CSafeWrite& file) -> bool {
                                   file.Write(QByteArray(5000, 'h'));
                                   throw std::runtime_error("writer gave up");
                               }),
                 std::runtime_error);
    EXPECT_EQ(ReadAll(path), QByteArray("previous"));
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("target.dat")});

    // A complete write replaces the file and keeps its permissions.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(SafeWriteFile(path, QByteArray("new")));
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0777u, 0x0640u);
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("target.dat")});
}

TEST(SafeWrite, DeviceTargetIsWrittenNotReplaced)
{
    // Replacing would swap the device node (or a link to it) for a regular file.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("full.dat"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), link));
    for (const QString& path : {QStringLiteral("/dev/full"), link}) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(SafeWriteFile(path, QByteArray("x"), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
        EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/full")).isFile());
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(SafeWriteFile(QStringLiteral("/dev/null"), QByteArray("x")));
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}
