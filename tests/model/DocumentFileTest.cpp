#include "model/DocumentFiles.h"
#include "model/VantrelDoc.h"
#include "platform/Archive.h"
#include "platform/UserInteraction.h"
#include "tests/support/DiskFaults.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Int32(int32_t v)
{
    return Bytes({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF});
}

QByteArray Double(double v)
{
    CArchive ar;
    ar.WriteDouble(v);
    return ar.Bytes();
}

// A design worth reading back: every list and nested list holds something.
void FillDesign(std::vector<CPlotInfo>& plots, std::vector<CConnectInfo>& connects, std::vector<CBarInfo>& bars)
{
    CPlotInfo p;
    p.m_id = 3;
    p.m_includePrefixes = {QStringLiteral("A"), QStringLiteral("温度")};
    p.m_ignorePrefixes = {QStringLiteral("#")};
    p.m_texts.resize(2);
    p.m_texts[1].m_prefix = QStringLiteral("℃");
    p.m_axes[1].m_unit = QStringLiteral("mm");
    p.m_comment = QStringLiteral("comment");
    plots = {p, CPlotInfo()};
    CConnectInfo c;
    c.m_plotIds = {3, 0};
    c.m_closed = 1;
    connects = {c};
    CBarInfo b;
    b.m_id = 8;
    b.m_initialValue = 0.25;
    b.m_texts.resize(1);
    b.m_ignorePrefixes = {QStringLiteral("x")};
    bars = {b};
}

