#include "tests/render/RenderSupport.h"

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/DocData.h"
#include "render/ViewLayers.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

namespace {

const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kMarkerRed = qRgb(255, 0, 0);

int CountColor(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color;
    }
    return n;
}

// Hands every applied record to the layers, as the view of the document's frame would.
class CLayerNotifier : public IDocumentNotifier
{
public:
    explicit CLayerNotifier(CViewLayers& layers) : m_layers(layers) {}
    void OnDocData(CVantrelDoc&, const CDocData& item) override { m_layers.OnUpdate(item.m_type); }

private:
    CViewLayers& m_layers;
};

// A stretch document on a 1600 x 900 picture (its file missing) with one History plot whose
// trail follows FD 1 across and FD 2 down.
std::unique_ptr<CVantrelDoc> TrailDocument()
{
    auto doc = std::make_unique<CVantrelDoc>();
    doc->m_pictureWidth = 1600;
    doc->m_pictureHeight = 900;
    CPlotInfo plot;
    plot.m_id = 1;
    plot.m_displayKind = DisplayKind::History;
    plot.m_size = 4;
    plot.m_fill = 1;
    plot.m_color = 0x0000FF;
    plot.m_axisCount = 2;
    CAxisInfo& x = plot.m_axes[0];
    x.m_fdNo = 1;
    x.m_startX = 100, x.m_startY = 900, x.m_endX = 1700, x.m_endY = 900;
    x.m_startValue = 0, x.m_endValue = 100;
    CAxisInfo& y = plot.m_axes[1];
    y.m_fdNo = 2;
    y.m_startX = 100, y.m_startY = 900, y.m_endX = 100, y.m_endY = 100;
    y.m_startValue = 0, y.m_endValue = 100;
    plot.ComputeOrigin();
    plot.m_historyLine.m_show = 1;
    plot.m_historyLine.m_color = 0x00FF00;
    doc->m_plots.push_back(plot);
    return doc;
}

CBuffer<FieldRow> Rows(int count)
{
    CBuffer<FieldRow> rows;
    for (int i = 0; i < count; ++i)
        rows.Add(FieldRow{QStringLiteral("PV"), QString::number(i * 100.0 / count), QString::number((i * 37) % 100)});
    return rows;
}

// A trail document with one view that follows its feed, as the view of its frame would.
struct CViewedRun
{
    std::unique_ptr<CVantrelDoc> doc = TrailDocument();
    CViewLayers view;
    CLayerNotifier notifier{view};

    CViewedRun(ViewKind kind, QSize client, const CReplaySource& source = {})
        : view(*doc, kind)
    {
        view.SetReplaySource(source);
        view.SetClientSize(client);
        view.CreateLayers();
        doc->m_notifier = &notifier;
    }
    // A new run: reset, Running, then rows from .. to applied with a repaint each.
    void Run(const CBuffer<FieldRow>& rows, int64_t from, int64_t to)
    {
        doc->ResetFeed();
        doc->m_editMode = EditMode::Running;
        for (int64_t r = from; r < to; ++r)
            doc->ApplyDocData(CDocData(ApplyAndRepaint, int32_t(r), rows.GetAt(r), nullptr));
    }
};

} // namespace

TEST(ViewLayers, StretchFitsThePictureAtTheTopLeftKeepingItsAspect)
{
    CLayerGeometry wide = StretchGeometry(QSize(1000, 1000), 1600, 900);
    EXPECT_EQ(wide.m_layerSize, QSize(1000, 1000));
    EXPECT_EQ(wide.m_pictureRect, QRect(QPoint(0, 0), QPoint(999, 561)));
    EXPECT_DOUBLE_EQ(wide.m_scale, 0.562);
    EXPECT_EQ(int(1000 * wide.m_scale), 562); // design y = 1000 lands on pixel row 562

    CLayerGeometry tall = StretchGeometry(QSize(1000, 300), 1600, 900);
    EXPECT_EQ(tall.m_pictureRect, QRect(0, 0, 533, 300));
    EXPECT_DOUBLE_EQ(tall.m_scale, 0.3);

    CLayerGeometry scroll = ScrollGeometry(1600, 900);
    EXPECT_EQ(scroll.m_layerSize, QSize(1600, 900));
    EXPECT_DOUBLE_EQ(scroll.m_scale, 0.9);
}

