#include "dialogs/DialogCalcFD.h"
#include "dialogs/DialogInputDataOption.h"
#include "dialogs/DialogStr.h"
#include "forms/FieldRead.h"
#include "runtime/Main.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// A pipeline whose every option differs from its default.
void SetUpOptions(CMain& main)
{
    main.m_saveInternal = 0;
    main.m_keepInternal = 0;
    main.m_saveCsv = 1;
    main.m_appendCsv = 0;
    main.m_internalData.m_maxCount = 250;
    main.m_includePrefixes = {QStringLiteral("$A")};
    main.m_excludePrefixes = {QStringLiteral("#"), QStringLiteral("//")};
    main.m_calcFDs = {CCalcFD(QStringLiteral("FD(0) > 1"), QStringLiteral("FD(1)"), QStringLiteral("0"))};
    main.m_calcFDs[0].m_reserved = QStringLiteral("kept");
}

DialogRunner TypeString(const QString& text)
{
    return Script<CDialogStr>([text](CDialogStr& d) {
        d.Edit()->setText(text);
        d.accept();
    });
}

} // namespace

TEST(DialogInputDataOption, CancelAfterEditingChangesNothing)
{
    CMain main;
    SetUpOptions(main);
    const CInputOptions before = InputOptionsOf(main);
    CScriptedInteraction ui;
    CDialogInputDataOption dialog(main, ui);
    EXPECT_EQ(dialog.Values(), before);

    for (QCheckBox* box : {dialog.SaveInternalBox(), dialog.KeepInternalBox(), dialog.RingBox(),
                           dialog.SaveCsvBox(), dialog.AppendCsvBox()})
        box->toggle();
    dialog.CapacityEdit()->setText(QStringLiteral("7"));
    dialog.SetDialogRunner(TypeString(QStringLiteral("new")));
    dialog.IncludeList()->AddButton()->click();
    dialog.ExcludeList()->DeleteButton()->click();
    dialog.CalcFDList()->DeleteButton()->click();
    dialog.reject();

    EXPECT_EQ(InputOptionsOf(main), before);
    EXPECT_TRUE(ui.calls.empty());
}

TEST(DialogInputDataOption, OkWritesEveryOptionAndHandsOutTheRing)
{
    CMain main;
    SetUpOptions(main);
    CScriptedInteraction ui;
    CDialogInputDataOption dialog(main, ui);
    for (QCheckBox* box : {dialog.SaveInternalBox(), dialog.KeepInternalBox(), dialog.RingBox(),
                           dialog.SaveCsvBox(), dialog.AppendCsvBox()})
        box->toggle();
    dialog.CapacityEdit()->setText(QStringLiteral(" 2147483647 "));
    dialog.SetUnpaced(true);

    dialog.SetDialogRunner(TypeString(QStringLiteral("$B")));
    dialog.IncludeList()->AddButton()->click();
    EXPECT_EQ(dialog.IncludeList()->Current(), 1); // the new last line
    dialog.SetDialogRunner(TypeString(QStringLiteral("%")));
    dialog.ExcludeList()->List()->setCurrentRow(1);
    dialog.ExcludeList()->EditButton()->click();
    EXPECT_EQ(dialog.ExcludeList()->Current(), 1);
    dialog.SetDialogRunner(Script<CDialogCalcFD>([](CDialogCalcFD& d) {
        EXPECT_EQ(d.CalcFD(), CCalcFD()); // a new one starts from the defaults
        d.Edit(1)->setText(QStringLiteral("FD(0) * 2"));
        d.accept();
    }));
    dialog.CalcFDList()->AddButton()->click();
    dialog.SetDialogRunner(Script<CDialogCalcFD>([](CDialogCalcFD& d) {
        d.Edit(2)->setText(QStringLiteral("-1"));
        d.accept();
    }));
    dialog.CalcFDList()->List()->setCurrentRow(0);
    dialog.CalcFDList()->EditButton()->click();
    dialog.accept();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(main.m_saveInternal, 1);
    EXPECT_EQ(main.m_keepInternal, 1);
    EXPECT_EQ(main.m_saveCsv, 0);
    EXPECT_EQ(main.m_appendCsv, 1);
    EXPECT_EQ(main.m_includePrefixes, QStringList({QStringLiteral("$A"), QStringLiteral("$B")}));
    EXPECT_EQ(main.m_excludePrefixes, QStringList({QStringLiteral("#"), QStringLiteral("%")}));
    ASSERT_EQ(main.m_calcFDs.size(), 2u);
    EXPECT_EQ(main.m_calcFDs[0].GetText(), QStringLiteral("if (FD(0) > 1){ FD値=FD(1); } else { FD値=-1; }"));
    EXPECT_EQ(main.m_calcFDs[0].m_reserved, QStringLiteral("kept"));
    EXPECT_EQ(main.m_calcFDs[1], CCalcFD(QStringLiteral("1 == 1"), QStringLiteral("FD(0) * 2"), QStringLiteral("0")));
    EXPECT_EQ(Lines(dialog.CalcFDList()->List()).back(),
              QStringLiteral("if (1 == 1){ FD値=FD(0) * 2; } else { FD値=0; }"));
    // The ring settings go to the input command, not to the store.
    EXPECT_TRUE(dialog.Ring());
    EXPECT_EQ(dialog.Capacity(), 2147483647);
    EXPECT_EQ(main.m_internalData.m_ring, 0);
    EXPECT_EQ(main.m_internalData.m_maxCount, 250);
    EXPECT_TRUE(dialog.Unpaced());
}

