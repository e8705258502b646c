#include "ViewSupport.h"

#include "dialogs/EditDialog.h"
#include "model/Enums.h"
#include "views/StretchView.h"
#include "views/VantrelView.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace EditControl;

// The fields in the order the tables list their texts ("-" for an empty field).
const int kControls[] = {Axis1StartX, Axis1StartY, Axis1EndX, Axis1EndY, Axis2StartX, Axis2StartY,
                         Axis2EndX,   Axis2EndY,   PlotSize,  BarPixelWidth};

// An edit dialog with every field the gestures fill; Apply only counts.
class CStubEditDialog : public CEditDialog
{
public:
    CStubEditDialog() : CEditDialog(CEditContext(), nullptr)
    {
        auto* layout = new QVBoxLayout(this);
        for (int control : kControls) {
            RegisterField(control, new QLineEdit(this));
            layout->addWidget(Field(control));
        }
        layout->addWidget(CreateButtonRow());
    }
    QString All() const
    {
        QStringList texts;
        for (int control : kControls)
            texts << (FieldText(control).isEmpty() ? QStringLiteral("-") : FieldText(control));
        return texts.join(' ');
    }
    void Fill(const QString& all)
    {
        const QStringList texts = all.split(' ', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < texts.size(); ++i)
            SetFieldText(kControls[i], texts[i] == "-" ? QString() : texts[i]);
    }
    int m_applies = 0;

protected:
    bool ApplyFields() override { return ++m_applies, true; }
    void CancelEdit() override {}
};

// Stretch: an 800 x 500 picture in an 800 x 600 window, so the picture rectangle is 500 high.
// Scroll: a picture 2000 high, scrolled down by 300.
struct CBench
{
    CBench(ViewKind kind, int32_t mode, bool layers = true)
    {
        const bool stretch = kind == ViewKind::Stretch;
        doc = stretch ? TrailDocument(800, 500) : TrailDocument(600, 2000);
        doc->m_editMode = mode;
        if (stretch)
            view = std::make_unique<CStretchView>(*doc);
        else
            view = std::make_unique<CVantrelView>(*doc);
        view->resize(stretch ? QSize(800, 600) : QSize(400, 300));
        view->SetEditDialogSource([this] { return dialog.get(); });
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        if (layers)
            view->OnInitialUpdate();
        view->verticalScrollBar()->setValue(300);
        QCoreApplication::processEvents();
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QWidget* viewport = view->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, keys, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, keys, to);
        QCoreApplication::processEvents(); // the queued Apply
    }

    std::unique_ptr<CVantrelDoc> doc;
    std::unique_ptr<CStubEditDialog> dialog = std::make_unique<CStubEditDialog>();
    std::unique_ptr<CViewWidget> view;
};

} // namespace

TEST(MouseGesture, WritesTheFieldsOfTheKindAndModeAndPressesApply)
{
    struct Case
    {
        const char* name;
        ViewKind view;
        int32_t mode;
        Qt::KeyboardModifiers keys;
        QPoint from, to;
        const char* before;
        const char* after; // Apply is pressed exactly when a field changed
    };
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const auto stretch = ViewKind::Stretch, scroll = ViewKind::Scroll;
    const char* axes = "100 100 300 100 0 0 0 500abc";
    const char* clickAt200 = "400.000 400.000 400.000 400.000 400.000 400.000 400.000 400.000 - -";
    const Case cases[] = {
        {"2 px is a click", stretch, EditMode::PlotAdd, none, {200, 200}, {198, 200}, "", clickAt200},
        {"2 x 2 px is a click", stretch, EditMode::PlotAdd, none, {200, 200}, {202, 202}, "", clickAt200},
        {"3 px is a drag", stretch, EditMode::PlotAdd, none, {200, 200}, {200, 203}, "",
         "400.000 400.000 400.000 406.000 - - - - - -"},
        {"plain drag", stretch, EditMode::PlotAdd, none, {250, 100}, {450, 100}, "",
         "500.000 200.000 900.000 200.000 - - - - - -"},
        {"released outside", stretch, EditMode::BarChange, none, {10, 10}, {-20, 10}, "",
         "20.000 20.000 -40.000 20.000 - - - - - -"},
        {"scrolled drag", scroll, EditMode::BarAdd, none, {100, 100}, {300, 100}, "",
         "50.000 200.000 150.000 200.000 - - - - - -"},
        {"click moves both axes", scroll, EditMode::PlotChange, none, {100, 100}, {100, 100}, axes,
         "50.000 200.000 250.000 200.000 50.000 200.000 50.000 700.000 - -"},
        {"click in bar mode", scroll, EditMode::BarAdd, none, {100, 100}, {101, 101}, axes,
         "50.000 200.000 250.000 200.000 0 0 0 500abc - -"},
        {"click on no number", scroll, EditMode::BarChange, none, {100, 100}, {100, 100}, "100 100 abc 100",
         "50.000 200.000 50.000 200.000 - - - - - -"},
        {"shift circle 41 x 20", stretch, EditMode::PlotAdd, shift, {100, 100}, {141, 120}, "",
         "- - - - - - - - 40 -"},
        {"alt does not count", stretch, EditMode::PlotAdd, shift | Qt::AltModifier, {141, 120}, {100, 100}, "",
         "- - - - - - - - 40 -"},
        {"shift in bar mode", stretch, EditMode::BarAdd, shift, {100, 100}, {141, 120}, "", "- - - - - - - - - -"},
        {"ctrl square 10 x 31", stretch, EditMode::BarChange, ctrl, {100, 100}, {110, 131}, "",
         "- - - - - - - - - 30"},
        {"ctrl drag moves axis 2", stretch, EditMode::PlotChange, ctrl, {250, 100}, {450, 100}, "",
         "- - - - 500.000 200.000 900.000 200.000 - -"},
        {"shift and ctrl", stretch, EditMode::PlotAdd, shift | ctrl, {100, 100}, {141, 120}, "",
         "- - - - - - - - - -"},
        {"shift click", stretch, EditMode::PlotAdd, shift, {100, 100}, {101, 101}, axes,
         "100 100 300 100 0 0 0 500abc - -"},
    };
    for (const Case& c : cases) {
        CBench bench(c.view, c.mode);
        EXPECT_EQ(bench.view->viewport()->cursor().shape(), Qt::CrossCursor) << c.name;
        bench.dialog->Fill(c.before);
        const QString before = bench.dialog->All();
        bench.Drag(c.from, c.to, c.keys);
        EXPECT_EQ(bench.dialog->All(), c.after) << c.name;
        EXPECT_EQ(bench.dialog->m_applies, bench.dialog->All() == before ? 0 : 1) << c.name;
    }
}