QByteArray SaveBytes(CVantrelDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.Bytes();
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

TEST(InfoFile, EmptyDesignIsTwelveZeroBytes)
{
    QTemporaryDir dir;
    CVantrelDoc doc;
    const QString path = dir.filePath(QStringLiteral("empty.vnf"));
    ASSERT_TRUE(doc.SaveInfoFile(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(12, '\0'));
}

TEST(DesignBytes, DefaultPlotFieldByField)
{
    CArchive axis;
    CAxisInfo().Serialize(axis); // pinned byte for byte by the axis tests
    const QByteArray expected = Int32(0)                    // m_id
                                + Int32(0) + Int32(0)       // m_displayKind Latest, m_shape Circle
                                + Int32(10)                 // m_size
                                + Int32(0) + Int32(0)       // m_color, m_fill
                                + Int32(1)                  // m_lineWidth
                                + Int32(0) + Int32(0)       // m_variableSize, m_sizeFdNo
                                + Int32(0)                  // m_sizeValueKind Instant
                                + Double(0.0) + Double(1.0) // m_sizeBaseValue, m_sizeStepValue
                                + Int32(0) + Int32(0)       // both prefix lists empty
                                + Int32(0) + Int32(0)       // m_originKind Fixed, m_originPlotId
                                + Int32(1)                  // m_axisCount
                                + Int32(2) + axis.Bytes() + axis.Bytes()
                                + Int32(0)                  // no texts
                                + Int32(0) + Int32(0) + Int32(0) + Int32(1) + Int32(0) // m_historyLine
                                + Bytes({0xFF, 0xFE, 0xFF, 0}); // m_comment ""
    CArchive ar;
    CPlotInfo().Serialize(ar);
    EXPECT_EQ(ar.Bytes(), expected);
}

TEST(DesignBytes, BarFieldByFieldDefaultAndDistinct)
{
    CArchive axis;
    CAxisInfo().Serialize(axis);
    CArchive text;
    CTextInfo().Serialize(text);
    const QByteArray empty = Bytes({0xFF, 0xFE, 0xFF, 0});
    const QByteArray defaults = Int32(0)                   // m_id
                                + Double(0.0)              // m_initialValue
                                + Int32(0)                 // m_reserved
                                + axis.Bytes()             // m_axis
                                + Int32(0)                 // m_anchor Center
                                + Int32(1) + Int32(0) + Int32(0) + Int32(1) + Int32(0) // m_line
                                + Int32(0) + Int32(0)      // both prefix lists empty
                                + Int32(0)                 // no texts
                                + empty;                   // m_comment
    CArchive ar;
    CBarInfo().Serialize(ar);
    EXPECT_EQ(ar.Bytes(), defaults);

    // Every field apart from its neighbours, so that two swapped fields show.
    CBarInfo bar;
    bar.m_id = 7;
    bar.m_initialValue = 0.5;
    bar.m_reserved = 9;
    bar.m_anchor = BarAnchor::End;
    bar.m_line.m_style = LineStyle::DashDot;
    bar.m_line.m_color = 0x123456;
    bar.m_line.m_width = 4;
    bar.m_line.m_length = 5;
    bar.m_includePrefixes = {QStringLiteral("A")};
    bar.m_ignorePrefixes = {QStringLiteral("B"), QStringLiteral("C")};
    bar.m_texts.resize(1);
    bar.m_comment = QStringLiteral("c");
    const auto one = [](char c) { return Bytes({0xFF, 0xFE, 0xFF, 1, c, 0}); };
    const QByteArray distinct = Int32(7) + Double(0.5) + Int32(9) + axis.Bytes() + Int32(2)
                                + Int32(1) + Int32(3) + Int32(0x123456) + Int32(4) + Int32(5)
                                + Int32(1) + one('A') + Int32(2) + one('B') + one('C')
                                + Int32(1) + text.Bytes() + one('c');
    CArchive out;
    bar.Serialize(out);
    EXPECT_EQ(out.Bytes(), distinct);
    CArchive in(distinct);
    CBarInfo back;
    back.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0);
    CArchive again;
    back.Serialize(again);
    EXPECT_EQ(again.Bytes(), distinct);
}

TEST(DesignBytes, ConnectionFieldByFieldDefaultAndDistinct)
{
    const QByteArray defaults = Int32(0) + Int32(0)        // m_id, m_displayKind Latest
                                + Int32(0)                 // no plot IDs
                                + Int32(0)                 // m_closed
                                + Int32(1) + Int32(0) + Int32(0) + Int32(1) + Int32(0) // m_line
                                + Bytes({0xFF, 0xFE, 0xFF, 0}); // m_comment
    CArchive ar;
    CConnectInfo().Serialize(ar);
    EXPECT_EQ(ar.Bytes(), defaults);

    CConnectInfo connect;
    connect.m_id = 7;
    connect.m_displayKind = DisplayKind::History;
    connect.m_plotIds = {3, -2, 5};
    connect.m_closed = 4;
    connect.m_line.m_show = 0;
    connect.m_line.m_style = LineStyle::Dot;
    connect.m_line.m_color = 0xABCDEF;
    connect.m_line.m_width = 6;
    connect.m_line.m_length = 8;
    connect.m_comment = QStringLiteral("x");
    const QByteArray distinct = Int32(7) + Int32(1) + Int32(3) + Int32(3) + Int32(-2) + Int32(5) + Int32(4)
                                + Int32(0) + Int32(2) + Int32(0xABCDEF) + Int32(6) + Int32(8)
                                + Bytes({0xFF, 0xFE, 0xFF, 1, 'x', 0});
    CArchive out;
    connect.Serialize(out);
    EXPECT_EQ(out.Bytes(), distinct);
    CArchive in(distinct);
    CConnectInfo back;
    back.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0);
    CArchive again;
    back.Serialize(again);
    EXPECT_EQ(again.Bytes(), distinct);
}

