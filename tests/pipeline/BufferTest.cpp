#include "pipeline/Buffer.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Store = CBuffer<QString>;

Store Ring(int64_t capacity, const QString& letters)
{
    Store b;
    b.SetRing(true, capacity);
    for (QChar c : letters)
        b.Add(QString(c));
    return b;
}

QString Logical(const Store& b)
{
    QString out;
    for (int64_t i = 0; i < b.GetCount(); ++i)
        out += b.GetAt(i);
    return out;
}

QString Physical(const Store& b)
{
    QString out;
    for (const QString& s : b.m_data)
        out += s;
    return out;
}

QByteArray Save(CBuffer<FieldRow>& b)
{
    CArchive ar;
    b.Serialize(ar);
    return ar.Bytes();
}

void Load(CBuffer<FieldRow>& b, const QByteArray& bytes)
{
    CArchive ar(bytes);
    b.Serialize(ar);
}

// Ring of 2 after adding {1}, {2,x}, {3}: physical {3}, {2,x}, write position 1.
const QByteArray kTinyRing = Bytes({
    0x02, 0x00, 0x00, 0x00,                                     // element count
    0x01, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 0x33, 0x00, // {"3"}
    0x02, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 0x32, 0x00, // {"2",
    0xFF, 0xFE, 0xFF, 0x01, 0x78, 0x00,                         //  "x"}
    0x01, 0x00, 0x00, 0x00,                                     // ring on
    0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,             // capacity
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,             // write position
});

} // namespace

TEST(Buffer, RingOverwritesOldestAndMapsLogicalOrder)
{
    const Store b = Ring(3, QStringLiteral("abcd"));
    EXPECT_EQ(Physical(b), QStringLiteral("dbc"));
    EXPECT_EQ(b.m_next, 1);
    EXPECT_EQ(Logical(b), QStringLiteral("bcd"));
    EXPECT_EQ(b.GetCount(), 3);
    EXPECT_TRUE(b.IsFull());
}

TEST(Buffer, SetRingGrowthKeepsOrderAndFillsUp)
{
    Store b = Ring(3, QStringLiteral("abcd"));
    b.SetRing(true, 5);
    EXPECT_EQ(Physical(b), QStringLiteral("bcd"));
    EXPECT_EQ(b.m_next, 3);
    b.Add(QStringLiteral("e"));
    b.Add(QStringLiteral("f"));
    EXPECT_EQ(Physical(b), QStringLiteral("bcdef"));
    EXPECT_EQ(b.m_next, 0);
    b.Add(QStringLiteral("g"));
    EXPECT_EQ(Logical(b), QStringLiteral("cdefg"));
}

TEST(Buffer, SetRingShrinkKeepsTheOldest)
{
    Store b = Ring(5, QStringLiteral("xyabcde")); // logical a..e, wrapped
    ASSERT_EQ(Logical(b), QStringLiteral("abcde"));
    b.SetRing(true, 3);
    EXPECT_EQ(Physical(b), QStringLiteral("abc"));
    EXPECT_EQ(b.m_maxCount, 3);
    EXPECT_EQ(b.m_next, 0);
    b.Add(QStringLiteral("f"));
    EXPECT_EQ(Logical(b), QStringLiteral("bcf"));
}

TEST(Buffer, SetRingShrinkToTheCountMakesItFull)
{
    Store b = Ring(10, QStringLiteral("abcd"));
    b.SetRing(true, 4);
    EXPECT_EQ(Physical(b), QStringLiteral("abcd"));
    EXPECT_EQ(b.m_next, 0);
    b.Add(QStringLiteral("e"));
    EXPECT_EQ(Logical(b), QStringLiteral("bcde"));

    Store c = Ring(10, QStringLiteral("ab"));
    c.SetRing(true, 5); // still above the count: position unchanged
    EXPECT_EQ(c.m_next, 2);
    EXPECT_EQ(c.m_maxCount, 5);
}

TEST(Buffer, SetRingFromOffTruncatesOrKeeps)
{
    Store b;
    for (QChar c : QStringLiteral("abcdefg"))
        b.Add(QString(c));
    b.SetRing(true, 5);
    EXPECT_EQ(Physical(b), QStringLiteral("abcde"));
    EXPECT_EQ(b.m_ring, 1);
    EXPECT_EQ(b.m_maxCount, 5);
    EXPECT_EQ(b.m_next, 0);
    b.Add(QStringLiteral("z"));
    EXPECT_EQ(Logical(b), QStringLiteral("bcdez"));

    Store small;
    small.Add(QStringLiteral("a"));
    small.SetRing(true, 3);
    EXPECT_EQ(small.m_next, 1);
}

