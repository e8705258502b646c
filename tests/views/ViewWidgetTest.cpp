#include "ViewSupport.h"

#include "model/Enums.h"
#include "views/DocumentNotifier.h"
#include "views/StretchView.h"
#include "views/VantrelView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

std::unique_ptr<CViewWidget> MakeView(CVantrelDoc& doc, ViewKind kind)
{
    if (kind == ViewKind::Scroll)
        return std::make_unique<CVantrelView>(doc);
    return std::make_unique<CStretchView>(doc);
}

// Shown at size, laid out and with its layers, as a frame shows a new view.
void ShowView(CViewWidget& view, QSize size)
{
    view.resize(size);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.OnInitialUpdate();
    QCoreApplication::processEvents();
}

QImage VisiblePart(CViewWidget& view, QPoint offset)
{
    return view.Layers().Overlay().copy(QRect(offset, view.viewport()->size()));
}

} // namespace

TEST(ViewWidget, HintsRepaintAtOnceExactlyWhenTheTableSaysSo)
{
    struct Case
    {
        int32_t hint;
        bool repaints;
    };
    const Case cases[] = {{0, true}, {1, false}, {2, false}, {3, true}, {4, true}, {5, true}, {6, true}, {7, false}, {-1, false}};
    for (ViewKind kind : {ViewKind::Scroll, ViewKind::Stretch}) {
        auto doc = TrailDocument();
        auto view = MakeView(*doc, kind);
        ShowView(*view, QSize(400, 300));
        CPaintCounter counter(view->viewport());
        for (const Case& c : cases) {
            counter.m_paints = 0;
            view->OnUpdate(c.hint);
            // Counted before any event is served: a repaint is synchronous.
            EXPECT_EQ(counter.m_paints, c.repaints ? 1 : 0) << "kind " << int(kind) << " hint " << c.hint;
        }
    }
}

TEST(VantrelView, ShowsTheOverlayAtTheScrollOffsetAndFollowsANewPictureSize)
{
    auto doc = TrailDocument(1600, 900);
    CVantrelView view(*doc);
    ShowView(view, QSize(420, 260));
    const QSize page = view.viewport()->size();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 1600 - page.width());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 900 - page.height());
    EXPECT_EQ(view.horizontalScrollBar()->pageStep(), page.width());

    view.horizontalScrollBar()->setValue(333);
    view.verticalScrollBar()->setValue(77);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.ScrollOffset(), QPoint(333, 77));
    EXPECT_EQ(Shown(view.viewport()), VisiblePart(view, QPoint(333, 77)));

    // A smaller picture: the range shrinks at once, and what lies beyond it is window colour.
    doc->m_pictureWidth = 300;
    doc->m_pictureHeight = 200;
    doc->m_image = doc->m_image.copy(0, 0, 300, 200);
    view.OnUpdate(6);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.Layers().Overlay().size(), QSize(300, 200));
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    const QImage shown = Shown(view.viewport());
    EXPECT_EQ(shown.copy(0, 0, 300, 200), view.Layers().Overlay());
    EXPECT_EQ(shown.pixel(350, 100), qRgb(255, 255, 255));
}

TEST(StretchView, ResizeDuringARunGivesThePictureOfAnUninterruptedRun)
{
    const CBuffer<FieldRow> rows = TrailRows(40);
    std::mutex storeLock;
    const auto run = [&](CVantrelDoc& doc, int from, int to) {
        for (int r = from; r < to; ++r)
            doc.ApplyDocData(RowItem(rows, r));
    };
    const auto start = [](CVantrelDoc& doc, CViewWidget& view, CDocumentNotifier& notifier) {
        notifier.SetHandler([&view](CVantrelDoc&, int32_t hint) { view.OnUpdate(hint); });
        doc.m_notifier = &notifier;
        doc.ResetFeed();
        doc.m_editMode = EditMode::Running;
    };

    auto resizedDoc = TrailDocument();
    CStretchView resized(*resizedDoc);
    resized.SetReplaySource({&storeLock, &rows, nullptr});
    ShowView(resized, QSize(640, 400));
    CDocumentNotifier resizedNotifier;
    start(*resizedDoc, resized, resizedNotifier);
    run(*resizedDoc, 0, 25);
    resized.resize(800, 450);
    QCoreApplication::processEvents();
    EXPECT_EQ(resized.Layers().Overlay().size(), QSize(800, 450));
    run(*resizedDoc, 25, 40);

    auto freshDoc = TrailDocument();
    CStretchView fresh(*freshDoc);
    ShowView(fresh, QSize(800, 450));
    CDocumentNotifier freshNotifier;
    start(*freshDoc, fresh, freshNotifier);
    run(*freshDoc, 0, 40);

    EXPECT_EQ(resized.Layers().Base(), fresh.Layers().Base());
    EXPECT_EQ(resized.Layers().Overlay(), fresh.Layers().Overlay());
    EXPECT_EQ(Shown(resized.viewport()), fresh.Layers().Overlay());
    resizedDoc->m_notifier = freshDoc->m_notifier = nullptr;
}