TEST(DesignBytes, DocumentWithLongPictureNameAndTwoPlacements)
{
    const QString picture = QStringLiteral("C:\\") + QString(297, QLatin1Char('p')); // 300 units
    QByteArray expected = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}); // unicode, 16-bit length 300
    for (QChar c : picture)
        expected += Bytes({c.unicode() & 0xFF, c.unicode() >> 8});
    expected += Int32(480) + Int32(640);                                           // height, width
    expected += Int32(2) + Int32(10) + Int32(20) + Int32(410) + Int32(320)         // two placements
                + Int32(-5) + Int32(0) + Int32(300) + Int32(200);
    expected += Int32(0) + Int32(0) + Int32(0);                                    // no design

    CVantrelDoc doc;
    doc.m_backgroundPath = picture;
    doc.m_pictureHeight = 480;
    doc.m_pictureWidth = 640;
    doc.m_viewInfos = {CViewInfo(10, 20, 410, 320), CViewInfo(-5, 0, 300, 200)};
    EXPECT_EQ(SaveBytes(doc), expected);

    CVantrelDoc loaded;
    CArchive in(expected);
    loaded.Serialize(in);
    EXPECT_EQ(loaded.m_backgroundPath, picture);
    EXPECT_EQ(loaded.m_pictureHeight, 480);
    EXPECT_EQ(loaded.m_pictureWidth, 640);
    EXPECT_EQ(loaded.m_viewInfos, doc.m_viewInfos);
    EXPECT_TRUE(loaded.m_image.isNull());
    EXPECT_EQ(SaveBytes(loaded), expected);
}

TEST(DocumentFile, SaveLoadSaveKeepsEveryByte)
{
    CVantrelDoc doc;
    doc.m_backgroundPath = QStringLiteral("/pics/背景.jpg");
    doc.m_viewInfos = {CViewInfo(1, 2, 3, 4)};
    FillDesign(doc.m_plots, doc.m_connects, doc.m_bars);
    const QByteArray bytes = SaveBytes(doc);

    CVantrelDoc loaded;
    CArchive in(bytes);
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0);
    ASSERT_EQ(loaded.m_plots.size(), 2u);
    EXPECT_EQ(loaded.m_plots[0].m_texts[1].m_prefix, QStringLiteral("℃"));
    EXPECT_EQ(loaded.m_connects[0].m_plotIds, (std::vector<int32_t>{3, 0}));
    EXPECT_EQ(SaveBytes(loaded), bytes);
}

TEST(DocumentFile, DamagedFileCutAnywhereLeavesTheDocumentUnchanged)
{
    CVantrelDoc source;
    source.m_backgroundPath = QStringLiteral("bg.bmp");
    source.m_viewInfos = {CViewInfo(1, 2, 3, 4)};
    FillDesign(source.m_plots, source.m_connects, source.m_bars);
    const QByteArray bytes = SaveBytes(source);

    CVantrelDoc doc;
    doc.m_backgroundPath = QStringLiteral("mine.jpg");
    doc.m_pictureWidth = 77;
    doc.m_plots.resize(1);
    doc.m_plots[0].m_id = 42;
    const QByteArray before = SaveBytes(doc);

    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        CArchive in(bytes.left(cut));
        try {
            doc.Serialize(in);
            ADD_FAILURE() << "a file cut at " << cut << " was accepted";
        } catch (const CArchiveError& e) {
            EXPECT_LE(e.Offset(), cut);
        }
        ASSERT_EQ(SaveBytes(doc), before) << "cut at " << cut;
    }
}

TEST(DocumentFile, ImpossibleCountsFailWithTheirOffset)
{
    QTemporaryDir dir;
    // Path "", sizes, no placements, then a plot count far beyond the file.
    const QByteArray bytes = Bytes({0}) + Int32(1) + Int32(1) + Int32(0) + Int32(0x7FFFFFFF);
    const QString path = WriteFile(dir, QStringLiteral("bad.t1"), bytes);
    CVantrelDoc doc;
    CFileError error;
    EXPECT_FALSE(doc.OpenDocumentFile(path, &error));
    EXPECT_EQ(error.m_offset, 13);
    EXPECT_TRUE(error.Text().startsWith(path + QStringLiteral(": ")));
    EXPECT_TRUE(error.Text().endsWith(QStringLiteral(" at byte offset 13")));
    EXPECT_TRUE(doc.m_filePath.isEmpty());

    CFileError missing;
    EXPECT_FALSE(doc.OpenDocumentFile(dir.filePath(QStringLiteral("none.t2")), &missing));
    EXPECT_EQ(missing.m_offset, 0);
}

