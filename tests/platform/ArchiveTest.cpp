#include "platform/Archive.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

QString TextOfLength(qsizetype n)
{
    QString s;
    s.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        s.append(QChar(char16_t(u'a' + i % 26)));
    return s;
}

QByteArray Utf16Le(const QString& s)
{
    QByteArray out;
    for (QChar c : s) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

} // namespace

TEST(Archive, StringLengthFormsAtTheirBoundaries)
{
    struct Case
    {
        qsizetype length;
        QByteArray header; // after FF FFFE
        QByteArray olderHeader; // marker-less form
    };
    const std::vector<Case> cases = {
        {0, Bytes({0x00}), Bytes({0x00})},
        {1, Bytes({0x01}), Bytes({0x01})},
        {254, Bytes({0xFE}), Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00}), Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF}), Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}), Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const QString text = TextOfLength(c.length);

        CArchive out;
        out.WriteString(text);
        const QByteArray expected = Bytes({0xFF, 0xFE, 0xFF}) + c.header + Utf16Le(text);
        ASSERT_EQ(out.Bytes(), expected);

        CArchive in(expected);
        EXPECT_EQ(in.ReadString(), text);
        EXPECT_EQ(in.Remaining(), 0);

        CArchive older(c.olderHeader + text.toLatin1());
        EXPECT_EQ(older.ReadString(), text);
        EXPECT_EQ(older.Remaining(), 0);
    }
}

TEST(Archive, StringKeepsSurrogatePairsAndReadsOlderCp932Form)
{
    const QString text = QStringLiteral("温😀");
    CArchive out;
    out.WriteString(text);
    const QByteArray expected = Bytes({0xFF, 0xFE, 0xFF, 0x03, 0x29, 0x6E, 0x3D, 0xD8, 0x00, 0xDE});
    ASSERT_EQ(out.Bytes(), expected);
    EXPECT_EQ(CArchive(expected).ReadString(), text);

    // A lone surrogate is held as it is, both ways.
    QString lone = QStringLiteral("a");
    lone.append(QChar(0xD800));
    CArchive loneOut;
    loneOut.WriteString(lone);
    EXPECT_EQ(CArchive(loneOut.Bytes()).ReadString(), lone);

    // Older files: length in bytes, then code page 932.
    CArchive older(Bytes({0x05, 0x89, 0xB7, 0x93, 0x78, 0x41, 0x07}));
    EXPECT_EQ(older.ReadString(), QStringLiteral("温度A"));
    EXPECT_EQ(older.ReadByte(), 0x07);
}

TEST(Archive, ScalarsAreLittleEndian)
{
    CArchive out;
    out.WriteInt32(-2);
    out.WriteUInt32(0x12345678);
    out.WriteUInt16(0xBEEF);
    out.WriteInt64(-0x0102030405060708LL);
    out.WriteDouble(1.5);
    out.WriteBool(true);
    out.WriteByte(0xAB);
    const QByteArray expected = Bytes({
        0xFE, 0xFF, 0xFF, 0xFF,
        0x78, 0x56, 0x34, 0x12,
        0xEF, 0xBE,
        0xF8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,
        0x01, 0x00, 0x00, 0x00,
        0xAB,
    });
    ASSERT_EQ(out.Bytes(), expected);

    CArchive in(expected);
    EXPECT_EQ(in.ReadInt32(), -2);
    EXPECT_EQ(in.ReadUInt32(), 0x12345678u);
    EXPECT_EQ(in.ReadUInt16(), 0xBEEF);
    EXPECT_EQ(in.ReadInt64(), -0x0102030405060708LL);
    EXPECT_EQ(in.ReadDouble(), 1.5);
    EXPECT_EQ(in.ReadInt32(), 1);
    EXPECT_EQ(in.ReadByte(), 0xAB);
    EXPECT_EQ(in.Remaining(), 0);
}

