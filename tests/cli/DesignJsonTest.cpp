#include "cli/DesignJson.h"
#include "cli/Json.h"
#include "cli/JsonReader.h"
#include "model/DocumentFiles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

namespace {

// dump's JSON of a document file read back by pack, as bytes.
QByteArray DocumentRoundTrip(const QByteArray& bytes, QByteArray* json = nullptr)
{
    CDocumentContent content;
    CFileError error;
    EXPECT_TRUE(ReadDocumentBytes(bytes, content, &error)) << error.Text().toStdString();
    const QByteArray text = DocumentJson(content);
    if (json)
        *json = text;
    CJsonValue value;
    QString message;
    EXPECT_TRUE(ParseJson(text, value, &message)) << message.toStdString();
    CDocumentContent packed;
    EXPECT_TRUE(DocumentFromJson(value, packed, &message)) << message.toStdString();
    return DocumentBytes(packed);
}

// pack of a hand-written info JSON; the error text when it fails.
QString PackInfo(const char* text, QByteArray* bytes = nullptr)
{
    CJsonValue value;
    QString message;
    if (!ParseJson(QByteArray(text), value, &message))
        return message;
    CDesignLists design;
    if (!InfoFromJson(value, design, &message))
        return message;
    if (bytes)
        *bytes = InfoBytes(design);
    return QString();
}

CDocumentContent OddDocument()
{
    CDocumentContent d;
    d.m_backgroundPath = QStringLiteral("C:\\画像\\\"q\"\n") + QChar(0xD800) + QStringLiteral("end");
    d.m_pictureHeight = -1;
    d.m_viewInfos = {CViewInfo(INT32_MIN, 0, INT32_MAX, 5)};
    CPlotInfo p;
    p.m_color = 0xFFFFFFFF;
    p.m_shape = static_cast<PlotShape>(99);
    p.m_sizeBaseValue = -0.0;
    p.m_sizeStepValue = std::numeric_limits<double>::infinity();
    p.m_includePrefixes = {QString(), QStringLiteral("\t")};
    p.m_axes[0].m_startX = std::numeric_limits<double>::quiet_NaN();
    p.m_axes[0].m_endX = -std::numeric_limits<double>::infinity();
    p.m_axes[0].m_startValue = 5e-324;
    p.m_axes[0].m_endValue = DBL_MAX;
    p.m_axes[1].m_labelText.m_font.lfFaceName[20] = u'x'; // bytes after the terminator
    p.m_axes[1].m_labelText.m_font.lfItalic = 255;
    p.m_texts.resize(1);
    p.m_texts[0].m_anchor = static_cast<TextAnchor>(-3);
    d.m_design.m_plots = {p};
    CConnectInfo c;
    c.m_plotIds = {INT32_MIN, 0, 7};
    d.m_design.m_connects = {c, CConnectInfo()};
    CBarInfo b;
    b.m_initialValue = 0.1;
    b.m_reserved = 12345;
    b.m_axis.m_unit = QStringLiteral("℃");
    d.m_design.m_bars = {b};
    return d;
}

} // namespace

TEST(DesignJson, DumpThenPackGivesTheSameBytes)
{
    const QByteArray bytes = DocumentBytes(OddDocument());
    QByteArray json;
    EXPECT_EQ(DocumentRoundTrip(bytes, &json), bytes);
    EXPECT_TRUE(json.startsWith("{\n  \"type\": \"document\",\n  \"m_backgroundPath\": "));
    EXPECT_TRUE(json.contains("\"m_sizeStepValue\": \"inf\""));
    EXPECT_TRUE(json.contains("\"m_startX\": \"nan\""));
    EXPECT_TRUE(json.contains("\"m_sizeBaseValue\": -0.0"));
    EXPECT_TRUE(json.contains("\"m_color\": 4294967295"));
    EXPECT_TRUE(json.contains("\"m_shape\": 99"));
    EXPECT_TRUE(json.contains("\"lfFaceName\": \"ＭＳ Ｐゴシック\""));
    EXPECT_TRUE(json.contains("\\ud800end"));

    CDesignLists design = OddDocument().m_design;
    const QByteArray info = InfoBytes(design);
    CDesignLists read;
    ASSERT_TRUE(ReadInfoBytes(info, read));
    const QByteArray infoJson = InfoJson(read);
    EXPECT_TRUE(infoJson.startsWith("{\n  \"type\": \"info\",\n  \"plots\": ["));
    CJsonValue value;
    ASSERT_TRUE(ParseJson(infoJson, value, nullptr));
    CDesignLists packed;
    ASSERT_TRUE(InfoFromJson(value, packed, nullptr));
    EXPECT_EQ(InfoBytes(packed), info);
}