TEST(ViewLayers, MissingPictureGivesTheBlueFill)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 1600;
    doc.m_pictureHeight = 900;

    CViewLayers stretch(doc, ViewKind::Stretch);
    stretch.SetClientSize(QSize(1000, 1000));
    stretch.CreateLayers();
    const QImage& s = stretch.Overlay();
    EXPECT_EQ(s.pixel(0, 0), kBlue);
    EXPECT_EQ(s.pixel(999, 561), kBlue);
    EXPECT_EQ(s.pixel(999, 562), kWhite);
    EXPECT_EQ(s.pixel(0, 999), kWhite);

    CViewLayers scroll(doc, ViewKind::Scroll);
    scroll.CreateLayers();
    EXPECT_EQ(scroll.Overlay().size(), QSize(1600, 900));
    EXPECT_EQ(CountColor(scroll.Overlay(), kBlue), 1600 * 900);
}

TEST(ViewLayers, ScrollDrawsThePictureAtItsSizeWithItsAlpha)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 4;
    doc.m_pictureHeight = 2;
    doc.m_image = QImage(4, 2, QImage::Format_ARGB32);
    doc.m_image.fill(qRgba(255, 0, 0, 255));
    doc.m_image.setPixel(3, 1, qRgba(255, 0, 0, 0));

    CViewLayers scroll(doc, ViewKind::Scroll);
    scroll.CreateLayers();
    EXPECT_EQ(scroll.Overlay().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(scroll.Overlay().pixel(3, 1), kBlue);

    // The stretch view scales the picture into its rectangle.
    CViewLayers stretch(doc, ViewKind::Stretch);
    stretch.SetClientSize(QSize(40, 40));
    stretch.CreateLayers();
    EXPECT_EQ(stretch.PictureRect(), QRect(0, 0, 40, 20));
    EXPECT_EQ(stretch.Overlay().pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(stretch.Overlay().pixel(5, 25), kWhite);
}

TEST(ViewLayers, ChangedPictureKeepsTheStretchRectangleUntilTheNextResize)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 1600;
    doc.m_pictureHeight = 900;
    CViewLayers stretch(doc, ViewKind::Stretch);
    stretch.SetClientSize(QSize(1000, 1000));
    stretch.CreateLayers();

    doc.m_pictureWidth = doc.m_pictureHeight = 900;
    doc.m_image = QImage(900, 900, QImage::Format_RGB32);
    doc.m_image.fill(qRgb(0, 128, 0));
    EXPECT_TRUE(stretch.OnUpdate(6));
    EXPECT_EQ(stretch.PictureRect(), QRect(0, 0, 1000, 562));
    EXPECT_EQ(stretch.Overlay().pixel(999, 561), qRgb(0, 128, 0));
    EXPECT_EQ(stretch.Overlay().pixel(500, 800), kWhite);

    stretch.OnSize(QSize(1000, 1000));
    EXPECT_EQ(stretch.PictureRect(), QRect(0, 0, 1000, 1000));
    EXPECT_EQ(stretch.Overlay().pixel(500, 800), qRgb(0, 128, 0));

    // The scroll view takes the new picture size at once.
    doc.m_pictureWidth = 1600;
    CViewLayers scroll(doc, ViewKind::Scroll);
    scroll.CreateLayers();
    doc.m_pictureWidth = 900;
    scroll.OnUpdate(6);
    EXPECT_EQ(scroll.Overlay().size(), QSize(900, 900));
}

TEST(ViewLayers, ResizingDuringARunKeepsTheTrailsOfEveryStoredRow)
{
    const CBuffer<FieldRow> rows = Rows(40);
    std::mutex pipelineLock;
    CViewedRun resized(ViewKind::Stretch, QSize(640, 400), {&pipelineLock, &rows, nullptr});
    resized.Run(rows, 0, 40);
    resized.view.OnSize(QSize(800, 450));

    // The same run seen by a view that had the new size from the start.
    CViewedRun fresh(ViewKind::Stretch, QSize(800, 450));
    fresh.Run(rows, 0, 40);
    EXPECT_GT(CountColor(resized.view.Base(), kMarkerRed), 400);
    EXPECT_EQ(resized.view.Base(), fresh.view.Base());
    EXPECT_EQ(resized.view.Overlay(), fresh.view.Overlay());

    // Only stored rows come back: without the store only the newest step is left.
    CViewedRun bare(ViewKind::Stretch, QSize(640, 400));
    bare.Run(rows, 0, 40);
    bare.view.OnSize(QSize(800, 450));
    EXPECT_LT(CountColor(bare.view.Base(), kMarkerRed), 100);
}

