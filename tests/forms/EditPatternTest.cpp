#include "forms/EditPattern.h"
#include "model/Enums.h"
#include "model/VantrelDoc.h"

#include "tests/support/TestSupport.h"

#include <vector>

namespace {

struct HintLog
{
    std::vector<int32_t> hints;
    HintSink Sink()
    {
        return [this](int32_t h) { hints.push_back(h); };
    }
};

CPlotInfo PlotWithId(int32_t id)
{
    CPlotInfo p;
    p.m_id = id;
    return p;
}

} // namespace

TEST(EditPattern, ListOkCommitsAndAsksForANewFileName)
{
    CVantrelDoc doc;
    doc.m_plots = {PlotWithId(1)};
    doc.m_filePath = QStringLiteral("/tmp/a.vts");
    HintLog log;
    BeginListCommand(doc, DesignKind::Plot, log.Sink());
    EXPECT_EQ(doc.m_editMode, EditMode::PlotList);
    EXPECT_EQ(doc.m_selectedIndex, -1);
    ASSERT_EQ(doc.m_workPlots.size(), 1u);
    doc.m_workPlots.push_back(PlotWithId(2));
    EXPECT_EQ(doc.m_plots.size(), 1u); // the committed list is not touched while editing

    EXPECT_FALSE(EndListCommand(doc, DesignKind::Plot, ListResult::Ok, log.Sink()));
    EXPECT_EQ(doc.m_plots.size(), 2u);
    EXPECT_TRUE(doc.m_workPlots.empty());
    EXPECT_EQ(doc.m_modified, 1);
    EXPECT_TRUE(doc.m_filePath.isEmpty());
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    EXPECT_EQ(log.hints, (std::vector<int32_t>{1, 5}));
}

TEST(EditPattern, CancelAndUnknownResultsThrowTheWorkingListAway)
{
    for (int result : {ListResult::Cancel, 0, 7}) {
        CVantrelDoc doc;
        doc.m_bars.resize(2);
        doc.m_filePath = QStringLiteral("/tmp/a.vts");
        HintLog log;
        BeginListCommand(doc, DesignKind::Bar, log.Sink());
        doc.m_workBars.clear();
        EXPECT_FALSE(EndListCommand(doc, DesignKind::Bar, result, log.Sink()));
        EXPECT_EQ(doc.m_bars.size(), 2u) << result;
        EXPECT_TRUE(doc.m_workBars.empty());
        EXPECT_EQ(doc.m_modified, 0);
        EXPECT_FALSE(doc.m_filePath.isEmpty());
        EXPECT_EQ(doc.m_editMode, EditMode::None);
    }
}

TEST(EditPattern, AddAndChangeHandOverAndTheReopenedListKeepsTheWork)
{
    const struct
    {
        DesignKind kind;
        int result;
        int32_t mode;
    } cases[] = {{DesignKind::Plot, ListResult::Add, EditMode::PlotAdd},
                 {DesignKind::Plot, ListResult::Change, EditMode::PlotChange},
                 {DesignKind::Bar, ListResult::Add, EditMode::BarAdd},
                 {DesignKind::Bar, ListResult::Change, EditMode::BarChange}};
    for (const auto& c : cases) {
        CVantrelDoc doc;
        HintLog log;
        BeginListCommand(doc, c.kind, log.Sink());
        doc.m_workPlots = {PlotWithId(4)};
        doc.m_workBars.resize(1);
        doc.m_selectedIndex = 0;
        EXPECT_TRUE(EndListCommand(doc, c.kind, c.result, log.Sink()));
        EXPECT_EQ(doc.m_editMode, c.mode);
        EXPECT_EQ(log.hints, std::vector<int32_t>{1}); // hint 5 comes once the dialog exists

        BeginListCommand(doc, c.kind, log.Sink());
        EXPECT_EQ(doc.m_selectedIndex, 0);
        EXPECT_EQ(doc.m_workPlots.size() + doc.m_workBars.size(), 2u);
    }

    // Connections edit inside their list: 10 and 11 are no hand-over there.
    CVantrelDoc doc;
    doc.m_connects.resize(1);
    HintLog log;
    BeginListCommand(doc, DesignKind::Connect, log.Sink());
    EXPECT_FALSE(EndListCommand(doc, DesignKind::Connect, ListResult::Add, log.Sink()));
    EXPECT_EQ(doc.m_editMode, EditMode::None);
    EXPECT_TRUE(doc.m_workConnects.empty());
}