TEST(Archive, CutAtEveryOffsetThrowsAtTheItemThatIsCut)
{
    CArchive out;
    out.WriteInt32(7);
    out.WriteInt64(1LL << 40);
    out.WriteDouble(-0.25);
    out.WriteString(QStringLiteral("温度"));
    out.WriteString(TextOfLength(300));
    out.WriteBool(false);
    const QByteArray full = out.Bytes();

    // Item boundaries, from reading the whole archive.
    const std::vector<std::function<void(CArchive&)>> reads = {
        [](CArchive& a) { a.ReadInt32(); },
        [](CArchive& a) { a.ReadInt64(); },
        [](CArchive& a) { a.ReadDouble(); },
        [](CArchive& a) { a.ReadString(); },
        [](CArchive& a) { a.ReadString(); },
        [](CArchive& a) { a.ReadInt32(); },
    };
    std::vector<int64_t> starts;
    CArchive whole(full);
    for (const auto& read : reads) {
        starts.push_back(whole.Position());
        read(whole);
    }
    ASSERT_EQ(whole.Remaining(), 0);

    for (qsizetype cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        CArchive in(full.left(cut));
        size_t item = 0;
        while (item + 1 < starts.size() && starts[item + 1] <= cut)
            ++item;
        try {
            for (const auto& read : reads)
                read(in);
            FAIL() << "no error";
        } catch (const CArchiveError& e) {
            EXPECT_GE(e.Offset(), starts[item]);
            EXPECT_LE(e.Offset(), cut);
            EXPECT_FALSE(e.Reason().isEmpty());
        }
    }
}

TEST(Archive, ImpossibleLengthsAndCountsThrowBeforeAllocating)
{
    // 0xFFFFFFFF code units claimed in a 10-byte buffer.
    CArchive huge(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_THROW(huge.ReadString(), CArchiveError);

    // The older form, 32-bit length.
    CArchive hugeOlder(Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x41}));
    EXPECT_THROW(hugeOlder.ReadString(), CArchiveError);

    // A length one unit too long, after a valid string.
    CArchive oneShort(Bytes({0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00, 0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42}));
    EXPECT_EQ(oneShort.ReadString(), QStringLiteral("A"));
    try {
        oneShort.ReadString();
        FAIL() << "no error";
    } catch (const CArchiveError& e) {
        EXPECT_EQ(e.Offset(), 6);
    }

    CArchive counts(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8}));
    try {
        counts.ReadCount(8);
        FAIL() << "no error";
    } catch (const CArchiveError& e) {
        EXPECT_EQ(e.Offset(), 0);
    }

    CArchive negative(Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_THROW(negative.ReadCount(1), CArchiveError);

    CArchive fits(Bytes({0x02, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(fits.ReadCount(4), 2);
    EXPECT_THROW(fits.CheckCount(3, 4), CArchiveError);
    EXPECT_THROW(fits.CheckCount(9, 0), CArchiveError); // every element takes a byte
    EXPECT_THROW(fits.ReadBytes(-1), CArchiveError);
    EXPECT_THROW(fits.ReadBytes(9), CArchiveError);
    EXPECT_EQ(fits.ReadBytes(8), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Archive, SaveFileReplacesWholeFileAndLoadFileReadsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("state.dat"));

    CArchive longer;
    longer.WriteBytes("0123456789", 10);
    ASSERT_TRUE(longer.SaveFile(path));

    CArchive shorter;
    shorter.WriteInt32(5);
    shorter.WriteString(QStringLiteral("表"));
    ASSERT_TRUE(shorter.SaveFile(path));

    CArchive in = CArchive::LoadFile(path);
    EXPECT_EQ(in.Bytes(), shorter.Bytes());
    EXPECT_EQ(in.ReadInt32(), 5);
    EXPECT_EQ(in.ReadString(), QStringLiteral("表"));

    QString error;
    EXPECT_FALSE(shorter.SaveFile(dir.path(), &error)); // a folder is in the way
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(shorter.SaveFile(dir.filePath(QStringLiteral("missing/x.dat")), &error));

    try {
        CArchive::LoadFile(dir.filePath(QStringLiteral("absent.dat")));
        FAIL() << "no error";
    } catch (const CArchiveError& e) {
        EXPECT_EQ(e.Offset(), 0);
    }
}