TEST(ViewWidget, EditMenuOnlyWhileTheDocumentIsIdle)
{
    struct Case
    {
        int32_t mode;
        bool shown;
    };
    const Case cases[] = {{EditMode::None, true},      {EditMode::Running, false}, {EditMode::PlotList, false},
                          {EditMode::PlotAdd, false},  {EditMode::ConnectChange, false},
                          {EditMode::BarList, false},  {EditMode::BarChange, false}};
    auto doc = TrailDocument();
    CStretchView view(*doc);
    ShowView(view, QSize(300, 200));
    QMenu menu;
    menu.addAction(QStringLiteral("背景画像変更..."));
    view.SetEditMenu(&menu);
    for (const Case& c : cases) {
        for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
            doc->m_editMode = c.mode;
            const QPoint local(40, 30);
            QContextMenuEvent event(reason, local, view.viewport()->mapToGlobal(local));
            QCoreApplication::sendEvent(view.viewport(), &event);
            EXPECT_EQ(menu.isVisible(), c.shown) << "mode " << c.mode << " reason " << int(reason);
            menu.hide();
        }
    }
    doc->m_editMode = EditMode::None;

    // Without a menu (or once the main window dropped it) the event is left to others.
    view.SetEditMenu(nullptr);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view.viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(view.viewport(), &event);
    EXPECT_FALSE(event.isAccepted());
}

TEST(ViewWidget, DocumentWithoutAPictureSizeAsksItsFrameToCloseOnce)
{
    for (ViewKind kind : {ViewKind::Scroll, ViewKind::Stretch}) {
        CVantrelDoc empty; // a new document whose picture choice was cancelled
        auto view = MakeView(empty, kind);
        QSignalSpy spy(view.get(), &CViewWidget::closeRequested);
        ShowView(*view, QSize(200, 200));
        view->viewport()->repaint();
        view->viewport()->repaint();
        QCoreApplication::processEvents();
        EXPECT_EQ(spy.count(), 1) << int(kind);

        auto doc = TrailDocument(40, 30);
        auto pictured = MakeView(*doc, kind);
        QSignalSpy quiet(pictured.get(), &CViewWidget::closeRequested);
        ShowView(*pictured, QSize(200, 200));
        pictured->viewport()->repaint();
        QCoreApplication::processEvents();
        EXPECT_EQ(quiet.count(), 0) << int(kind);
    }
}

TEST(ViewWidget, PictureTooLargeForLayersShowsTheBlueFill)
{
    CVantrelDoc doc;
    doc.m_pictureWidth = 2000000000;
    doc.m_pictureHeight = 2000000000;
    CVantrelView view(doc);
    ShowView(view, QSize(200, 150));
    EXPECT_FALSE(view.Layers().HasLayers());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    const QImage shown = Shown(view.viewport());
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), qRgb(0, 0, 255));
}

namespace {

// What the window holds, read back from the platform's buffer rather than painted anew.
QImage OnScreen(CViewWidget& view)
{
    QWidget* viewport = view.viewport();
    const QPoint at = viewport->mapTo(view.window(), QPoint(0, 0));
    return view.screen()
        ->grabWindow(view.window()->winId(), at.x(), at.y(), viewport->width(), viewport->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The smallest share of the viewport that one paint event covered.
class CPaintAreas : public QObject
{
public:
    explicit CPaintAreas(QWidget* widget) : m_widget(widget) { widget->installEventFilter(this); }
    double m_smallest = 1.0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            double area = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                area += double(r.width()) * r.height();
            m_smallest = std::min(m_smallest, area / (double(m_widget->width()) * m_widget->height()));
        }
        return false;
    }

private:
    QWidget* m_widget;
};

} // namespace

TEST(ViewWidget, RepaintingOnlyWhatChangedKeepsTheWindowShowingTheOverlay)
{
    const CBuffer<FieldRow> rows = TrailRows(50);
    for (ViewKind kind : {ViewKind::Scroll, ViewKind::Stretch}) {
        auto doc = TrailDocument();
        doc->m_plots[0].m_displayKind = DisplayKind::Latest; // the marker moves on the overlay
        doc->m_plots[0].m_size = 12;
        auto view = MakeView(*doc, kind);
        ShowView(*view, QSize(500, 320));
        QPoint offset(0, 0);
        if (kind == ViewKind::Scroll) {
            offset = QPoint(60, 500);
            view->horizontalScrollBar()->setValue(offset.x());
            view->verticalScrollBar()->setValue(offset.y());
            QCoreApplication::processEvents();
        }
        CDocumentNotifier notifier;
        notifier.SetHandler([&view](CVantrelDoc&, int32_t hint) { view->OnUpdate(hint); });
        doc->m_notifier = &notifier;
        doc->ResetFeed();
        doc->m_editMode = EditMode::Running;
        CPaintAreas areas(view->viewport());
        for (int r = 0; r < rows.GetCount(); ++r) {
            const int32_t type = r % 4 == 1 ? Apply : ApplyAndRepaint;
            doc->ApplyDocData(RowItem(rows, r, type));
            if (type == ApplyAndRepaint) {
                ASSERT_EQ(OnScreen(*view), VisiblePart(*view, offset)) << int(kind) << " row " << r;
            }
        }
        EXPECT_LT(areas.m_smallest, 0.5) << int(kind);
        doc->m_notifier = nullptr;
    }
}
