#include "platform/Cp932.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Cp932, JapaneseSampleRoundTripsToExactBytes)
{
    const QString text = QStringLiteral("温度,外気,①,～,ｱｲｳ,表");
    const QByteArray bytes = Bytes({0x89, 0xB7, 0x93, 0x78, 0x2C, 0x8A, 0x4F, 0x8B, 0x43, 0x2C, 0x87, 0x40, 0x2C,
                                    0x81, 0x60, 0x2C, 0xB1, 0xB2, 0xB3, 0x2C, 0x95, 0x5C});
    EXPECT_EQ(EncodeCp932(text), bytes);
    EXPECT_EQ(DecodeCp932(bytes), text);
}

TEST(Cp932, AsciiIsIdentityOnFastAndConverterPaths)
{
    // 0x1A, 0x1C and 0x7F in particular must stay themselves.
    QByteArray ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii.append(static_cast<char>(b));
    const QString text = QString::fromLatin1(ascii);

    EXPECT_EQ(EncodeCp932(text), ascii);
    EXPECT_EQ(DecodeCp932(ascii), text);

    // A leading non-ASCII character sends everything through iconv.
    EXPECT_EQ(EncodeCp932(QStringLiteral("表") + text), Bytes({0x95, 0x5C}) + ascii);
    EXPECT_EQ(DecodeCp932(Bytes({0x95, 0x5C}) + ascii), QStringLiteral("表") + text);
    EXPECT_EQ(DecodeCp932(Bytes({0x1A, 0x1C, 0x7F, 0x95, 0x5C})), QStringLiteral("\x1A\x1C\x7F表"));
}

TEST(Cp932, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(EncodeCp932(QStringLiteral("a😀b한c")), QByteArray("a?b?c"));
    EXPECT_EQ(EncodeCp932(QStringLiteral("😀😀")), QByteArray("??"));
    EXPECT_EQ(EncodeCp932(QStringLiteral("温😀")), Bytes({0x89, 0xB7, '?'}));

    QString lone = QStringLiteral("表");
    lone.append(QChar(0xDC00)); // lone low surrogate
    lone.append(QChar(0xD800)); // lone high surrogate before an ASCII letter
    lone.append(u'x');
    lone.append(QChar(0xD800)); // lone high surrogate at the end
    EXPECT_EQ(EncodeCp932(lone), Bytes({0x95, 0x5C, '?', '?', 'x', '?'}));
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters)
{
    const QChar r(0xFFFD);
    EXPECT_EQ(DecodeCp932(Bytes({0x80})), QString(r));
    EXPECT_EQ(DecodeCp932(Bytes({'A', 0x81})), QStringLiteral("A") + r); // lead byte at the end
    EXPECT_EQ(DecodeCp932(Bytes({0x81, ','})), r + QStringLiteral(","));
    EXPECT_EQ(DecodeCp932(Bytes({0xFD, 'A', 0xFF})), r + QStringLiteral("A") + r);
    // An unassigned pair is one character; an ASCII byte after a lead starts anew.
    EXPECT_EQ(DecodeCp932(Bytes({0x85, 0x80, 'X'})), r + QStringLiteral("X"));
    EXPECT_EQ(DecodeCp932(Bytes({0x85, 0x40})), r + QStringLiteral("@"));
    EXPECT_EQ(DecodeCp932(Bytes({0x89, 0xB7, 0xFF, 0x93, 0x78})), QStringLiteral("温") + r + QStringLiteral("度"));
}

TEST(Cp932, LongMixedTextRoundTrips)
{
    QString text;
    for (int i = 0; i < 50000; ++i)
        text += (i % 3 == 0) ? QStringLiteral("表ｱ") : QStringLiteral("1.5,");
    const QByteArray bytes = EncodeCp932(text);
    EXPECT_EQ(bytes.size(), 16667 * 3 + 33333 * 4);
    EXPECT_EQ(DecodeCp932(bytes), text);
    EXPECT_TRUE(DecodeCp932(QByteArray()).isEmpty());
    EXPECT_TRUE(EncodeCp932(QString()).isEmpty());
}
