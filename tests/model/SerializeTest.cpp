#include "model/AxisInfo.h"
#include "model/LineInfo.h"
#include "model/TextInfo.h"
#include "platform/Archive.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A default text display, field by field.
QByteArray DefaultTextBytes()
{
    return Bytes({
               0, 0, 0, 0,                         // m_fdNo
               0, 0, 0, 0,                         // m_displayKind Latest
               0, 0, 0, 0,                         // m_logicalKind Number
               0, 0, 0, 0,                         // m_valueKind Instant
               0xFF, 0xFE, 0xFF, 2, 0x25, 0, 0x67, 0, // m_format "%g"
               0xFF, 0, 0, 0,                      // m_textColor red
               0xFF, 0xFF, 0xFF, 0,                // m_backColor white
               1, 0, 0, 0,                         // m_opaque
               15, 0, 0, 0,                        // lfHeight
               0, 0, 0, 0, 0, 0, 0, 0,             // lfWidth, lfEscapement
               0, 0, 0, 0, 0, 0, 0, 0,             // lfOrientation, lfWeight
               0, 0, 0, 0x80, 0, 0, 1, 0,          // italic .. pitch: Shift-JIS, draft
               0x2D, 0xFF, 0x33, 0xFF, 0x20, 0x00, 0x30, 0xFF, // "ＭＳ Ｐ"
               0xB4, 0x30, 0xB7, 0x30, 0xC3, 0x30, 0xAF, 0x30, // "ゴシック"
           })
           + QByteArray(48, '\0') // rest of the 32-unit face name
           + Bytes({
               1, 0, 0, 0,                         // m_anchor TopCenter
               10, 0, 0, 0,                        // m_distance
               0xFF, 0xFE, 0xFF, 0,                // m_prefix ""
               0xFF, 0xFE, 0xFF, 0,                // m_suffix ""
               0, 0, 0, 0, 0, 0, 0xF0, 0x3F,       // m_multiplier 1.0
               0, 0, 0, 0, 0, 0, 0, 0,             // m_adder 0.0
           });
}

QByteArray DefaultAxisBytes()
{
    return Bytes({
               0, 0, 0, 0,                         // m_fdNo
               0, 0, 0, 0,                         // m_valueKind Instant
               0, 0, 0, 0, 0, 0, 0x59, 0x40,       // m_startX 100
               0, 0, 0, 0, 0, 0, 0x59, 0x40,       // m_startY 100
               0, 0, 0, 0, 0, 0, 0x69, 0x40,       // m_endX 200
               0, 0, 0, 0, 0, 0, 0x69, 0x40,       // m_endY 200
               0, 0, 0, 0, 0, 0, 0, 0,             // m_startValue 0
               0, 0, 0, 0, 0, 0, 0xF0, 0x3F,       // m_endValue 1
               0, 0, 0, 0, 0, 0, 0x59, 0x40,       // m_originX 100
               0, 0, 0, 0, 0, 0, 0x59, 0x40,       // m_originY 100
               0, 0, 0, 0, 0, 0, 0, 0,             // m_originValue 0
               0, 0, 0, 0,                         // m_logicalKind Number
               0, 0, 0, 0,                         // m_logScale
               0, 0, 0, 0,                         // m_latestRows
               100, 0, 0, 0,                       // m_latestRowCount
               0, 0, 0, 0,                         // m_autoRange
               0, 0, 0, 0,                         // m_showAxisLine
               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,  // m_axisLine
               0, 0, 0, 0,                         // m_showTicks
               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 15, 0, 0, 0, // m_tickLine
               0, 0, 0, 0, 0, 0, 0, 0,             // m_tickStartValue 0
               0, 0, 0, 0, 0, 0, 0xF0, 0x3F,       // m_tickEndValue 1
               1, 0, 0, 0,                         // m_tickDivisions
               0, 0, 0, 0,                         // m_tickSide Both
               0, 0, 0, 0,                         // m_showSubTicks
               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, // m_subTickLine
               1, 0, 0, 0,                         // m_subTickDivisions
               0, 0, 0, 0,                         // m_subTickSide Both
               0, 0, 0, 0,                         // m_showLabels
           })
           + DefaultTextBytes()                    // m_labelText
           + Bytes({
               0xFF, 0xFE, 0xFF, 0,                // m_unit ""
               0, 0, 0, 0, 0, 0, 0xF0, 0x3F,       // m_multiplier 1.0
               0, 0, 0, 0, 0, 0, 0, 0,             // m_adder 0.0
           });
}

