#include "platform/LogFont.h"

#include "platform/Archive.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// "ＭＳ Ｐゴシック", height -12, weight 400, underline, character set 128.
QByteArray GothicRecord()
{
    QByteArray bytes = Bytes({
        0xF4, 0xFF, 0xFF, 0xFF, // lfHeight
        0x00, 0x00, 0x00, 0x00, // lfWidth
        0x00, 0x00, 0x00, 0x00, // lfEscapement
        0x00, 0x00, 0x00, 0x00, // lfOrientation
        0x90, 0x01, 0x00, 0x00, // lfWeight
        0x00, 0x01, 0x00, 0x80, 0x03, 0x02, 0x01, 0x31, // italic .. pitch and family
        0x2D, 0xFF, 0x33, 0xFF, 0x20, 0x00, 0x30, 0xFF, 0xB4, 0x30, 0xB7, 0x30, 0xC3, 0x30, 0xAF, 0x30,
    });
    bytes.append(QByteArray(64 - 16, '\0'));
    return bytes;
}

} // namespace

TEST(LogFont, SerializesToItsExact92ByteForm)
{
    LOGFONTW font;
    font.lfHeight = -12;
    font.lfWeight = 400;
    font.lfUnderline = 1;
    font.lfCharSet = 128;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 0x31;
    font.SetFaceName(QStringLiteral("ＭＳ Ｐゴシック"));

    CArchive out;
    font.Serialize(out);
    ASSERT_EQ(out.Bytes().size(), 92);
    EXPECT_EQ(out.Bytes(), GothicRecord());

    CArchive in(GothicRecord());
    LOGFONTW loaded;
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(loaded, font);
    EXPECT_EQ(loaded.FaceName(), QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST(LogFont, PaddingAfterTheFaceNameSurvivesARoundTrip)
{
    QByteArray record = GothicRecord();
    record[28 + 2] = 0; // face "Ｍ", then the old bytes as padding
    record[28 + 3] = 0;
    record[28 + 62] = 0x55;

    CArchive in(record);
    LOGFONTW font;
    font.Serialize(in);
    EXPECT_EQ(font.FaceName(), QStringLiteral("Ｍ"));

    CArchive out;
    font.Serialize(out);
    EXPECT_EQ(out.Bytes(), record);
}

TEST(LogFont, SetFaceNameCutsTo31UnitsOutsideSurrogatePairsAndClearsPadding)
{
    LOGFONTW font;
    font.lfFaceName.fill(u'z');
    EXPECT_EQ(font.FaceName().size(), 32); // no terminator held: all 32 units

    font.SetFaceName(QString(40, u'a'));
    EXPECT_EQ(font.FaceName(), QString(31, u'a'));
    EXPECT_EQ(font.lfFaceName[31], 0);

    font.SetFaceName(QString(30, u'b') + QStringLiteral("😀"));
    EXPECT_EQ(font.FaceName(), QString(30, u'b'));
    EXPECT_EQ(font.lfFaceName[30], 0);

    font.lfFaceName.fill(u'z');
    font.SetFaceName(QStringLiteral("ab"));
    EXPECT_EQ(font.lfFaceName, (std::array<char16_t, 32>{u'a', u'b'}));
}

TEST(LogFont, TruncatedRecordThrowsAndLeavesTheFontUnchanged)
{
    LOGFONTW font;
    font.lfHeight = 99;
    font.SetFaceName(QStringLiteral("keep"));
    const LOGFONTW before = font;

    CArchive in(GothicRecord().left(91));
    EXPECT_THROW(font.Serialize(in), CArchiveError);
    EXPECT_EQ(font, before);
}
