// Drawing cost of a running view at 1920 x 1080: the overlay (base-layer copy plus the
// current state of 100 plots with one text display each, 20 bars and 10 connections), the
// base layer's increment of the 100 plots for one record, and a baseline that draws the same
// shapes and texts with plain QPainter calls and no model. Then the bundled demo's scroll view
// after 1000 records: the layer work of one more record (base increment, overlay with the
// 300-row trend and the automatic-range history). For a machine-independent comparison, run
// that one under callgrind with --collect-atstart=no --toggle-collect='*RenderDemoRecord*'.
#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "pipeline/DocData.h"
#include "platform/TextFile.h"
#include "render/DrawContext.h"
#include "render/ElementDrawing.h"
#include "render/FontMapping.h"
#include "render/LayerContent.h"
#include "render/ViewLayers.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"

#include <QFontMetrics>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr double kScale = kHeight / 1000.0;
constexpr int kPlots = 100;
constexpr int kBars = 20;
constexpr int kConnects = 10;

// Plot i sits on a 10 x 10 grid, moved by FD 1 + i (x) and FD 2 + i (y) in 0 .. 1.
CPlotInfo ScenePlot(int i)
{
    CPlotInfo p;
    p.m_id = i;
    p.m_axisCount = 2;
    const double cx = 100 + (i % 10) * 160.0;
    const double cy = 60 + (i / 10) * 90.0;
    CAxisInfo& x = p.m_axes[0];
    x.m_fdNo = 1 + (i % 20);
    x.m_startX = cx, x.m_startY = cy, x.m_endX = cx + 120, x.m_endY = cy;
    CAxisInfo& y = p.m_axes[1];
    y.m_fdNo = 2 + (i % 20);
    y.m_startX = cx, y.m_startY = cy + 60, y.m_endX = cx, y.m_endY = cy;
    p.ComputeOrigin();
    p.m_shape = PlotShape(i % 7);
    p.m_fill = i % 2;
    p.m_size = 12 + i % 6;
    p.m_color = COLORREF(0x102030 * (1 + i % 7)) & 0xFFFFFF;
    CTextInfo t;
    t.m_fdNo = 1 + (i % 20);
    t.m_format = QStringLiteral("%.3f");
    t.m_anchor = TextAnchor(i % 9);
    p.m_texts = {t};
    p.m_historyLine.m_show = 1;
    p.m_historyLine.m_color = p.m_color;
    p.ResetRunState();
    return p;
}

CBarInfo SceneBar(int i)
{
    CBarInfo b;
    b.m_id = i;
    const double sx = 150 + i * 80.0, sy = 980;
    const double angle = -std::numbers::pi / 2 + (i % 5 - 2) * 0.3; // upward, some tilted
    b.m_axis.m_fdNo = 1 + i;
    b.m_axis.m_startX = sx, b.m_axis.m_startY = sy;
    b.m_axis.m_endX = sx + 150 * std::cos(angle), b.m_axis.m_endY = sy + 150 * std::sin(angle);
    b.m_anchor = BarAnchor::Start;
    b.m_initialValue = 1;
    b.m_line.m_width = 12;
    b.m_line.m_color = COLORREF(0x3060C0 + i * 0x10);
    b.SetOriginToStart();
    b.ResetRunState();
    return b;
}

CConnectInfo SceneConnect(int i)
{
    CConnectInfo c;
    c.m_id = i;
    for (int k = 0; k < 5; ++k)
        c.m_plotIds.push_back((i * 10 + k * 2) % kPlots);
    c.m_closed = 1;
    c.m_line.m_width = 1 + i % 2;
    c.m_line.m_color = 0x008000;
    return c;
}

CDocData SceneRecord(int r)
{
    QStringList fds{QStringLiteral("DATA")};
    for (int f = 1; f <= 22; ++f)
        fds << QString::number(0.5 + 0.45 * std::sin(r * 0.3 + f), 'f', 4);
    return CDocData(ApplyAndRepaint, r, FieldRow(fds), nullptr);
}

struct Scene
{
    CVantrelDoc doc;
    QImage base{kWidth, kHeight, QImage::Format_RGB32};
    QImage overlay{kWidth, kHeight, QImage::Format_RGB32};

