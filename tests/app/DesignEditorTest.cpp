#include "AppSupport.h"

#include "app/DesignEditor.h"
#include "dialogs/DesignListDialog.h"
#include "dialogs/DialogBarEdit.h"
#include "dialogs/DialogPlotEdit.h"
#include "model/Enums.h"
#include "views/ViewWidget.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <deque>
#include <functional>

namespace {

// Answers each list dialog the application opens with the next step of a script.
class ListScript
{
public:
    void Then(std::function<void(CDesignListDialog&)> step) { m_steps.push_back(std::move(step)); }
    DialogRunner Runner()
    {
        return [this](QDialog& dialog) {
            auto* list = dynamic_cast<CDesignListDialog*>(&dialog);
            if (!list || m_steps.empty())
                return int(ListResult::Cancel);
            dialog.show();
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step(*list);
            ++m_runs;
            return dialog.result();
        };
    }
    int Runs() const { return m_runs; }

private:
    std::deque<std::function<void(CDesignListDialog&)>> m_steps;
    int m_runs = 0;
};

int SelectedRow(const CDesignListDialog& list)
{
    const auto rows = list.Table()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

class DesignEditorTest : public AppTest
{
protected:
    CDocEntry& Open()
    {
        Start();
        m_app->SetDialogRunner(m_script.Runner());
        CDocEntry* entry = NewDocument(1);
        EXPECT_NE(entry, nullptr);
        entry->Doc().m_filePath = Path(QStringLiteral("design.t2"));
        return *entry;
    }
    void PlotList(CDocEntry& entry) { m_app->Editor().ListCommand(entry, DesignKind::Plot); }
    static CDialogPlotEdit* EditDialog(CDocEntry& entry) { return dynamic_cast<CDialogPlotEdit*>(entry.EditDialog()); }

    ListScript m_script;
};

TEST_F(DesignEditorTest, AddEditOkReopensTheListOnTheEditedPlotAndOkCommits)
{
    CDocEntry& entry = Open();
    CVantrelDoc& doc = entry.Doc();
    m_script.Then([](CDesignListDialog& list) { list.AddButton()->click(); });
    int reopenedOn = -2;
    m_script.Then([&](CDesignListDialog& list) {
        reopenedOn = SelectedRow(list);
        list.OkButton()->click();
    });

    PlotList(entry);
    CDialogPlotEdit* edit = EditDialog(entry);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(doc.m_editMode, EditMode::PlotAdd);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(m_app->IsBusy());
    ASSERT_EQ(doc.m_workPlots.size(), 1u);

    edit->SetFieldText(EditControl::PlotSize, QStringLiteral("12"));
    edit->accept(); // OK: the dialog goes, the list comes back from the event loop
    EXPECT_EQ(entry.EditDialog(), nullptr);
    EXPECT_EQ(m_script.Runs(), 1);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(m_script.Runs(), 2);
    EXPECT_EQ(reopenedOn, 0);
    ASSERT_EQ(doc.m_plots.size(), 1u);
    EXPECT_EQ(doc.m_plots[0].m_size, 12);
    EXPECT_TRUE(doc.m_workPlots.empty());
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    EXPECT_EQ(doc.m_modified, 1);
    EXPECT_TRUE(doc.m_filePath.isEmpty());
    EXPECT_FALSE(m_app->IsBusy());
}

TEST_F(DesignEditorTest, CancelsThrowTheEditAndThenTheWholeListAway)
{
    CDocEntry& entry = Open();
    CVantrelDoc& doc = entry.Doc();
    doc.m_plots.resize(2);
    doc.m_plots[0].m_id = 4;
    doc.m_plots[1].m_id = 5;
    doc.m_plots[1].m_size = 9;
    m_script.Then([](CDesignListDialog& list) { list.ChangeButton()->click(); }); // the last plot
    int reopenedOn = -2;
    m_script.Then([&](CDesignListDialog& list) {
        reopenedOn = SelectedRow(list);
        list.DeleteButton()->click(); // on the working list only
        list.CancelButton()->click();
    });

    PlotList(entry);
    CDialogPlotEdit* edit = EditDialog(entry);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(doc.m_editMode, EditMode::PlotChange);
    edit->SetFieldText(EditControl::PlotSize, QStringLiteral("30"));
    edit->ApplyButton()->click();
    EXPECT_EQ(doc.m_workPlots[1].m_size, 30);
    edit->reject();
    EXPECT_EQ(doc.m_workPlots[1].m_size, 9); // the saved copy is back
    QCoreApplication::processEvents();

    EXPECT_EQ(reopenedOn, 1);
    ASSERT_EQ(doc.m_plots.size(), 2u);
    EXPECT_EQ(doc.m_plots[1].m_size, 9);
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    EXPECT_EQ(doc.m_modified, 0);
    EXPECT_FALSE(doc.m_filePath.isEmpty());
}

TEST_F(DesignEditorTest, ADragOnTheViewReachesTheOpenDialogAndItsApply)
{
    CDocEntry& entry = Open();
    CVantrelDoc& doc = entry.Doc();
    m_script.Then([](CDesignListDialog& list) { list.AddButton()->click(); });
    PlotList(entry);
    ASSERT_NE(EditDialog(entry), nullptr);

    CViewWidget* view = entry.Frames().front()->View();
    const QPoint from(20, 30), to(60, 50);
    const std::optional<QPointF> a = view->ClientToDesign(from);
    const std::optional<QPointF> b = view->ClientToDesign(to);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    QCoreApplication::processEvents(); // the posted Apply

    const CAxisInfo& axis = doc.m_workPlots[0].m_axes[0];
    EXPECT_NEAR(axis.m_startX, a->x(), 0.0005);
    EXPECT_NEAR(axis.m_startY, a->y(), 0.0005);
    EXPECT_NEAR(axis.m_endX, b->x(), 0.0005);
    EXPECT_NEAR(axis.m_endY, b->y(), 0.0005);

    EditDialog(entry)->reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DesignEditorTest, BarDragsReachTheBarEditDialogAndItsApply)
{
    CDocEntry& entry = Open();
    CVantrelDoc& doc = entry.Doc();
    m_script.Then([](CDesignListDialog& list) { list.AddButton()->click(); });
    m_app->Editor().ListCommand(entry, DesignKind::Bar);
    auto* edit = dynamic_cast<CDialogBarEdit*>(entry.EditDialog());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(doc.m_editMode, EditMode::BarAdd);

    CViewWidget* view = entry.Frames().front()->View();
    QWidget* port = view->viewport();
    // CTRL: a box 10 x 31 gives the pixel width 30.
    QTest::mousePress(port, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    QTest::mouseMove(port, QPoint(20, 41));
    QTest::mouseRelease(port, Qt::LeftButton, Qt::ControlModifier, QPoint(20, 41));
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.m_workBars[0].m_line.m_width, 30);

    const QPoint from(15, 40), to(15, 10);
    const std::optional<QPointF> a = view->ClientToDesign(from);
    const std::optional<QPointF> b = view->ClientToDesign(to);
    ASSERT_TRUE(a && b);
    QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(port, to);
    QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, to);
    QCoreApplication::processEvents();
    const CAxisInfo& axis = doc.m_workBars[0].m_axis;
    EXPECT_NEAR(axis.m_startX, a->x(), 0.0005);
    EXPECT_NEAR(axis.m_startY, a->y(), 0.0005);
    EXPECT_NEAR(axis.m_endX, b->x(), 0.0005);
    EXPECT_NEAR(axis.m_endY, b->y(), 0.0005);

    edit->reject(); // an added bar goes again
    QCoreApplication::processEvents();
    EXPECT_TRUE(doc.m_bars.empty());
    EXPECT_EQ(doc.m_editMode, EditMode::None);
}
