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
#include "render/DrawContext.h"
#include "render/LayerContent.h"
#include "render/UpdateHint.h"
#include "render/ViewLayers.h"

#include <QDir>
#include <QImage>
#include <QPainter>

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

// The layers restore, and the window repaints, only what drawing damaged. After every
// record the overlay must still be a full copy of the base with the current state on top,
// and a window that copied only the changed parts must show the same, whatever the hints,
// a mid-run resize with its replay, or an edit mode that follows.
TEST(DemoLayers, PartialCopiesGiveWhatFullCopiesGive)
{
    for (const ViewKind kind : {ViewKind::Scroll, ViewKind::Stretch}) {
        CVantrelDoc doc;
        ASSERT_TRUE(doc.OpenDocumentFile(DemoFile("demo.t2")));
        CMain main;
        COneDocumentHost host(doc);
        main.m_pApp = &host;
        CViewLayers view(doc, kind);
        view.SetClientSize(QSize(700, 420));
        view.SetReplaySource({&main.m_queueLock, &main.m_internalData, &main.m_fdInfos});
        view.CreateLayers();
        QImage window = view.Overlay().copy();
        view.TakeChangedRegion();

        // Applies the hint, then repaints the window as a view does.
        const auto update = [&](int32_t hint) {
            view.OnUpdate(hint);
            const QRegion changed = view.TakeChangedRegion();
            if (!HintAction(kind, hint).m_repaint)
                return;
            QPainter painter(&window);
            for (const QRect& r : changed)
                painter.drawImage(r, view.Overlay(), r);
        };
        const auto check = [&](const char* when, int row) {
            QImage full = view.Base().copy();
            {
                CDrawContext dc(full);
                DrawOverlayElements(dc, doc, view.Scale());
            }
            ASSERT_TRUE(view.Overlay() == full) << int(kind) << " " << when << " " << row;
            ASSERT_TRUE(window == view.Overlay()) << int(kind) << " " << when << " " << row;
        };

        main.PrepareStoreForRun();
        main.PrepareRun();
        doc.m_editMode = EditMode::Running;
        CTextFile csv;
        ASSERT_TRUE(csv.Open(DemoFile("demo.csv"), CTextFile::Mode::Read));
        QString line;
        for (int row = 0; row < 240 && csv.ReadLine(line); ++row) {
            main.ProcessLine(line);
            CDocData item = std::move(doc.m_feedQueue.front());
            doc.m_feedQueue.pop_front();
            // Now and then a batch: records that only accumulate on the base.
            if (row % 5 == 2 || row % 5 == 3)
                item.m_type = Apply;
            doc.ApplyDocData(item);
            update(item.m_type);
            if (item.m_type == Apply)
                continue; // the overlay waits for the batch's last record
            if (row % 37 == 36) {
                update(3);
                ASSERT_TRUE(view.Overlay() == view.Base()) << int(kind) << " copy " << row;
                update(4);
            }
            if (row == 150 && kind == ViewKind::Stretch) {
                view.OnSize(QSize(640, 400));
                window = view.Overlay().copy();
                view.TakeChangedRegion();
            }
            check("run", row);
        }

        doc.m_workPlots = doc.m_plots;
        doc.m_selectedIndex = 3;
        doc.m_editMode = EditMode::PlotList;
        update(5);
        check("edit", 0);
        doc.m_editMode = EditMode::None;
        update(5);
        check("idle", 0);
    }
}