    Scene()
    {
        for (int i = 0; i < kPlots; ++i)
            doc.m_plots.push_back(ScenePlot(i));
        for (int i = 0; i < kBars; ++i)
            doc.m_bars.push_back(SceneBar(i));
        for (int i = 0; i < kConnects; ++i)
            doc.m_connects.push_back(SceneConnect(i));
        doc.m_editMode = EditMode::Running;
        for (int r = 0; r < 2; ++r) {
            const CDocData record = SceneRecord(r);
            for (CPlotInfo& p : doc.m_plots)
                p.UpdateFromRecord(record);
            for (CBarInfo& b : doc.m_bars)
                b.UpdateFromRecord(record);
        }
        base.fill(qRgb(240, 244, 248));
    }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void BM_Overlay(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state) {
        CopyLayer(s.base, s.overlay);
        CDrawContext dc(s.overlay);
        DrawOverlayElements(dc, s.doc, kScale);
    }
}
BENCHMARK(BM_Overlay)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// History plots and texts: each step draws its trail segment, marker and text.
void BM_Increment(benchmark::State& state)
{
    Scene& s = TheScene();
    std::vector<CPlotInfo> plots = s.doc.m_plots;
    for (CPlotInfo& p : plots) {
        p.m_displayKind = DisplayKind::History;
        p.m_texts[0].m_displayKind = DisplayKind::History;
    }
    QImage layer = s.base.copy();
    for (auto _ : state) {
        CDrawContext dc(layer);
        for (const CPlotInfo& p : plots)
            DrawIncrement(dc, p, plots, kScale);
    }
}
BENCHMARK(BM_Increment)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// What the baseline draws, worked out once: pixel positions, radii and texts.
struct PlainMarker
{
    QPoint at;
    int radius;
    PlotShape shape;
    bool fill;
    QColor color;
    QString text;
    TextAnchor anchor;
};

struct PlainScene
{
    std::vector<PlainMarker> markers;
    std::vector<std::array<QPoint, 4>> bars;
    std::vector<QColor> barColors;
    std::vector<QLine> connectLines;
    QFont font;

    explicit PlainScene(Scene& s)
    {
        for (const CPlotInfo& p : s.doc.m_plots) {
            const QPointF pos = *p.GetPosition(s.doc.m_plots);
            markers.push_back({QPoint(int(pos.x() * kScale), int(pos.y() * kScale)), p.MarkerRadius(), p.m_shape,
                               p.m_fill != 0, QColor(p.m_color & 0xFF, (p.m_color >> 8) & 0xFF, p.m_color >> 16),
                               p.m_texts[0].FormatText(), p.m_texts[0].m_anchor});
        }
        for (const CBarInfo& b : s.doc.m_bars) {
            const QLine l = *b.BarSegment(kScale);
            const double a = std::atan2(l.dy(), l.dx());
            const int sn = int(std::sin(a) * 6), cs = int(std::cos(a) * 6);
            bars.push_back({QPoint(l.x1() + sn, l.y1() - cs), QPoint(l.x1() - sn, l.y1() + cs),
                            QPoint(l.x2() - sn, l.y2() + cs), QPoint(l.x2() + sn, l.y2() - cs)});
            barColors.push_back(QColor(b.m_line.m_color & 0xFF, (b.m_line.m_color >> 8) & 0xFF, b.m_line.m_color >> 16));
        }
        for (const CConnectInfo& c : s.doc.m_connects) {
            for (const QLine& l : c.Segments(s.doc.m_plots, kScale))
                connectLines.push_back(l);
        }
        font = FontFromLogFont(CTextInfo::DefaultFont());
    }
};