TEST(DialogInputDataOption, CapacityOutOfRangeKeepsTheDialogOpen)
{
    CMain main;
    SetUpOptions(main);
    const CInputOptions before = InputOptionsOf(main);
    CScriptedInteraction ui;
    CDialogInputDataOption dialog(main, ui);
    dialog.SaveCsvBox()->toggle();
    for (const char* text : {"0", "2147483648", "x"}) {
        dialog.CapacityEdit()->setText(QString::fromLatin1(text));
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << text;
    }
    const QString range = FieldRead::RangeMessage(1, 2147483647);
    EXPECT_EQ(ui.Messages(), QStringList({range, range, FieldRead::kInteger}));
    EXPECT_EQ(InputOptionsOf(main), before);
}

TEST(DialogInputDataOption, WrongComputedFDKeepsItsDialogOpen)
{
    CMain main;
    CScriptedInteraction ui;
    CDialogInputDataOption dialog(main, ui);
    EXPECT_FALSE(dialog.CalcFDList()->EditButton()->isEnabled());
    std::vector<int> results;
    dialog.SetDialogRunner(Script<CDialogCalcFD>([&](CDialogCalcFD& d) {
        const auto tryOk = [&](int index, const char* text) {
            d.Edit(index)->setText(QString::fromLatin1(text));
            d.accept();
            results.push_back(d.result());
        };
        d.Edit(1)->setText(QStringLiteral("1 / (FD(3) - 1)")); // every FD counts as 1 in the check
        d.Edit(2)->setText(QStringLiteral("FD(0) > 1"));       // no comparison in an expression
        tryOk(0, "FD(0) > = 1");
        tryOk(0, "FD(0) >= 1");
        tryOk(1, "FD(3)");
        tryOk(2, "PI()");
    }));
    dialog.CalcFDList()->AddButton()->click();
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0, QDialog::Accepted}));
    EXPECT_EQ(ui.Messages(), QStringList({QStringLiteral("条件式に間違いがあります"), QStringLiteral("数式に間違いがあります"),
                                          QStringLiteral("数式に間違いがあります")}));
    for (const auto& call : ui.calls) {
        EXPECT_EQ(call.caption, QStringLiteral("入力チェック"));
        EXPECT_EQ(call.icon, MessageIcon::Stop);
    }
    EXPECT_EQ(Lines(dialog.CalcFDList()->List()),
              QStringList{QStringLiteral("if (FD(0) >= 1){ FD値=FD(3); } else { FD値=PI(); }")});

    // Cancelled after a refusal: nothing is added. Deleting the only line disables its buttons.
    dialog.SetDialogRunner(Script<CDialogCalcFD>([](CDialogCalcFD& d) {
        d.Edit(0)->setText(QStringLiteral("pi() > 0"));
        d.accept();
        d.reject();
    }));
    dialog.CalcFDList()->AddButton()->click();
    EXPECT_EQ(dialog.Values().m_calcFDs.size(), 1u);
    EXPECT_TRUE(dialog.CalcFDList()->DeleteButton()->isEnabled());
    dialog.CalcFDList()->DeleteButton()->click();
    EXPECT_FALSE(dialog.CalcFDList()->EditButton()->isEnabled());
    EXPECT_FALSE(dialog.CalcFDList()->DeleteButton()->isEnabled());
    EXPECT_EQ(dialog.CalcFDList()->List()->count(), 0);
}

TEST(DialogInputDataOption, LongComputedFDsScrollSideways)
{
    CMain main;
    main.m_calcFDs = {CCalcFD(QStringLiteral("FD(0) > 1"), QString(300, u'1'), QStringLiteral("0"))};
    CScriptedInteraction ui;
    CDialogInputDataOption dialog(main, ui);
    dialog.show();
    QCoreApplication::processEvents();
    QListWidget* list = dialog.CalcFDList()->List();
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0);
    EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(),
              list->fontMetrics().horizontalAdvance(main.m_calcFDs[0].GetText()));
}