TEST(DocumentFile, PlotWithoutItsTwoAxesIsRefused)
{
    CDesignLists design;
    design.m_plots.resize(2);
    design.m_plots[1].m_axes.resize(1);
    const QByteArray bytes = InfoBytes(design);
    CDesignLists read;
    CFileError error;
    EXPECT_FALSE(ReadInfoBytes(bytes, read, &error));
    // Second plot's axis count: after the list count, one whole plot and 76 bytes of fields.
    EXPECT_EQ(error.m_offset, 4 + InfoBytes(CDesignLists{{CPlotInfo()}, {}, {}}).size() - 12 + 76);
    EXPECT_TRUE(read.m_plots.empty());
}

TEST(InfoFile, OpenReplacesTheDesignAndKeepsPictureAndPlacements)
{
    QTemporaryDir dir;
    CVantrelDoc source;
    FillDesign(source.m_plots, source.m_connects, source.m_bars);
    const QString path = dir.filePath(QStringLiteral("design.vnf"));
    ASSERT_TRUE(source.SaveInfoFile(path));

    CVantrelDoc doc;
    doc.m_backgroundPath = QStringLiteral("keep.jpg");
    doc.m_viewInfos = {CViewInfo(1, 1, 9, 9)};
    CScriptedInteraction ui;
    ui.fileAnswers = {path};
    doc.OnInfoOpen(ui);
    EXPECT_TRUE(ui.Messages().size() == 1 && ui.calls[0].icon == MessageIcon::Question);
    EXPECT_EQ(ui.calls[1].file.title, QStringLiteral("読み込むVantrel情報ファイルを指定してください"));
    EXPECT_EQ(doc.m_plots.size(), 2u);
    EXPECT_EQ(doc.m_bars.size(), 1u);
    EXPECT_EQ(doc.m_backgroundPath, QStringLiteral("keep.jpg"));
    EXPECT_EQ(doc.m_viewInfos.size(), 1u);
    EXPECT_EQ(doc.m_modified, 0);
}

TEST(InfoFile, DamagedOpenChangesNothingAndSaysSo)
{
    QTemporaryDir dir;
    CVantrelDoc source;
    FillDesign(source.m_plots, source.m_connects, source.m_bars);
    ASSERT_TRUE(source.SaveInfoFile(dir.filePath(QStringLiteral("full.vnf"))));
    QFile full(dir.filePath(QStringLiteral("full.vnf")));
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    // Cut inside the bars: plots and connections were already complete.
    const QByteArray bytes = full.readAll();
    const QString cut = WriteFile(dir, QStringLiteral("cut.vnf"), bytes.left(bytes.size() - 3));

    CVantrelDoc doc;
    doc.m_plots.resize(1);
    doc.m_plots[0].m_id = 42;
    CScriptedInteraction ui;
    ui.fileAnswers = {cut};
    doc.OnInfoOpen(ui);
    EXPECT_EQ(ui.Messages(), (QStringList{QStringLiteral("現在の設定は失われますが続けますか？"),
                                          QStringLiteral("開けませんでした.")}));
    EXPECT_EQ(ui.calls.back().icon, MessageIcon::Stop);
    ASSERT_EQ(doc.m_plots.size(), 1u);
    EXPECT_EQ(doc.m_plots[0].m_id, 42);
    EXPECT_TRUE(doc.m_connects.empty());

    CScriptedInteraction declined;
    declined.messageAnswers = {MessageAnswer::No};
    doc.OnInfoOpen(declined);
    EXPECT_EQ(declined.calls.size(), 1u) << "no chooser after No";
}

TEST(InfoFile, SaveFailureIsReported)
{
    QTemporaryDir dir;
    CVantrelDoc doc;
    CScriptedInteraction ui;
    ui.fileAnswers = {dir.filePath(QStringLiteral("no/such/folder/x.vnf"))};
    doc.OnInfoSave(ui);
    EXPECT_EQ(ui.calls[0].file.defaultExtension, QStringLiteral("vnf"));
    EXPECT_EQ(ui.calls[0].file.filter, QStringLiteral("Vantrel情報ファイル(*.vnf)|*.vnf||"));
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("保存できませんでした.")});
}

