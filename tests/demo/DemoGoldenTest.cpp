// The bundled demo after its whole CSV, against a golden image.
//
// Text is left out of the comparison: its pixels depend on the machine's font rasteriser.
// The picture's own labels are at fixed places (demo/DemoLayout.h); the design's texts are
// found by drawing them again in other colours. Everything else may differ in at most a few
// pixels (rounding at the edges of filled shapes).
//
// To regenerate the golden image after an intended change of the demo or of the drawing,
// build and run
//   vantrel-cli render BUILD/demo/demo.t2 --csv BUILD/demo/demo.csv --out tests/demo/data/demo-golden.png
// (BUILD being the build folder), and look at the picture before committing it.

#include "tests/support/TestSupport.h"

#include "demo/DemoLayout.h"
#include "model/DocumentFeed.h"
#include "model/DocumentFiles.h"
#include "model/VantrelDoc.h"
#include "runtime/Main.h"
#include "platform/TextFile.h"
#include "render/ViewLayers.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const QSize kClient(1280, 800);
// A channel must move by more than this for a pixel to count as different.
constexpr int kChannelTolerance = 48;

class COneDocumentHost : public IDocumentHost
{
public:
    explicit COneDocumentHost(CVantrelDoc& doc) : m_doc(doc) {}
    int32_t TemplateCount() const override { return 2; }
    int32_t DocumentCount(int32_t t) const override { return t == 1 ? 1 : 0; }
    CVantrelDoc* Document(int32_t t, int32_t d) const override { return t == 1 && d == 0 ? &m_doc : nullptr; }
    bool OpenDocument(const QString&) override { return false; }
    void CloseAllDocuments() override {}
    CViewInfo MainWindowPlacement() const override { return {}; }
    void MoveMainWindow(const CViewInfo&) override {}

private:
    CVantrelDoc& m_doc;
};

class CLayerNotifier : public IDocumentNotifier
{
public:
    explicit CLayerNotifier(CViewLayers& layers) : m_layers(layers) {}
    void OnDocData(CVantrelDoc&, const CDocData& item) override { m_layers.OnUpdate(item.m_type); }

private:
    CViewLayers& m_layers;
};

QString DemoFile(const char* name)
{
    return QStringLiteral(VANTREL_DEMO_DIR "/") + QLatin1String(name);
}

void Recolor(CTextInfo& text)
{
    text.m_textColor ^= 0x00FFFFFF;
    text.m_backColor ^= 0x00FFFFFF;
    text.m_opaque = 1;
}

// Every text the design draws, in other colours.
void RecolorTexts(CVantrelDoc& doc)
{
    for (CPlotInfo& plot : doc.m_plots) {
        for (CTextInfo& text : plot.m_texts)
            Recolor(text);
        for (CAxisInfo& axis : plot.m_axes)
            Recolor(axis.m_labelText);
    }
    for (CBarInfo& bar : doc.m_bars) {
        for (CTextInfo& text : bar.m_texts)
            Recolor(text);
        Recolor(bar.m_axis.m_labelText);
    }
}

bool Differs(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > kChannelTolerance || std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance
        || std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance;
}

// The pixels that differ between two images, grown by margin on every side.
QImage DifferenceMask(const QImage& a, const QImage& b, int margin)
{
    QImage mask(a.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            for (int yy = std::max(0, y - margin); yy <= std::min(a.height() - 1, y + margin); ++yy)
                std::fill_n(mask.scanLine(yy) + std::max(0, x - margin), std::min(a.width() - 1, x + margin) - std::max(0, x - margin) + 1, 255);
        }
    }
    return mask;
}

} // namespace

TEST(DemoGolden, WholeRunMatchesTheGoldenImageOutsideTexts)
{
    const QImage golden(TestDataPath(QStringLiteral("demo/data/demo-golden.png")));
    ASSERT_FALSE(golden.isNull());

    CVantrelDoc doc;
    CFileError error;
    ASSERT_TRUE(doc.OpenDocumentFile(DemoFile("demo.t2"), &error)) << error.Text().toStdString();
    ASSERT_FALSE(doc.m_image.isNull()) << "the picture beside the document was not found";
    CMain main;
    COneDocumentHost host(doc);
    main.m_pApp = &host;

    CViewLayers view(doc, ViewKind::Stretch);
    view.SetClientSize(kClient);
    view.SetReplaySource({&main.m_queueLock, &main.m_internalData, &main.m_fdInfos});
    view.CreateLayers();
    CLayerNotifier notifier(view);
    doc.m_notifier = &notifier;

    // The pipeline's own steps on this thread; the feed applies the lot as one batch, as a
    // worker that fell behind would.
    main.PrepareStoreForRun();
    main.PrepareRun();
    doc.m_editMode = EditMode::Running;
    CTextFile csv;
    ASSERT_TRUE(csv.Open(DemoFile("demo.csv"), CTextFile::Mode::Read));
    QString line;
    while (csv.ReadLine(line))
        main.ProcessLine(line);
    ASSERT_FALSE(csv.HasError());
    ASSERT_GT(doc.m_feedQueue.size(), 2000u);
    while (!doc.m_feedQueue.empty()) {
        CDocData item = std::move(doc.m_feedQueue.front());
        doc.m_feedQueue.pop_front();
        if (!doc.m_feedQueue.empty())
            item.m_type = Apply;
        doc.ApplyDocData(item);
    }
    const QImage result = view.Overlay().copy();
    ASSERT_EQ(result.size(), golden.size());

    // Recreating the layers mid-run replays the stored rows into the very same picture.
    view.OnSize(kClient);
    EXPECT_TRUE(view.Overlay() == result);
    // Once more with the texts in other colours: whatever changes is text.
    RecolorTexts(doc);
    view.OnSize(kClient);
    QImage mask = DifferenceMask(result, view.Overlay(), 4);
    doc.m_editMode = EditMode::None;

    const double toLayer = view.PictureRect().height() / double(demo_layout::kHeight);
    for (const demo_layout::Label& label : demo_layout::kLabels) {
        const QRectF box(label.box.x() * toLayer, label.box.y() * toLayer, label.box.width() * toLayer,
                         label.box.height() * toLayer);
        for (int y = int(box.top()) - 2; y <= int(box.bottom()) + 2; ++y) {
            for (int x = int(box.left()) - 2; x <= int(box.right()) + 2; ++x) {
                if (mask.valid(x, y))
                    mask.scanLine(y)[x] = 255;
            }
        }
    }

    int masked = 0, different = 0;
    const QImage expected = golden.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            if (mask.constScanLine(y)[x]) {
                ++masked;
                continue;
            }
            different += Differs(result.pixel(x, y), expected.pixel(x, y));
        }
    }
    const int pixels = result.width() * result.height();
    EXPECT_LT(masked, pixels / 4);
    if (different > pixels / 1000) {
        const QString saved = QDir::temp().filePath(QStringLiteral("vantrel-demo-result.png"));
        result.save(saved);
        ADD_FAILURE() << different << " pixels differ from the golden image; the result is in " << saved.toStdString();
    }
}