TEST(DesignJson, EveryDoubleReadsBackExactly)
{
    std::mt19937_64 random(7);
    CDocumentContent d;
    d.m_design.m_plots.resize(1);
    std::vector<CAxisInfo>& axes = d.m_design.m_plots[0].m_axes;
    axes.resize(300);
    for (CAxisInfo& a : axes) {
        for (double* v : {&a.m_startX, &a.m_startY, &a.m_endX, &a.m_endY, &a.m_startValue, &a.m_endValue}) {
            do
                *v = std::bit_cast<double>(random());
            while (std::isnan(*v));
        }
    }
    const QByteArray bytes = DocumentBytes(d);
    EXPECT_EQ(DocumentRoundTrip(bytes), bytes);
}

TEST(DesignJson, MissingKeysTakeTheClassDefaults)
{
    QByteArray bytes;
    ASSERT_EQ(PackInfo(R"({"plots": [{"m_id": 5, "m_axes": [{"m_fdNo": 3}, {}]}], "bars": [{}]})", &bytes), QString());
    CDesignLists expected;
    expected.m_plots.resize(1);
    expected.m_plots[0].m_id = 5;
    expected.m_plots[0].m_axes[0].m_fdNo = 3;
    expected.m_bars.resize(1);
    EXPECT_EQ(bytes, InfoBytes(expected));

    ASSERT_EQ(PackInfo("{}", &bytes), QString());
    EXPECT_EQ(bytes, QByteArray(12, '\0'));
}

TEST(DesignJson, MistakesNameTheirPath)
{
    EXPECT_EQ(PackInfo(R"({"plots": [{}, {"m_axes": [{"m_labelText": {"m_font": {"lfBold": 1}}}]}]})"),
              QStringLiteral("$.plots[1].m_axes[0].m_labelText.m_font.lfBold: unknown key"));
    EXPECT_EQ(PackInfo(R"({"plots": [{"m_size": "10"}]})"),
              QStringLiteral("$.plots[0].m_size: expected an integer from -2147483648 to 2147483647, found a string"));
    EXPECT_EQ(PackInfo(R"({"plots": [{"m_size": 1.5}]})"),
              QStringLiteral("$.plots[0].m_size: expected an integer from -2147483648 to 2147483647, found 1.5"));
    EXPECT_EQ(PackInfo(R"({"connections": [{"m_plotIds": [1, 2147483648]}]})"),
              QStringLiteral("$.connections[0].m_plotIds[1]: expected an integer from -2147483648 to 2147483647, found 2147483648"));
    EXPECT_EQ(PackInfo(R"({"bars": [{"m_line": {"m_color": -1}}]})"),
              QStringLiteral("$.bars[0].m_line.m_color: expected an integer from 0 to 4294967295, found -1"));
    EXPECT_EQ(PackInfo(R"({"bars": [{"m_initialValue": 1e999}]})"),
              QStringLiteral("$.bars[0].m_initialValue: 1e999 is out of the range of a double"));
    EXPECT_EQ(PackInfo(R"({"bars": [{"m_initialValue": "Infinity"}]})"),
              QStringLiteral("$.bars[0].m_initialValue: expected a number, \"inf\", \"-inf\" or \"nan\""));
    EXPECT_EQ(PackInfo(R"({"plots": {}})"), QStringLiteral("$.plots: expected an array, found an object"));
    EXPECT_EQ(PackInfo(R"({"plots": [3]})"), QStringLiteral("$.plots[0]: expected an object, found a number"));
    EXPECT_EQ(PackInfo(R"({"type": "document"})"), QStringLiteral("$.type: expected \"info\" for this file type"));
    EXPECT_EQ(PackInfo(R"({"m_backgroundPath": ""})"), QStringLiteral("$.m_backgroundPath: unknown key"));
    EXPECT_EQ(PackInfo(R"({"plots": [{"m_texts": [{"m_font": {"lfFaceName": "12345678901234567890123456789012"}}]}]})"),
              QStringLiteral("$.plots[0].m_texts[0].m_font.lfFaceName: a face name has at most 31 characters"));
    EXPECT_EQ(PackInfo("[]"), QStringLiteral("$: expected an object"));
    EXPECT_EQ(PackInfo(R"({"plots": [{}, {"m_axes": [{}]}]})"),
              QStringLiteral("$.plots[1].m_axes: a plot holds at least two axes"));
}