template <typename T>
QByteArray Store(T& object)
{
    CArchive ar;
    object.Serialize(ar);
    return ar.Bytes();
}

} // namespace

TEST(ModelSerialize, DefaultTextDisplayMatchesHandWrittenBytes)
{
    CTextInfo text;
    EXPECT_EQ(Store(text), DefaultTextBytes());
    EXPECT_EQ(DefaultTextBytes().size(), 160);
}

TEST(ModelSerialize, DefaultAxisMatchesHandWrittenBytes)
{
    CAxisInfo axis;
    EXPECT_EQ(Store(axis), DefaultAxisBytes());
    EXPECT_EQ(DefaultAxisBytes().size(), 388);
}

TEST(ModelSerialize, LineIsFiveInt32InOrder)
{
    CLineInfo line;
    line.m_show = 1;
    line.m_style = LineStyle::DashDot;
    line.m_color = 0x00123456;
    line.m_width = 3;
    line.m_length = -2;
    EXPECT_EQ(Store(line), Bytes({1, 0, 0, 0, 3, 0, 0, 0, 0x56, 0x34, 0x12, 0, 3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(ModelSerialize, DefaultBytesLoadAndStoreIdentically)
{
    CArchive textIn(DefaultTextBytes());
    CTextInfo text;
    text.m_format = QStringLiteral("x");
    text.Serialize(textIn);
    EXPECT_EQ(textIn.Remaining(), 0);
    EXPECT_EQ(Store(text), DefaultTextBytes());

    CArchive axisIn(DefaultAxisBytes());
    CAxisInfo axis;
    axis.m_fdNo = 9;
    axis.Serialize(axisIn);
    EXPECT_EQ(axisIn.Remaining(), 0);
    EXPECT_EQ(Store(axis), DefaultAxisBytes());
}

TEST(ModelSerialize, EditedAxisRoundTripsEveryField)
{
    CAxisInfo axis;
    axis.m_fdNo = 7;
    axis.m_valueKind = ValueKind::Min;
    axis.m_startX = -1.5;
    axis.m_endY = 999.25;
    axis.m_originValue = 0.125;
    axis.m_logicalKind = LogicalKind::DateTime;
    axis.m_logScale = 1;
    axis.m_latestRowCount = 42;
    axis.m_tickLine.m_color = 0x00FF00;
    axis.m_tickSide = static_cast<TickSide>(17); // kept as stored
    axis.m_subTickDivisions = 5;
    axis.m_labelText.m_format = QStringLiteral("%Y/%m/%d");
    axis.m_labelText.m_font.SetFaceName(QStringLiteral("IPAGothic"));
    axis.m_unit = QStringLiteral("℃");
    axis.m_adder = -3;
    const QByteArray bytes = Store(axis);

    CArchive in(bytes);
    CAxisInfo loaded;
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(Store(loaded), bytes);
    EXPECT_EQ(loaded.m_tickSide, static_cast<TickSide>(17));
    EXPECT_EQ(loaded.m_unit, QStringLiteral("℃"));
}

TEST(ModelSerialize, TruncatedLoadThrowsAndChangesNothing)
{
    const QByteArray full = DefaultAxisBytes();
    CAxisInfo axis;
    axis.m_fdNo = 5;
    axis.m_unit = QStringLiteral("kg");
    axis.m_labelText.m_prefix = QStringLiteral("p");
    axis.m_history.Add(3.0);
    const QByteArray before = Store(axis);
    // Cut inside the label text and inside the final doubles.
    for (const qsizetype cut : {qsizetype(250), full.size() - 1}) {
        CArchive in(full.left(cut));
        EXPECT_THROW(axis.Serialize(in), CArchiveError);
        EXPECT_EQ(Store(axis), before);
        EXPECT_EQ(axis.m_history.GetCount(), 1);
    }

    CTextInfo text;
    text.m_suffix = QStringLiteral("s");
    CArchive in(DefaultTextBytes().left(150));
    EXPECT_THROW(text.Serialize(in), CArchiveError);
    EXPECT_EQ(text.m_suffix, QStringLiteral("s"));
    EXPECT_EQ(text.m_format, QStringLiteral("%g"));
}

TEST(ModelSerialize, DistinctValuesLandInFieldOrder)
{
    // Every field set apart from its neighbours, so that two swapped fields show.
    CAxisInfo axis;
    axis.m_fdNo = 1;
    axis.m_valueKind = ValueKind::Max;
    axis.m_startX = 3;
    axis.m_startY = 4;
    axis.m_endX = 5;
    axis.m_endY = 6;
    axis.m_startValue = 7;
    axis.m_endValue = 8;
    axis.m_originX = 9;
    axis.m_originY = 10;
    axis.m_originValue = 11;
    axis.m_logicalKind = LogicalKind::InputCount;
    axis.m_logScale = 13;
    axis.m_latestRows = 14;
    axis.m_latestRowCount = 15;
    axis.m_autoRange = 16;
    axis.m_showAxisLine = 17;
    axis.m_axisLine = CLineInfo(18, 19);
    axis.m_showTicks = 20;
    axis.m_tickLine = CLineInfo(21, 22);
    axis.m_tickStartValue = 23;
    axis.m_tickEndValue = 24;
    axis.m_tickDivisions = 25;
    axis.m_tickSide = static_cast<TickSide>(26);
    axis.m_showSubTicks = 27;
    axis.m_subTickLine = CLineInfo(28, 29);
    axis.m_subTickDivisions = 30;
    axis.m_subTickSide = static_cast<TickSide>(31);
    axis.m_showLabels = 32;
    axis.m_labelText.m_fdNo = 33;
    axis.m_unit = QStringLiteral("u");
    axis.m_multiplier = 35;
    axis.m_adder = 36;

    CArchive expected;
    for (const int32_t v : {1, 1})
        expected.WriteInt32(v);
    for (const double v : {3, 4, 5, 6, 7, 8, 9, 10, 11})
        expected.WriteDouble(v);
    for (const int32_t v : {2, 13, 14, 15, 16, 17, 0, 0, 0, 18, 19, 20, 0, 0, 0, 21, 22})
        expected.WriteInt32(v);
    expected.WriteDouble(23);
    expected.WriteDouble(24);
    for (const int32_t v : {25, 26, 27, 0, 0, 0, 28, 29, 30, 31, 32, 33})
        expected.WriteInt32(v);
    const QByteArray bytes = Store(axis);
    ASSERT_EQ(bytes.size(), 388 + 2);
    EXPECT_EQ(bytes.left(expected.Bytes().size()), expected.Bytes());
    EXPECT_EQ(bytes.mid(208 + 4, 156), DefaultTextBytes().mid(4));
    EXPECT_EQ(bytes.right(22), Bytes({0xFF, 0xFE, 0xFF, 1, 0x75, 0}) + Bytes({0, 0, 0, 0, 0, 0x80, 0x41, 0x40})
                                   + Bytes({0, 0, 0, 0, 0, 0, 0x42, 0x40}));

    CTextInfo text;
    text.m_fdNo = 1;
    text.m_displayKind = DisplayKind::History;
    text.m_logicalKind = LogicalKind::DateTime;
    text.m_valueKind = ValueKind::String;
    text.m_format = QStringLiteral("f");
    text.m_textColor = 5;
    text.m_backColor = 6;
    text.m_opaque = 7;
    text.m_font.lfHeight = 8;
    text.m_font.lfWeight = 9;
    text.m_font.lfItalic = 10;
    text.m_font.lfPitchAndFamily = 11;
    text.m_anchor = TextAnchor::BottomRight;
    text.m_distance = 13;
    text.m_prefix = QStringLiteral("p");
    text.m_suffix = QStringLiteral("s");
    text.m_multiplier = 2;
    text.m_adder = 3;
    const QByteArray textBytes = Store(text);
    const QByteArray head = Bytes({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 0x66, 0,
                                   5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0});
    EXPECT_EQ(textBytes.left(head.size()), head);
    EXPECT_EQ(textBytes.mid(head.size() + 12, 10), Bytes({9, 0, 0, 0, 10, 0, 0, 0x80, 0, 0}));
    EXPECT_EQ(textBytes.mid(head.size() + 22, 2), Bytes({1, 11})); // quality, pitch and family
    EXPECT_EQ(textBytes.mid(head.size() + 88), Bytes({8, 0, 0, 0, 13, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 0x70, 0,
                                                      0xFF, 0xFE, 0xFF, 1, 0x73, 0,
                                                      0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0x08, 0x40}));
}

TEST(ModelSerialize, LoadKeepsRunTimeState)
{
    CAxisInfo axis;
    axis.m_value = 12;
    axis.m_history.Add(12);
    CArchive in(DefaultAxisBytes());
    axis.Serialize(in);
    EXPECT_EQ(axis.m_value, 12);
    EXPECT_EQ(axis.m_history.GetCount(), 1);
}
