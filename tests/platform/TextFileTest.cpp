#include "platform/TextFile.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TextFileTest : public ::testing::Test
{
protected:
    QString Path(const char* name = "t.csv") const { return m_dir.filePath(QString::fromLatin1(name)); }

    void WriteRaw(const QByteArray& bytes, const QString& path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray ReadRaw(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    QStringList Lines(const QByteArray& bytes)
    {
        WriteRaw(bytes, Path());
        CTextFile file;
        EXPECT_TRUE(file.Open(Path(), CTextFile::Mode::Read));
        QStringList lines;
        QString line;
        while (file.ReadLine(line))
            lines << line;
        EXPECT_FALSE(file.ReadLine(line)); // stays at the end
        EXPECT_FALSE(file.HasError());
        return lines;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TextFileTest, ReadingStripsCrLfAndLfButKeepsLoneCr)
{
    EXPECT_EQ(Lines("a\r\nb\nc"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(Lines("a\rb\r\n"), QStringList({"a\rb"}));
    EXPECT_EQ(Lines("a\r\r\nx\r"), QStringList({"a\r", "x\r"}));
}

TEST_F(TextFileTest, EmptyLinesAndLastLineWithoutEnd)
{
    EXPECT_EQ(Lines(""), QStringList());
    EXPECT_EQ(Lines("\n"), QStringList({""}));
    EXPECT_EQ(Lines("\n\r\n\nz"), QStringList({"", "", "", "z"}));
    EXPECT_EQ(Lines("a\n"), QStringList({"a"}));
}

TEST_F(TextFileTest, ReadingDecodesCp932)
{
    EXPECT_EQ(Lines(Bytes({0x89, 0xB7, 0x93, 0x78, 0x2C, 0x31, 0x0D, 0x0A, 0x95, 0x5C})),
              QStringList({QStringLiteral("温度,1"), QStringLiteral("表")}));
}

TEST_F(TextFileTest, LinesAcrossReadChunks)
{
    // CR as the last byte of the first 64 KiB chunk and LF as the first of the next,
    // then a line of several chunks.
    const QByteArray first(65535, 'a');
    const QByteArray second(300000, 'b');
    const QStringList lines = Lines(first + "\r\n" + second + "\n\x95\x5c");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QString::fromLatin1(first));
    EXPECT_EQ(lines[1], QString::fromLatin1(second));
    EXPECT_EQ(lines[2], QStringLiteral("表"));
}

TEST_F(TextFileTest, WritingTurnsNewlineIntoCrLf)
{
    CTextFile file;
    ASSERT_TRUE(file.Open(Path(), CTextFile::Mode::CreateTruncate));
    EXPECT_TRUE(file.WriteString(QStringLiteral("温度,1\n\nx")));
    EXPECT_TRUE(file.WriteString(QStringLiteral("😀\n")));
    EXPECT_TRUE(file.Flush());
    file.Close();
    EXPECT_FALSE(file.HasError());
    EXPECT_EQ(ReadRaw(Path()),
              Bytes({0x89, 0xB7, 0x93, 0x78, ',', '1', 0x0D, 0x0A, 0x0D, 0x0A, 'x', '?', 0x0D, 0x0A}));
}

TEST_F(TextFileTest, CreateTruncatesAndAppendAddsAtTheEnd)
{
    WriteRaw("old content\r\n", Path());
    CTextFile file;
    ASSERT_TRUE(file.Open(Path(), CTextFile::Mode::CreateTruncate));
    EXPECT_TRUE(file.WriteString(u"a\n"));
    file.Close();

    ASSERT_TRUE(file.Open(Path(), CTextFile::Mode::Append));
    EXPECT_TRUE(file.WriteString(u"b\n"));
    EXPECT_TRUE(file.Flush());
    file.Close();
    EXPECT_EQ(ReadRaw(Path()), QByteArray("a\r\nb\r\n"));
}

TEST_F(TextFileTest, OpenFailuresGiveAnErrorText)
{
    CTextFile file;
    QString error;
    EXPECT_FALSE(file.Open(Path("absent.csv"), CTextFile::Mode::Read, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(file.IsOpen());

    error.clear();
    EXPECT_FALSE(file.Open(Path("no/such/dir.csv"), CTextFile::Mode::CreateTruncate, &error));
    EXPECT_FALSE(error.isEmpty());

    error.clear();
    EXPECT_FALSE(file.Open(m_dir.path(), CTextFile::Mode::Read, &error)); // a folder
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(file.WriteString(u"x"));
}

TEST_F(TextFileTest, WriteErrorIsReported)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    CTextFile file;
    ASSERT_TRUE(file.Open(QStringLiteral("/dev/full"), CTextFile::Mode::CreateTruncate));
    const QString block(100000, u'x');
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i)
        ok = file.WriteString(block);
    EXPECT_FALSE(ok && file.Flush());
    EXPECT_TRUE(file.HasError());
}