TEST(JsonReader, SyntaxErrorsGiveLineAndColumn)
{
    EXPECT_EQ(PackInfo("{\n  \"plots\": [,]\n}"), QStringLiteral("line 2, column 13: unexpected character"));
    EXPECT_EQ(PackInfo(R"({"plots": [], "plots": []})"), QStringLiteral("line 1, column 15: duplicate key \"plots\""));
    EXPECT_EQ(PackInfo("{} x"), QStringLiteral("line 1, column 4: unexpected text after the value"));
    EXPECT_EQ(PackInfo("{\"a\": 01}"), QStringLiteral("line 1, column 8: expected ',' or '}'"));
    EXPECT_EQ(PackInfo("\"abc"), QStringLiteral("line 1, column 5: unterminated string"));
    EXPECT_EQ(PackInfo(QByteArray(1000, '[').constData()), QStringLiteral("line 1, column 66: nested too deeply"));

    CJsonValue v;
    ASSERT_TRUE(ParseJson(R"(["\u00e9\ud83d\ude00", -0, 1E+2, true, null])", v, nullptr));
    EXPECT_EQ(v.m_array[0].m_string, QStringLiteral("é😀"));
    EXPECT_EQ(v.m_array[2].m_number, QByteArray("1E+2"));
}

TEST(JsonString, LoneSurrogatesTravelAsEscapesPairsAsUtf8)
{
    const QChar lone[] = {QChar(0xD800), QChar(u'a'), QChar(0xDC00)};
    EXPECT_EQ(JsonString(QStringView(lone, 3)), QByteArray(R"("\ud800a\udc00")"));
    EXPECT_EQ(JsonString(QString::fromUtf8("温度😀\n")), QByteArray("\"温度😀\\n\""));
}

// What a general-purpose parser would lose: numbers are kept as written, so that 64-bit
// integers, "-0" and out-of-range values reach the place that knows their type, and a lone
// surrogate (legal in the stored UTF-16 texts) comes back as its code unit.
TEST(JsonReader, NumbersKeepTheirTextLoneSurrogatesTheirCodeUnit)
{
    CJsonValue v;
    ASSERT_TRUE(ParseJson(R"([9223372036854775807, -9223372036854775808, 18446744073709551616,
                              0.30000000000000004, -0, 1e999, "a\ud800b\udfff"])", v, nullptr));
    const QByteArray numbers[] = {"9223372036854775807", "-9223372036854775808", "18446744073709551616",
                                  "0.30000000000000004", "-0", "1e999"};
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(v.m_array[i].m_number, numbers[i]);
    const QChar expected[] = {QChar(u'a'), QChar(0xD800), QChar(u'b'), QChar(0xDFFF)};
    EXPECT_EQ(v.m_array[6].m_string, QString(expected, 4));
    EXPECT_EQ(JsonString(v.m_array[6].m_string), QByteArray(R"("a\ud800b\udfff")"));
}