TEST(EditPattern, RowsButtonsAndMoves)
{
    EXPECT_EQ(RowToSelect(-1, 3), 2);
    EXPECT_EQ(RowToSelect(1, 3), 1);
    EXPECT_EQ(RowToSelect(3, 3), 2);
    EXPECT_EQ(RowToSelect(0, 0), -1);

    const struct
    {
        int row, count;
        bool up, down;
    } buttons[] = {{0, 1, false, false}, {0, 3, false, true}, {1, 3, true, true}, {2, 3, true, false}};
    for (const auto& b : buttons) {
        const CMoveButtons m = MoveButtonsFor(b.row, b.count);
        EXPECT_EQ(m.up, b.up) << b.row << "/" << b.count;
        EXPECT_EQ(m.down, b.down) << b.row << "/" << b.count;
    }

    std::vector<int> list{1, 2, 3};
    EXPECT_EQ(MoveListEntry(list, 0, -1), -1);
    EXPECT_EQ(MoveListEntry(list, 2, +1), -1);
    EXPECT_EQ(MoveListEntry(list, -1, +1), -1);
    EXPECT_EQ(list, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(MoveListEntry(list, 0, +1), 1);
    EXPECT_EQ(MoveListEntry(list, 2, -1), 1);
    EXPECT_EQ(list, (std::vector<int>{2, 3, 1}));
}

TEST(EditPattern, CancelOfAnEditRestoresOrRemoves)
{
    std::vector<CPlotInfo> list{PlotWithId(1), PlotWithId(2)};
    int32_t selected = 1;
    list[1].m_id = 9;
    CancelEntryEdit(list, selected, false, PlotWithId(2));
    EXPECT_EQ(list[1].m_id, 2);
    EXPECT_EQ(selected, 1);
    CancelEntryEdit(list, selected, true, PlotWithId(2));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(selected, -1);
}

TEST(EditPattern, SelectedEntryAndUniqueIdStayInsideTheList)
{
    std::vector<CPlotInfo> list{PlotWithId(1), PlotWithId(2)};
    const struct
    {
        int32_t index;
        const CPlotInfo* entry;
    } lookups[] = {{-1, nullptr}, {0, &list[0]}, {1, &list[1]}, {2, nullptr}, {INT32_MIN, nullptr}};
    for (const auto& l : lookups)
        EXPECT_EQ(SelectedEntry(list, l.index), l.entry) << l.index;

    // The entry's own ID is no duplicate; with no valid index every ID in the list is one.
    const struct
    {
        int32_t index;
        int32_t id;
        bool ok;
    } checks[] = {{0, 1, true}, {0, 2, false}, {1, 2, true}, {1, 3, true}, {-1, 1, false}, {2, 2, false}};
    for (const auto& c : checks) {
        const CEditOutcome outcome = CheckUniqueId(list, c.index, c.id, 1004);
        EXPECT_EQ(outcome.ok, c.ok) << c.index << ' ' << c.id;
        EXPECT_EQ(outcome.focus, c.ok ? 0 : 1004);
        EXPECT_EQ(outcome.message.isEmpty(), c.ok);
    }
}

TEST(EditPattern, PrefixListsAreQuotedAndCommaJoined)
{
    EXPECT_EQ(QuotedList({}), QString());
    EXPECT_EQ(QuotedList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}),
              QStringLiteral("\"a\",\"b\",\"c\""));
}