TEST(ViewLayers, StretchLayersComeBackAfterASizeWithoutRoom)
{
    const CBuffer<FieldRow> rows = Rows(40);
    std::mutex pipelineLock;
    CViewedRun fresh(ViewKind::Stretch, QSize(800, 600));
    fresh.Run(rows, 0, 40);
    for (const QSize gone : {QSize(0, 0), QSize(800, 0), QSize(20000, 600)}) {
        CViewedRun shut(ViewKind::Stretch, QSize(640, 400), {&pipelineLock, &rows, nullptr});
        shut.Run(rows, 0, 40);
        shut.view.OnSize(gone);
        EXPECT_FALSE(shut.view.HasLayers());
        shut.view.OnSize(QSize(800, 600));
        ASSERT_TRUE(shut.view.HasLayers());
        EXPECT_EQ(shut.view.Base(), fresh.view.Base());
        EXPECT_EQ(shut.view.Overlay(), fresh.view.Overlay());
    }

    // A view first created without room gets its layers at the first usable size too.
    CViewedRun late(ViewKind::Stretch, QSize(0, 0), {&pipelineLock, &rows, nullptr});
    late.Run(rows, 0, 40);
    late.view.OnSize(QSize(800, 600));
    EXPECT_EQ(late.view.Overlay(), fresh.view.Overlay());
}

TEST(ViewLayers, HintsThreeAndFourTouchOnlyTheOverlay)
{
    // A Latest plot: its trail goes on the base layer, its marker on the overlay.
    for (const ViewKind kind : {ViewKind::Scroll, ViewKind::Stretch}) {
        CViewedRun run(kind, QSize(400, 225));
        run.doc->m_plots[0].m_displayKind = DisplayKind::Latest;
        const CBuffer<FieldRow> rows = Rows(4);
        run.Run(rows, 0, 2);
        const QImage base = run.view.Base();
        const QImage overlay = run.view.Overlay();
        ASSERT_NE(base, overlay);

        // A record applied without its notification: only the layers' hints draw it.
        run.doc->m_plots[0].UpdateFromRecord(CDocData(Apply, 2, rows.GetAt(2), nullptr));
        EXPECT_TRUE(run.view.OnUpdate(3));
        EXPECT_EQ(run.view.Overlay(), base);
        EXPECT_EQ(run.view.Base(), base);

        EXPECT_TRUE(run.view.OnUpdate(4));
        EXPECT_EQ(run.view.Base(), base) << "no trail segment for the new record";
        EXPECT_NE(run.view.Overlay(), overlay) << "the marker moved";
        EXPECT_EQ(CountColor(run.view.Overlay(), kMarkerRed), CountColor(overlay, kMarkerRed));
    }
}

TEST(ViewLayers, FirstRecordAfterAResetClearsEarlierTrails)
{
    const CBuffer<FieldRow> rows = Rows(20);
    CViewedRun run(ViewKind::Scroll, QSize());
    run.Run(rows, 0, 19);
    const QImage before = run.view.Base();
    run.Run(rows, 19, 20);

    CViewedRun fresh(ViewKind::Scroll, QSize());
    fresh.Run(rows, 19, 20);
    EXPECT_NE(before, fresh.view.Base());
    EXPECT_EQ(run.view.Base(), fresh.view.Base());

    // The scroll view has no size handling, so a resize changes nothing.
    run.view.OnSize(QSize(300, 300));
    EXPECT_EQ(run.view.Base(), fresh.view.Base());
}

TEST(ViewLayers, UnusablePictureSizesLeaveNoLayers)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 2000000000;
    doc.m_pictureHeight = 2000000000;
    CViewLayers scroll(doc, ViewKind::Scroll);
    scroll.CreateLayers();
    EXPECT_FALSE(scroll.HasLayers());
    EXPECT_FALSE(scroll.OnUpdate(1));
    EXPECT_TRUE(scroll.OnUpdate(5));

    doc.m_pictureWidth = 0;
    CViewLayers stretch(doc, ViewKind::Stretch);
    stretch.SetClientSize(QSize(100, 100));
    stretch.CreateLayers();
    EXPECT_TRUE(stretch.HasLayers());
    EXPECT_EQ(stretch.PictureRect(), QRect(0, 0, 100, 100));
}