TEST(Buffer, SetRingOffChangesNothing)
{
    Store b = Ring(3, QStringLiteral("abcd"));
    b.SetRing(false, 1);
    EXPECT_EQ(Physical(b), QStringLiteral("dbc"));
    EXPECT_EQ(b.m_ring, 1);
    EXPECT_EQ(b.m_maxCount, 3);
    EXPECT_EQ(b.m_next, 1);
}

TEST(Buffer, RingAboveItsCapacityIsMadeConsistentBeforeItGrows)
{
    // Ring settings written straight into the members leave more elements than capacity.
    Store b;
    for (QChar c : QStringLiteral("abcdefg"))
        b.Add(QString(c));
    b.m_ring = 1;
    b.m_maxCount = 5;
    EXPECT_FALSE(b.IsConsistent());
    b.SetRing(true, 6); // the ring first keeps the newest 5, then grows
    EXPECT_EQ(Physical(b), QStringLiteral("cdefg"));
    EXPECT_EQ(b.m_next, 5);
    b.Add(QStringLiteral("h"));
    EXPECT_EQ(Logical(b), QStringLiteral("cdefgh"));
    EXPECT_EQ(b.m_next, 0);
    b.Add(QStringLiteral("i"));
    EXPECT_EQ(Logical(b), QStringLiteral("defghi"));
}

TEST(Buffer, StoredRingSettingsKeepTheNewestInLogicalOrder)
{
    struct Case
    {
        bool ring;
        int64_t capacity;
        QString logical;
        int64_t next;
        QString afterAdd; // logical order after adding "z"
    };
    // Start: a full ring of 3 holding b, c, d physically as d, b, c.
    const Case cases[] = {
        {true, 5, "bcd", 3, "bcdz"},
        {true, 3, "bcd", 0, "cdz"},
        {true, 2, "cd", 0, "dz"},
        {true, 1, "d", 0, "z"},
        {false, 2, "bcd", 0, "bcdz"}, // outside ring mode nothing is dropped
    };
    for (const Case& c : cases) {
        Store b = Ring(3, QStringLiteral("abcd"));
        b.StoreRingSettings(c.ring, c.capacity);
        EXPECT_EQ(Logical(b), c.logical) << c.capacity;
        EXPECT_EQ(Physical(b), c.logical) << c.capacity;
        EXPECT_EQ(b.m_next, c.next) << c.capacity;
        EXPECT_EQ(b.m_ring, c.ring ? 1 : 0);
        EXPECT_EQ(b.m_maxCount, c.capacity);
        EXPECT_TRUE(b.IsConsistent());
        b.Add(QStringLiteral("z"));
        EXPECT_EQ(Logical(b), c.afterAdd) << c.capacity;
    }

    // A ring without room keeps nothing rather than growing without bound.
    Store none = Ring(3, QStringLiteral("ab"));
    none.StoreRingSettings(true, 0);
    none.Add(QStringLiteral("x"));
    EXPECT_EQ(none.GetCount(), 0);
}

TEST(Buffer, RemoveAllKeepsRingAndCapacity)
{
    Store b = Ring(3, QStringLiteral("abcd"));
    b.RemoveAll();
    EXPECT_EQ(b.GetCount(), 0);
    EXPECT_EQ(b.m_next, 0);
    EXPECT_EQ(b.m_ring, 1);
    EXPECT_EQ(b.m_maxCount, 3);
    for (QChar c : QStringLiteral("wxyz"))
        b.Add(QString(c));
    EXPECT_EQ(Logical(b), QStringLiteral("xyz"));
}

TEST(Buffer, SerializeTinyRingByteForByte)
{
    CBuffer<FieldRow> b;
    b.SetRing(true, 2);
    b.Add(FieldRow{QStringLiteral("1")});
    b.Add(FieldRow{QStringLiteral("2"), QStringLiteral("x")});
    b.Add(FieldRow{QStringLiteral("3")});
    EXPECT_EQ(Save(b), kTinyRing);

    CBuffer<FieldRow> loaded;
    Load(loaded, kTinyRing);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetAt(0).join(), QStringLiteral("2,x"));
    EXPECT_EQ(loaded.GetAt(1).join(), QStringLiteral("3"));
    EXPECT_EQ(loaded.m_next, 1);
    EXPECT_EQ(Save(loaded), kTinyRing);
}