TEST(DesignFiles, SaveOnAFaultyDiskKeepsThePreviousFileAndReportsIt)
{
    CVantrelDoc doc;
    doc.m_backgroundPath = QStringLiteral("/pics/a.png");
    FillDesign(doc.m_plots, doc.m_connects, doc.m_bars);
    doc.m_filePath = QStringLiteral("/docs/own.t1");
    doc.m_modified = 1;
    const QByteArray previous = SaveBytes(doc).left(40);

    for (const QString& name : {QStringLiteral("design.t1"), QStringLiteral("design.vnf")}) {
        ForEachDiskFault(name, previous, [&](CDiskFaultScope& scope) {
            QString error;
            if (name.endsWith(QLatin1String(".t1"))) {
                EXPECT_FALSE(doc.SaveDocumentFile(scope.Target(), &error));
                EXPECT_FALSE(error.isEmpty());
                // A failed save is not a save: the document keeps its file and its changes.
                EXPECT_EQ(doc.m_filePath, QStringLiteral("/docs/own.t1"));
                EXPECT_EQ(doc.m_modified, 1);
            } else {
                CScriptedInteraction ui;
                ui.fileAnswers = {scope.Target()};
                doc.OnInfoSave(ui);
                EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("保存できませんでした.")});
                EXPECT_EQ(ui.calls.back().icon, MessageIcon::Stop);
            }
            scope.Lift();
            EXPECT_EQ(ReadAll(scope.Target()), scope.Previous());
        });
    }
}

TEST(DocumentPicture, FoundBesideTheDocumentWhenTheStoredPathIsGone)
{
    QTemporaryDir dir;
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("Back.bmp")), "BMP"));

    CVantrelDoc source;
    source.m_backgroundPath = QStringLiteral("D:\\work\\pics\\BACK.BMP");
    source.m_pictureHeight = 400;
    source.m_pictureWidth = 800;
    const QString docPath = dir.filePath(QStringLiteral("design.t2"));
    ASSERT_TRUE(source.SaveDocumentFile(docPath));

    CVantrelDoc doc;
    ASSERT_TRUE(doc.OpenDocumentFile(docPath));
    EXPECT_EQ(doc.m_image.size(), QSize(8, 4));
    EXPECT_EQ(doc.m_backgroundPath, source.m_backgroundPath);
    EXPECT_EQ(doc.m_pictureHeight, 400) << "the stored size keeps the geometry";
    EXPECT_EQ(doc.m_filePath, docPath);

    QFile::remove(dir.filePath(QStringLiteral("Back.bmp")));
    CVantrelDoc missing;
    ASSERT_TRUE(missing.OpenDocumentFile(docPath));
    EXPECT_TRUE(missing.m_image.isNull());
    EXPECT_EQ(missing.m_pictureWidth, 800);
}

TEST(DocumentPicture, ChoosingAPictureSetsOrKeepsTheSizes)
{
    QTemporaryDir dir;
    QImage picture(6, 3, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString jpeg = dir.filePath(QStringLiteral("p.jpg"));
    ASSERT_TRUE(picture.save(jpeg, "JPEG"));

    CVantrelDoc doc;
    EXPECT_TRUE(doc.SetBackgroundPicture(jpeg, true));
    EXPECT_EQ(doc.m_pictureWidth, 6);
    EXPECT_EQ(doc.m_pictureHeight, 3);

    const QString broken = WriteFile(dir, QStringLiteral("broken.bmp"), QByteArray("BMnot really"));
    EXPECT_FALSE(doc.SetBackgroundPicture(broken, false));
    EXPECT_EQ(doc.m_pictureWidth, 6) << "the change command keeps the sizes";
    EXPECT_EQ(doc.m_backgroundPath, broken);
    EXPECT_FALSE(doc.SetBackgroundPicture(broken, true));
    EXPECT_EQ(doc.m_pictureWidth, 0) << "a new document without a picture has no size";
}
