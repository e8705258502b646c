#include "dialogs/DialogPlotList.h"
#include "model/VantrelDoc.h"
#include "tests/support/TestSupport.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A document whose plot list command has just begun, and the hints its views received.
struct Fixture
{
    CVantrelDoc doc;
    CScriptedInteraction ui;
    std::vector<int32_t> hints;

    explicit Fixture(const std::vector<int32_t>& ids, int32_t selected = -1)
    {
        for (int32_t id : ids) {
            CPlotInfo p;
            p.m_id = id;
            doc.m_workPlots.push_back(p);
        }
        doc.m_selectedIndex = selected;
        doc.m_editMode = EditMode::PlotList;
    }

    std::unique_ptr<CDialogPlotList> Open()
    {
        const CEditContext context{&doc, &ui, [this](int32_t hint) { hints.push_back(hint); }, {}};
        auto dialog = std::make_unique<CDialogPlotList>(context);
        dialog->show();
        return dialog;
    }

    std::vector<int32_t> Ids() const
    {
        std::vector<int32_t> out;
        for (const CPlotInfo& p : doc.m_workPlots)
            out.push_back(p.m_id);
        return out;
    }
};

using Ids = std::vector<int32_t>;
using Hints = std::vector<int32_t>;

void ExpectButtons(const CDialogPlotList& d, bool change, bool del, bool up, bool down)
{
    EXPECT_EQ(d.ChangeButton()->isEnabled(), change);
    EXPECT_EQ(d.DeleteButton()->isEnabled(), del);
    EXPECT_EQ(d.UpButton()->isEnabled(), up);
    EXPECT_EQ(d.DownButton()->isEnabled(), down);
}

} // namespace

TEST(DialogPlotList, OpeningSelectsTheRequestedOrLastRow)
{
    Fixture f({3, 7, 12});
    auto d = f.Open();
    EXPECT_EQ(d->SelectedRow(), 2);
    EXPECT_EQ(f.doc.m_selectedIndex, 2);
    EXPECT_EQ(f.hints, Hints{EditHint::SelectedOrApplied});
    ExpectButtons(*d, true, true, true, false);

    Fixture reopened({3, 7, 12}, 0);
    auto r = reopened.Open();
    EXPECT_EQ(r->SelectedRow(), 0);
    ExpectButtons(*r, true, true, false, true);

    Fixture empty({});
    auto e = empty.Open();
    EXPECT_EQ(empty.doc.m_selectedIndex, -1);
    EXPECT_EQ(empty.hints, Hints{EditHint::ListEmpty});
    ExpectButtons(*e, false, false, false, false);
}

TEST(DialogPlotList, DeleteTellsTheViewsBeforeSelectingTheNextRow)
{
    Fixture f({1, 2, 3});
    auto d = f.Open();
    f.hints.clear();
    d->DeleteButton()->click(); // the last row: the new last row is selected
    EXPECT_EQ(f.Ids(), (Ids{1, 2}));
    EXPECT_EQ(f.doc.m_selectedIndex, 1);
    EXPECT_EQ(f.hints, (Hints{EditHint::ListOpenedOrDeleted, EditHint::SelectedOrApplied}));

    d->Table()->selectRow(0);
    d->DeleteButton()->click(); // the following row takes the place
    EXPECT_EQ(f.Ids(), Ids{2});
    EXPECT_EQ(f.doc.m_selectedIndex, 0);

    f.hints.clear();
    d->DeleteButton()->click();
    EXPECT_TRUE(f.doc.m_workPlots.empty());
    EXPECT_EQ(f.doc.m_selectedIndex, -1);
    EXPECT_EQ(f.hints, (Hints{EditHint::ListOpenedOrDeleted, EditHint::ListEmpty}));
    ExpectButtons(*d, false, false, false, false);
}

TEST(DialogPlotList, MovesStopAtTheEnds)
{
    Fixture f({1, 2, 3});
    auto d = f.Open();
    d->Table()->selectRow(0);
    d->UpButton()->click();
    d->DownButton()->click();
    EXPECT_EQ(f.Ids(), (Ids{2, 1, 3}));
    EXPECT_EQ(f.doc.m_selectedIndex, 1);
    d->Table()->selectRow(2);
    d->DownButton()->click();
    EXPECT_EQ(f.Ids(), (Ids{2, 1, 3}));
    ExpectButtons(*d, true, true, true, false);
}

TEST(DialogPlotList, OkStaysOpenOnTheFirstBrokenOriginChain)
{
    Fixture f({1, 2, 3}, 0);
    f.doc.m_workPlots[1].m_originKind = OriginKind::Moving;
    f.doc.m_workPlots[1].m_originPlotId = 5;
    f.doc.m_workPlots[2].m_originKind = OriginKind::Moving;
    f.doc.m_workPlots[2].m_originPlotId = 3;
    auto d = f.Open();
    d->OkButton()->click();
    EXPECT_EQ(d->result(), 0);
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(f.ui.calls.size(), 1u);
    EXPECT_EQ(f.ui.calls[0].text, QStringLiteral("ID2プロット情報の原点移動が無限ループか、\n対象プロット情報が存在しないか、\n"
                                                 "「自動範囲設定」または「最新行表示」が含まれています."));
    EXPECT_EQ(f.ui.calls[0].caption, QStringLiteral("入力チェック"));
    EXPECT_EQ(f.ui.calls[0].icon, MessageIcon::Information);
    EXPECT_EQ(f.doc.m_selectedIndex, 1);
    EXPECT_EQ(d->SelectedRow(), 1);

    f.doc.m_workPlots[1].m_originPlotId = 1;
    f.doc.m_workPlots[2].m_originPlotId = 2;
    d->OkButton()->click();
    EXPECT_EQ(d->result(), ListResult::Ok);
}

TEST(DialogPlotList, ButtonsEndTheDialogWithTheirResults)
{
    Fixture f({3, 7, 12}, 1);
    auto add = f.Open();
    add->AddButton()->click();
    EXPECT_EQ(add->result(), ListResult::Add);
    EXPECT_EQ(f.Ids(), (Ids{3, 7, 12, 13}));
    EXPECT_EQ(f.doc.m_selectedIndex, 3);

    auto change = f.Open(); // a double click on a row acts as "変更..."
    Q_EMIT change->Table()->cellDoubleClicked(0, 1);
    EXPECT_EQ(change->result(), ListResult::Change);
    auto escaped = f.Open();
    QTest::keyClick(escaped.get(), Qt::Key_Escape);
    auto closed = f.Open();
    closed->close();
    EXPECT_EQ(escaped->result(), ListResult::Cancel);
    EXPECT_EQ(closed->result(), ListResult::Cancel);
}