TEST(Buffer, SerializeRoundTripsFullAndHalfFullRings)
{
    CBuffer<FieldRow> rows;
    rows.SetRing(true, 4);
    for (int i = 0; i < 6; ++i)
        rows.Add(FieldRow{QString::number(i), QString(), QStringLiteral("日本")});
    const QByteArray full = Save(rows);
    CBuffer<FieldRow> rowsBack;
    Load(rowsBack, full);
    EXPECT_EQ(rowsBack.m_data, rows.m_data);
    EXPECT_EQ(Save(rowsBack), full);

    CBuffer<double> values;
    values.SetRing(true, 10);
    for (double v : {1.5, -0.0, 1e300})
        values.Add(v);
    CArchive out;
    values.Serialize(out);
    CBuffer<double> valuesBack;
    CArchive in(out.Bytes());
    valuesBack.Serialize(in);
    EXPECT_EQ(valuesBack.m_data, values.m_data);
    EXPECT_EQ(valuesBack.m_next, 3);
    EXPECT_EQ(valuesBack.m_maxCount, 10);

    Store texts = Ring(6, QStringLiteral("abc"));
    CArchive tout;
    texts.Serialize(tout);
    Store textsBack;
    CArchive tin(tout.Bytes());
    textsBack.Serialize(tin);
    EXPECT_EQ(Logical(textsBack), QStringLiteral("abc"));
    EXPECT_EQ(textsBack.m_next, 3);
}

TEST(Buffer, FailedLoadLeavesTheStoreAsItWas)
{
    CBuffer<FieldRow> b;
    b.SetRing(true, 7);
    b.Add(FieldRow{QStringLiteral("keep")});
    const auto before = b.m_data;

    for (qsizetype cut = 1; cut < kTinyRing.size(); ++cut)
        EXPECT_THROW(Load(b, kTinyRing.left(cut)), CArchiveError) << cut;

    QByteArray hugeCount = kTinyRing;
    hugeCount[0] = char(0xFF);
    hugeCount[1] = char(0xFF);
    hugeCount[2] = char(0xFF);
    hugeCount[3] = char(0x7F);
    EXPECT_THROW(Load(b, hugeCount), CArchiveError);

    QByteArray hugeFdCount = kTinyRing;
    hugeFdCount[4 + 3] = char(0x7F);
    EXPECT_THROW(Load(b, hugeFdCount), CArchiveError);

    EXPECT_EQ(b.m_data, before);
    EXPECT_EQ(b.m_maxCount, 7);
    EXPECT_EQ(b.m_next, 1);
}

TEST(Buffer, LoadReadsAnInconsistentStoreIntoTheConsistentForm)
{
    struct Case
    {
        int32_t ring;
        int64_t capacity;
        int64_t next;
        QString logical;
        int64_t nextAfter;
    };
    // Physical elements a, b, c, d in the file, with settings that do not fit them.
    const Case cases[] = {
        {1, 4, 1, "bcda", 1},  // a consistent full ring stays byte for byte
        {1, 2, 0, "cd", 0},    // more than the capacity: the newest stay
        {1, 3, 2, "dab", 0},   // oldest from the write position, then the newest 3
        {1, 6, 1, "bcda", 4},  // a position that does not fit a ring that is not full
        {1, 4, 4, "abcd", 0},  // a full ring whose position equals the count
        {1, 4, -1, "abcd", 0}, // positions outside the store mean physical order
        {1, 8, int64_t(1) << 40, "abcd", 4},
        {0, 2, 3, "dabc", 0},  // ring off: the position still tells the oldest
    };
    for (const Case& c : cases) {
        CArchive out;
        out.WriteInt32(4);
        for (const char* v : {"a", "b", "c", "d"}) {
            out.WriteInt32(1);
            out.WriteString(QString::fromLatin1(v));
        }
        out.WriteInt32(c.ring);
        out.WriteInt64(c.capacity);
        out.WriteInt64(c.next);

        CBuffer<FieldRow> b;
        Load(b, out.Bytes());
        QString logical;
        for (int64_t i = 0; i < b.GetCount(); ++i)
            logical += b.GetAt(i).join();
        EXPECT_EQ(logical, c.logical) << c.capacity << " " << c.next;
        EXPECT_EQ(b.m_next, c.nextAfter) << c.capacity << " " << c.next;
        EXPECT_EQ(b.m_maxCount, c.capacity);
        EXPECT_TRUE(b.IsConsistent());
        if (c.next == 1 && c.capacity == 4) {
            EXPECT_EQ(Save(b), out.Bytes());
        }
    }

    // A full ring whose position equals the count stays usable.
    CBuffer<FieldRow> b;
    QByteArray atEnd = kTinyRing;
    atEnd[atEnd.size() - 8] = 2;
    Load(b, atEnd);
    EXPECT_EQ(b.GetAt(0).join(), QStringLiteral("3"));
    b.Add(FieldRow{QStringLiteral("4")});
    EXPECT_EQ(b.GetAt(0).join(), QStringLiteral("2,x"));
    EXPECT_EQ(b.GetAt(1).join(), QStringLiteral("4"));
}