void DrawPlainMarker(QPainter& painter, const PlainMarker& m)
{
    const int x = m.at.x(), y = m.at.y(), r = m.radius;
    painter.setPen(QPen(m.color, 0, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(m.fill ? QBrush(m.color) : QBrush(Qt::NoBrush));
    switch (m.shape) {
    case PlotShape::Circle: painter.drawEllipse(QRect(x - r, y - r, 2 * r - 1, 2 * r - 1)); break;
    case PlotShape::Square:
        if (m.fill)
            painter.fillRect(QRect(x - r, y - r, 2 * r, 2 * r), m.color);
        else
            painter.drawRect(QRect(x - r, y - r, 2 * r - 1, 2 * r - 1));
        break;
    case PlotShape::Diamond: {
        const QPoint pts[] = {{x, y - r}, {x - r, y}, {x, y + r}, {x + r, y}};
        painter.drawPolygon(pts, 4);
        break;
    }
    case PlotShape::TriangleUp: {
        const QPoint pts[] = {{x, y - r}, {x - r, y + r}, {x + r, y + r}};
        painter.drawPolygon(pts, 3);
        break;
    }
    case PlotShape::TriangleDown: {
        const QPoint pts[] = {{x - r, y - r}, {x + r, y - r}, {x, y + r}};
        painter.drawPolygon(pts, 3);
        break;
    }
    case PlotShape::Cross:
        painter.drawLine(x - r, y - r, x + r, y + r);
        painter.drawLine(x - r, y + r, x + r, y - r);
        break;
    case PlotShape::Plus:
        painter.drawLine(x, y - r, x, y + r);
        painter.drawLine(x - r, y, x + r, y);
        break;
    }
}

void BM_PlainQPainterBaseline(benchmark::State& state)
{
    Scene& s = TheScene();
    const PlainScene plain(s);
    const QFontMetrics metrics(plain.font);
    for (auto _ : state) {
        std::memcpy(s.overlay.bits(), s.base.constBits(), size_t(s.base.sizeInBytes()));
        QPainter painter(&s.overlay);
        painter.setFont(plain.font);
        painter.setPen(QPen(QColor(0, 128, 0), 0, Qt::SolidLine, Qt::FlatCap));
        for (const QLine& l : plain.connectLines)
            painter.drawLine(l);
        for (const PlainMarker& m : plain.markers) {
            DrawPlainMarker(painter, m);
            const QSize extent(metrics.horizontalAdvance(m.text), metrics.height());
            const QPoint corner = m.at - QPoint(extent.width() / 2, extent.height() + 10);
            painter.fillRect(QRect(corner, extent), Qt::white);
            painter.setPen(Qt::red);
            painter.drawText(corner + QPoint(0, metrics.ascent()), m.text);
        }
        painter.setPen(Qt::NoPen);
        for (size_t i = 0; i < plain.bars.size(); ++i) {
            painter.setBrush(plain.barColors[i]);
            painter.drawPolygon(plain.bars[i].data(), 4);
        }
    }
}
BENCHMARK(BM_PlainQPainterBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// --- the demo ---

class CDemoHost : public IDocumentHost
{
public:
    explicit CDemoHost(CVantrelDoc& doc) : m_doc(doc) {}
    int32_t TemplateCount() const override { return 2; }
    int32_t DocumentCount(int32_t t) const override { return t == 0 ? 1 : 0; }
    CVantrelDoc* Document(int32_t, int32_t) const override { return &m_doc; }
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

// The demo document in a scroll view, 1000 records into a run.
struct DemoScene
{
    CVantrelDoc doc;
    CMain main;
    CDemoHost host{doc};
    std::unique_ptr<CViewLayers> layers;
    bool ok = false;

    DemoScene()
    {
        if (!doc.OpenDocumentFile(QStringLiteral(VANTREL_DEMO_DIR "/demo.t2")) || doc.m_image.isNull())
            return;
        CTextFile csv;
        if (!csv.Open(QStringLiteral(VANTREL_DEMO_DIR "/demo.csv"), CTextFile::Mode::Read))
            return;
        main.m_pApp = &host;
        main.m_keepInternal = 0;
        layers = std::make_unique<CViewLayers>(doc, ViewKind::Scroll);
        layers->CreateLayers();
        CLayerNotifier notifier(*layers);
        doc.m_notifier = &notifier;
        main.PrepareStoreForRun();
        main.PrepareRun();
        doc.m_editMode = EditMode::Running;
        QString line;
        for (int i = 0; i < 1000 && csv.ReadLine(line); ++i)
            main.ProcessLine(line);
        while (!doc.m_feedQueue.empty()) {
            const CDocData item = std::move(doc.m_feedQueue.front());
            doc.m_feedQueue.pop_front();
            doc.ApplyDocData(item);
        }
        doc.m_notifier = nullptr;
        ok = doc.m_currentRow >= 999;
    }
};

DemoScene& TheDemo()
{
    static DemoScene scene;
    return scene;
}

// What a view does with each record it repaints for.
__attribute__((noinline)) void RenderDemoRecord(CViewLayers& layers)
{
    layers.OnUpdate(ApplyAndRepaint);
}

void BM_DemoRecord(benchmark::State& state)
{
    DemoScene& s = TheDemo();
    if (!s.ok) {
        state.SkipWithError("the demo is not built");
        return;
    }
    for (auto _ : state)
        RenderDemoRecord(*s.layers);
}
BENCHMARK(BM_DemoRecord)->Unit(benchmark::kMicrosecond)->Iterations(300);

} // namespace
