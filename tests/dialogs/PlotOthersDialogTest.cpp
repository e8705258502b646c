#include "dialogs/DialogPlotEditOthers.h"
#include "dialogs/DialogStr.h"
#include "dialogs/DialogTextEdit.h"
#include "dialogs/TextInfoList.h"
#include "model/VantrelDoc.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

class PlotOthersDialogTest : public ::testing::Test
{
protected:
    PlotOthersDialogTest()
    {
        doc.m_workPlots.resize(2);
        doc.m_selectedIndex = 1;
        context.doc = &doc;
        context.ui = &ui;
        context.updateAllViews = [this](int32_t hint) { hints.push_back(hint); };
        context.run = [this](QDialog& d) { return run(d); };
    }

    CPlotInfo& Plot() { return doc.m_workPlots[1]; }

    CVantrelDoc doc;
    CScriptedInteraction ui;
    std::vector<int32_t> hints;
    DialogRunner run = [](QDialog&) { return int(QDialog::Rejected); };
    CEditContext context;
};

// Answers every string dialog with text, every text dialog with OK; records what each started
// with.
DialogRunner Answer(const QString& text, QStringList& started, std::vector<int32_t>& fdNos)
{
    return Both(Script<CDialogStr>([&started, text](CDialogStr& d) {
                    started << d.Edit()->text();
                    d.Edit()->setText(text);
                    d.accept();
                }),
                Script<CDialogTextEdit>([&fdNos](CDialogTextEdit& d) {
                    fdNos.push_back(d.Text().m_fdNo);
                    d.accept();
                }));
}

} // namespace

TEST_F(PlotOthersDialogTest, OpeningSelectsFirstEntriesAndEmptyGroupsCannotEdit)
{
    Plot().m_includePrefixes = {QStringLiteral("A"), QStringLiteral("B")};
    Plot().m_texts.resize(2);
    CDialogPlotEditOthers dialog(context);
    EXPECT_EQ(dialog.IncludeList()->Current(), 0);
    EXPECT_TRUE(dialog.IncludeList()->EditButton()->isEnabled());
    EXPECT_EQ(dialog.TextList()->Current(), 0);
    EXPECT_TRUE(dialog.TextList()->DeleteButton()->isEnabled());
    EXPECT_FALSE(dialog.IgnoreList()->EditButton()->isEnabled());
    EXPECT_FALSE(dialog.IgnoreList()->DeleteButton()->isEnabled());

    Plot().m_texts.clear();
    CDialogPlotEditOthers empty(context);
    EXPECT_EQ(empty.TextList()->Table()->rowCount(), 0);
    EXPECT_FALSE(empty.TextList()->EditButton()->isEnabled());
    EXPECT_FALSE(empty.TextList()->DeleteButton()->isEnabled());
}