TEST(MouseGesture, OnlyPlotAndBarEditModesTakeTheMouseAndShowTheCross)
{
    CBench bench(ViewKind::Scroll, EditMode::None);
    QWidget* viewport = bench.view->viewport();
    // Taken in and out of the edit modes, so that every change of cursor is seen.
    for (int32_t mode : {3, 2, 4, 5, 9, 6, 10, 7, 3, 8, 1, 0}) {
        const bool active = mode == 3 || mode == 4 || mode == 9 || mode == 10;
        bench.doc->m_editMode = mode;
        bench.view->OnUpdate(mode == EditMode::PlotList ? 1 : 5);
        const bool cross = viewport->testAttribute(Qt::WA_SetCursor) && viewport->cursor().shape() == Qt::CrossCursor;
        EXPECT_EQ(cross, active) << mode;
        const QString before = bench.dialog->All();
        const int applies = bench.dialog->m_applies;
        bench.Drag({100, 100}, {200, 100 + 10 * mode});
        EXPECT_EQ(bench.dialog->All() != before, active) << mode;
        EXPECT_EQ(bench.dialog->m_applies - applies, active ? 1 : 0) << mode;
    }
}

TEST(MouseGesture, NothingIsWrittenWithoutAPictureHeightOrAnOpenDialog)
{
    // A stretch view before its first layers has no picture rectangle to divide by.
    CBench unsized(ViewKind::Stretch, EditMode::PlotAdd, false);
    const QString before = unsized.dialog->All();
    unsized.Drag({100, 100}, {200, 100});
    unsized.Drag({100, 100}, {100, 100});
    EXPECT_EQ(unsized.dialog->All(), before);
    EXPECT_EQ(unsized.dialog->m_applies, 0);

    // The dialog closed while the button was down.
    CBench closing(ViewKind::Stretch, EditMode::PlotAdd);
    QWidget* viewport = closing.view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(viewport, QPoint(90, 50));
    closing.dialog.reset();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(90, 50));
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(viewport), closing.view->Layers().Overlay());
}

TEST(MouseGesture, FeedbackInvertsTheWindowUntilTheNextLayerUpdate)
{
    const auto inverted = [](QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); };
    CBench bench(ViewKind::Stretch, EditMode::PlotAdd);
    QWidget* viewport = bench.view->viewport();
    const QImage& overlay = bench.view->Layers().Overlay();
    const QPoint onLine(100, 50);

    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(viewport, QPoint(150, 50));
    EXPECT_EQ(Shown(viewport).pixel(onLine), inverted(overlay.pixel(onLine)));
    QTest::mouseMove(viewport, QPoint(150, 90)); // the band follows the pointer
    EXPECT_EQ(Shown(viewport).pixel(onLine), overlay.pixel(onLine));

    // Back near the start: a click, which leaves its disc and takes the rubber band away.
    QTest::mouseMove(viewport, QPoint(51, 50));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(51, 50));
    QImage shown = Shown(viewport);
    EXPECT_EQ(shown.pixel(50, 50), inverted(overlay.pixel(50, 50)));
    EXPECT_EQ(shown.pixel(100, 90), overlay.pixel(100, 90));
    bench.view->OnUpdate(4);
    EXPECT_EQ(Shown(viewport), overlay);

    // With SHIFT and CTRL the release removes the band and leaves nothing.
    bench.Drag(QPoint(50, 50), QPoint(150, 50), Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Shown(viewport), overlay);
}
