#include "tests/cli/CliRunner.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RenderRun
{
    int exitCode = -1;
    QStringList errorLines;
};

RenderRun Cli(const QStringList& args)
{
    const CliRun run = RunCli(args);
    RenderRun r;
    r.exitCode = run.exitCode;
    // Qt's own note about a missing runtime folder comes from the environment, not from us.
    for (const QString& line : QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1String("QStandardPaths:")))
            r.errorLines << line;
    }
    return r;
}

// A 300 x 150 document without a picture file and one red square plot that moves along a
// horizontal axis with FD 1 (0..100 over design x 0..2000 at y 500).
QString PackDocument(const QTemporaryDir& dir)
{
    const QString json = dir.filePath(QStringLiteral("doc.json"));
    const QString doc = dir.filePath(QStringLiteral("doc.t2"));
    WriteAll(json, R"({"m_pictureWidth": 300, "m_pictureHeight": 150, "plots": [{"m_id": 1, "m_shape": 1,
        "m_size": 10, "m_fill": 1, "m_color": 255, "m_axes": [{"m_fdNo": 1, "m_startX": 0, "m_startY": 500,
        "m_endX": 2000, "m_endY": 500, "m_endValue": 100, "m_originX": 0, "m_originY": 500}, {}]}]})");
    const RenderRun packed = Cli({QStringLiteral("pack"), json, doc});
    EXPECT_EQ(packed.exitCode, 0) << packed.errorLines.join(u'\n').toStdString();
    return doc;
}

} // namespace

TEST(CliRender, PlaysTheCsvAndWritesTheOverlayWithFrames)
{
    QTemporaryDir dir;
    const QString doc = PackDocument(dir);
    const QString csv = dir.filePath(QStringLiteral("in.csv"));
    // Code page 932 with CR LF, the last line without a line end.
    WriteAll(csv, "a,10\r\nb,20\r\n\x89\xB7\x93\x78,30\r\nc,50\r\n\x89\xB7\x93\x78,75");
    const QString out = dir.filePath(QStringLiteral("out.png"));

    const RenderRun r = Cli({QStringLiteral("render"), doc, QStringLiteral("--csv"), csv, QStringLiteral("--out"), out,
                             QStringLiteral("--size"), QStringLiteral("200x100"), QStringLiteral("--every"),
                             QStringLiteral("2")});
    ASSERT_EQ(r.exitCode, 0) << r.errorLines.join(u'\n').toStdString();
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255)); // no picture: the blue fill
    EXPECT_EQ(image.pixel(150, 50), qRgb(255, 0, 0)); // 75 at scale 0.1
    EXPECT_EQ(image.pixel(100, 50), qRgb(0, 0, 255));

    // Five records: frames after the second and the fourth.
    const QImage second(dir.filePath(QStringLiteral("out-000002.png")));
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second.pixel(100, 50), qRgb(255, 0, 0)); // 50
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("out-000001.png"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out-000003.png"))));

    // The scroll view shows the picture at its stored size.
    const RenderRun scroll = Cli({QStringLiteral("render"), doc, QStringLiteral("--csv"), csv,
                                  QStringLiteral("--out"), out, QStringLiteral("--view"), QStringLiteral("scroll")});
    ASSERT_EQ(scroll.exitCode, 0);
    const QImage scrolled(out);
    ASSERT_EQ(scrolled.size(), QSize(300, 150));
    EXPECT_EQ(scrolled.pixel(225, 75), qRgb(255, 0, 0));
}

TEST(CliRender, FailuresGiveOneLineAndStatusOne)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.t2"));
    WriteAll(damaged, Bytes({0xFF, 0xFE, 0xFF, 0x40, 0x41}));

    const QStringList cases[] = {
        {QStringLiteral("render"), dir.filePath(QStringLiteral("missing.t2")), QStringLiteral("--out"), out},
        {QStringLiteral("render"), damaged, QStringLiteral("--out"), out},
        {QStringLiteral("render"), PackDocument(dir), QStringLiteral("--csv"), dir.filePath(QStringLiteral("none.csv")),
         QStringLiteral("--out"), out},
        {QStringLiteral("render"), PackDocument(dir), QStringLiteral("--out"), dir.filePath(QStringLiteral("no/such/dir/x.png"))},
    };
    for (const QStringList& args : cases) {
        const RenderRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_EQ(r.errorLines.size(), 1) << r.errorLines.join(u'\n').toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));

    EXPECT_EQ(Cli({QStringLiteral("render"), QStringLiteral("--size"), QStringLiteral("0x5")}).exitCode, 2);
}