TEST_F(PlotOthersDialogTest, DeletingTheLastEntrySelectsTheNewLast)
{
    Plot().m_ignorePrefixes = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    Plot().m_texts.resize(2);
    Plot().m_texts[0].m_fdNo = 5;
    CDialogPlotEditOthers dialog(context);
    CListWithButtons* ignore = dialog.IgnoreList();
    ignore->List()->setCurrentRow(2);
    ignore->DeleteButton()->click();
    EXPECT_EQ(Plot().m_ignorePrefixes, (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(ignore->Current(), 1);
    ignore->DeleteButton()->click();
    ignore->DeleteButton()->click();
    EXPECT_TRUE(Plot().m_ignorePrefixes.empty());
    EXPECT_FALSE(ignore->EditButton()->isEnabled());
    EXPECT_FALSE(ignore->DeleteButton()->isEnabled());

    CTextInfoList* texts = dialog.TextList();
    texts->Table()->selectRow(1);
    texts->DeleteButton()->click();
    ASSERT_EQ(Plot().m_texts.size(), 1u);
    EXPECT_EQ(Plot().m_texts[0].m_fdNo, 5);
    EXPECT_EQ(texts->Current(), 0);
}

TEST_F(PlotOthersDialogTest, CancelUndoesEveryChangeAndOkKeepsThem)
{
    Plot().m_ignorePrefixes = {QStringLiteral("skip")};
    Plot().m_historyLine.m_color = 0x123456;
    const CPlotInfo before = Plot();
    QStringList started;
    std::vector<int32_t> fdNos;
    run = Answer(QStringLiteral("X"), started, fdNos);

    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        Plot() = before;
        started.clear();
        hints.clear();
        CDialogPlotEditOthers dialog(context);
        dialog.IncludeList()->AddButton()->click();
        dialog.IgnoreList()->AddButton()->click();
        dialog.TextList()->AddButton()->click();
        ui.colorAnswers = {0x00FF00};
        dialog.ColorButton()->click();
        EXPECT_EQ(Plot().m_historyLine.m_color, 0x00FF00u);
        QCoreApplication::processEvents(); // the queued Apply
        EXPECT_EQ(hints, std::vector<int32_t>{4});
        // The ignore list's Add starts from the selected ignore prefix, the target list's empty.
        EXPECT_EQ(started, (QStringList{QString(), QStringLiteral("skip")}));
        EXPECT_EQ(Plot().m_includePrefixes, std::vector<QString>{QStringLiteral("X")});
        EXPECT_EQ(Plot().m_ignorePrefixes.size(), 2u);
        EXPECT_EQ(Plot().m_texts.size(), 1u);

        if (ok) {
            dialog.accept();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(Plot().m_texts.size(), 1u);
            EXPECT_EQ(Plot().m_historyLine.m_color, 0x00FF00u);
        } else {
            dialog.reject();
            EXPECT_TRUE(Plot().m_includePrefixes.empty());
            EXPECT_EQ(Plot().m_ignorePrefixes, before.m_ignorePrefixes);
            EXPECT_TRUE(Plot().m_texts.empty());
            EXPECT_EQ(Plot().m_historyLine.m_color, 0x123456u);
            // The views showed the applied colour and must show the restored one.
            EXPECT_EQ(hints, (std::vector<int32_t>{4, 4}));
        }
    }
}

TEST_F(PlotOthersDialogTest, AddedTextStartsFromAxisOneOrTheSelectedRow)
{
    Plot().m_axes[0].m_fdNo = 12;
    Plot().m_axes[1].m_fdNo = 30;
    QStringList started;
    std::vector<int32_t> fdNos;
    run = Answer(QString(), started, fdNos);
    CDialogPlotEditOthers dialog(context);
    dialog.TextList()->AddButton()->click();
    ASSERT_EQ(Plot().m_texts.size(), 1u);
    EXPECT_EQ(Plot().m_texts[0].m_fdNo, 12);

    Plot().m_texts[0].m_fdNo = 3;
    Plot().m_texts[0].m_prefix = QStringLiteral("p");
    dialog.TextList()->Fill(0);
    dialog.TextList()->AddButton()->click();
    ASSERT_EQ(Plot().m_texts.size(), 2u);
    EXPECT_EQ(Plot().m_texts[1].m_fdNo, 3);
    EXPECT_EQ(Plot().m_texts[1].m_prefix, QStringLiteral("p"));
    EXPECT_EQ(dialog.TextList()->Current(), 1);
    EXPECT_EQ(fdNos, (std::vector<int32_t>{12, 3}));
}

TEST_F(PlotOthersDialogTest, FieldErrorsStopApplyAndOkWithNothingWritten)
{
    const CPlotInfo before = Plot();
    CDialogPlotEditOthers dialog(context);
    dialog.VariableSizeCheck()->setChecked(true);
    dialog.SizeFdNoEdit()->setText(QStringLiteral("3"));
    dialog.SizeStepEdit()->setText(QStringLiteral("-2.5"));
    dialog.HistoryWidthEdit()->setText(QStringLiteral("1001"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("0 から 1000 までの整数を入力してください。")});
    EXPECT_EQ(dialog.focusWidget(), dialog.HistoryWidthEdit());
    EXPECT_EQ(Plot().m_variableSize, before.m_variableSize);
    EXPECT_EQ(Plot().m_sizeFdNo, before.m_sizeFdNo);
    EXPECT_EQ(Plot().m_historyLine, before.m_historyLine);

    dialog.SizeFdNoEdit()->setText(QStringLiteral("2147483648"));
    dialog.HistoryWidthEdit()->setText(QStringLiteral("1000"));
    dialog.ApplyButton()->click();
    EXPECT_EQ(ui.Messages().back(), QStringLiteral("整数を入力してください。"));
    EXPECT_TRUE(hints.empty());

    dialog.SizeFdNoEdit()->setText(QStringLiteral("3"));
    dialog.SizeValueKindButton(2)->setChecked(true);
    dialog.ApplyButton()->click();
    EXPECT_EQ(hints, std::vector<int32_t>{4});
    EXPECT_EQ(Plot().m_variableSize, 1);
    EXPECT_EQ(Plot().m_sizeFdNo, 3);
    EXPECT_EQ(Plot().m_sizeStepValue, -2.5);
    EXPECT_EQ(Plot().m_sizeValueKind, ValueKind::Min);
    EXPECT_EQ(Plot().m_historyLine.m_width, 1000);
}
