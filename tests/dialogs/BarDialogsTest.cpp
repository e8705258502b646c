#include "dialogs/DialogAxisLineEdit.h"
#include "dialogs/DialogBarEdit.h"
#include "dialogs/DialogBarEditOthers.h"
#include "dialogs/DialogBarList.h"
#include "dialogs/DialogStr.h"
#include "dialogs/DialogTextEdit.h"
#include "dialogs/TextInfoList.h"
#include "model/VantrelDoc.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace C = BarEditControl;

namespace {

using Hints = std::vector<int32_t>;

// Bars 3 and 7 in the working list, bar 7 selected.
struct Bars
{
    CVantrelDoc doc;
    CScriptedInteraction ui;
    Hints hints;

    explicit Bars(int32_t mode = EditMode::BarChange)
    {
        doc.m_workBars.resize(2);
        doc.m_workBars[0].m_id = 3;
        doc.m_workBars[1].m_id = 7;
        doc.m_workBars[1].m_line.m_color = 0x0000FF; // red
        doc.m_workBars[1].m_axis.m_fdNo = 12;
        doc.m_selectedIndex = 1;
        doc.m_editMode = mode;
    }

    CEditContext Context(DialogRunner run = {})
    {
        return {&doc, &ui, [this](int32_t hint) { hints.push_back(hint); }, std::move(run)};
    }

    CBarInfo& Bar() { return doc.m_workBars[1]; }
};

void Click(QWidget& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button->click();
    }
    FAIL() << text.toStdString();
}

} // namespace

TEST(DialogBarList, ShowsTheBarsAndAddHandsACopyToTheEditDialog)
{
    Bars b(EditMode::BarList);
    b.Bar().m_anchor = BarAnchor::Start;
    CDialogBarList list(b.Context());
    list.show();
    EXPECT_EQ(list.Table()->item(1, 3)->text(), QStringLiteral("開始点"));
    EXPECT_EQ(list.SelectedRow(), 1);

    list.AddButton()->click();
    EXPECT_EQ(list.result(), ListResult::Add);
    ASSERT_EQ(b.doc.m_workBars.size(), 3u);
    EXPECT_EQ(b.doc.m_selectedIndex, 2);
    const CBarInfo& added = b.doc.m_workBars[2];
    EXPECT_EQ(added.m_id, 8);
    EXPECT_EQ(added.m_line.m_width, 6);
    EXPECT_EQ(added.m_line.m_color, 0xFFFF00u); // cyan
    EXPECT_EQ(added.m_anchor, BarAnchor::Start);

    CDialogBarList again(b.Context());
    again.show();
    again.OkButton()->click();
    EXPECT_EQ(again.result(), ListResult::Ok);
    EXPECT_TRUE(b.ui.calls.empty());
}

TEST(DialogBarEdit, RefusedFieldsShowTheirMessageFocusTheFieldAndWriteNothing)
{
    struct Case
    {
        std::vector<std::pair<int, QString>> texts;
        int focus;
        QString message, caption;
    };
    const QString range = QStringLiteral("0 から 2147483647 までの整数を入力してください。");
    const QString real = QStringLiteral("数字を入力してください。");
    const Case cases[] = {
        // The first failing field in reading order decides.
        {{{C::InitialValue, "x"}, {C::Id, ""}}, C::Id, QStringLiteral("整数を入力してください。"), {}},
        {{{C::FdNo, "2147483648"}, {C::PixelWidth, "2147483648"}}, C::PixelWidth, range, {}},
        {{{C::FdNo, "2147483648"}, {C::StartX, "x"}}, C::FdNo, range, {}},
        {{{C::EndValue, "1e400"}, {C::InitialValue, "x"}}, C::EndValue, real, {}},
        {{{C::InitialValue, "nan"}}, C::InitialValue, real, {}},
        {{{C::Id, "3"}}, C::Id, QStringLiteral("IDが重複しています."), QStringLiteral("ID重複チェック")},
    };
    for (const Case& c : cases) {
        Bars b;
        const CBarInfo before = b.Bar();
        CDialogBarEdit dialog(b.Context());
        dialog.show();
        dialog.Edit(C::Comment)->setText(QStringLiteral("新"));
        for (const auto& [control, text] : c.texts)
            dialog.Edit(control)->setText(text);
        Click(dialog, QStringLiteral("OK"));

        ASSERT_EQ(b.ui.calls.size(), 1u) << c.message.toStdString();
        EXPECT_EQ(b.ui.calls[0].text, c.message);
        EXPECT_EQ(b.ui.calls[0].caption, c.caption);
        EXPECT_EQ(b.ui.calls[0].icon, MessageIcon::Information);
        EXPECT_EQ(dialog.focusWidget(), dialog.Control(c.focus)) << c.message.toStdString();
        EXPECT_EQ(BarEditValuesOf(b.Bar()), BarEditValuesOf(before)) << "nothing written";
        EXPECT_TRUE(b.hints.empty());
    }
}

TEST(DialogBarEdit, ApplyWritesTheBarAndItsOriginAndCancelRestoresIt)
{
    Bars b;
    b.doc.m_workPlots.resize(1);
    b.doc.m_workPlots[0].m_id = 9; // a plot's ID does not clash with a bar's
    const CBarInfo before = b.Bar();
    CDialogBarEdit dialog(b.Context());
    bool ended = false;
    QObject::connect(&dialog, &CEditDialog::editEnded, [&ended] { ended = true; });
    EXPECT_EQ(dialog.Edit(C::FdNo)->text(), QStringLiteral("12"));

    const std::pair<int, QString> texts[] = {
        {C::Id, "9"},      {C::FdNo, "4"},   {C::StartX, "10.5"},  {C::StartY, "20"},     {C::StartValue, "-1"},
        {C::EndX, "110.5"}, {C::EndY, "20"}, {C::EndValue, "1"}, {C::InitialValue, "0.25"},
    };
    for (const auto& [control, text] : texts)
        dialog.Edit(control)->setText(text);
    qobject_cast<QRadioButton*>(dialog.Control(C::Min))->setChecked(true);
    qobject_cast<QRadioButton*>(dialog.Control(C::AnchorEnd))->setChecked(true);
    dialog.Edit(C::Comment)->setText(QStringLiteral("棒"));
    // As a CTRL drag on a view: the widest pixel width is taken, the drawing clamps it.
    dialog.SetFieldText(EditControl::BarPixelWidth, QStringLiteral("2147483647"));
    dialog.PostApply();
    QCoreApplication::processEvents();

    EXPECT_EQ(b.hints, Hints{EditHint::SelectedOrApplied});
    const CBarInfo& bar = b.Bar();
    EXPECT_EQ(bar.m_id, 9);
    EXPECT_EQ(bar.m_line.m_width, 2147483647);
    EXPECT_EQ(bar.m_axis.m_valueKind, ValueKind::Min);
    EXPECT_EQ(bar.m_anchor, BarAnchor::End);
    EXPECT_EQ(bar.m_axis.m_fdNo, 4);
    EXPECT_EQ(bar.m_axis.m_startX, 10.5);
    EXPECT_EQ(bar.m_axis.m_endValue, 1);
    EXPECT_EQ(bar.m_initialValue, 0.25);
    EXPECT_EQ(bar.m_comment, QStringLiteral("棒"));
    EXPECT_EQ(bar.m_axis.m_originX, 10.5);
    EXPECT_EQ(bar.m_axis.m_originY, 20);
    EXPECT_EQ(bar.m_axis.m_originValue, -1);

    b.ui.colorAnswers = {0x00445566};
    Click(dialog, QStringLiteral("色..."));
    EXPECT_EQ(bar.m_line.m_color, 0x00445566u) << "written at once";
    // Cancel comes while that colour's Apply is still queued, and the reopened list selects
    // another bar before the queue runs: nothing may be written any more.
    Click(dialog, QStringLiteral("キャンセル"));
    EXPECT_TRUE(ended);
    EXPECT_EQ(BarEditValuesOf(b.Bar()), BarEditValuesOf(before));
    EXPECT_EQ(b.Bar().m_line.m_color, before.m_line.m_color);
    b.doc.m_selectedIndex = 0;
    QCoreApplication::processEvents();
    EXPECT_EQ(b.doc.m_workBars[0].m_id, 3);
    EXPECT_EQ(b.hints.size(), 1u);
}

TEST(DialogBarEdit, CancelOfAnAddedBarRemovesIt)
{
    Bars b(EditMode::BarAdd);
    CDialogBarEdit dialog(b.Context());
    Click(dialog, QStringLiteral("適用"));
    Click(dialog, QStringLiteral("キャンセル"));
    ASSERT_EQ(b.doc.m_workBars.size(), 1u);
    EXPECT_EQ(b.doc.m_workBars[0].m_id, 3);
    EXPECT_EQ(b.doc.m_selectedIndex, -1);
}

TEST(DialogBarEdit, AxisDialogMakesTheAxisAPlainNumberAndApplyTakesTheRadios)
{
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        Bars b;
        b.Bar().m_axis.m_logicalKind = LogicalKind::DateTime;
        b.Bar().m_axis.m_valueKind = ValueKind::Max;
        const CBarInfo before = b.Bar();
        LogicalKind seenKind = LogicalKind::DateTime;
        CDialogBarEdit dialog(b.Context(Script<CDialogAxisLineEdit>([&](CDialogAxisLineEdit& d) {
            seenKind = d.Axis().m_logicalKind;
            d.Edit(AxisForm::Field::Multiplier)->setText(QStringLiteral("0.5"));
            ok ? d.accept() : d.reject();
        })));
        dialog.show();
        dialog.Edit(C::StartX)->setText(QStringLiteral("55")); // read but not written here
        Click(dialog, QStringLiteral("その他軸情報..."));
        EXPECT_EQ(seenKind, LogicalKind::Number);
        EXPECT_EQ(b.Bar().m_axis.m_logicalKind, LogicalKind::Number);
        EXPECT_EQ(b.Bar().m_axis.m_valueKind, ValueKind::Instant);
        EXPECT_EQ(b.Bar().m_axis.m_startX, before.m_axis.m_startX);
        QCoreApplication::processEvents();
        if (ok) {
            EXPECT_EQ(b.Bar().m_axis.m_multiplier, 0.5);
            EXPECT_EQ(b.Bar().m_axis.m_valueKind, ValueKind::Max) << "the radio buttons";
            EXPECT_EQ(b.Bar().m_axis.m_startX, 55);
            EXPECT_EQ(b.hints, Hints{EditHint::SelectedOrApplied});
        } else {
            EXPECT_EQ(b.Bar().m_axis.m_multiplier, 1);
            EXPECT_TRUE(b.hints.empty());
        }
        // Cancel of the edit dialog restores the kinds as well.
        Click(dialog, QStringLiteral("キャンセル"));
        EXPECT_EQ(b.Bar().m_axis.m_logicalKind, LogicalKind::DateTime);
        EXPECT_EQ(b.Bar().m_axis.m_multiplier, 1);
    }

    // A field that does not read stops before anything changes.
    Bars b;
    b.Bar().m_axis.m_logicalKind = LogicalKind::InputCount;
    bool ran = false;
    CDialogBarEdit dialog(b.Context([&ran](QDialog&) {
        ran = true;
        return 0;
    }));
    dialog.Edit(C::EndY)->setText(QString());
    Click(dialog, QStringLiteral("その他軸情報..."));
    EXPECT_EQ(b.ui.Messages(), QStringList{QStringLiteral("数字を入力してください。")});
    EXPECT_FALSE(ran);
    EXPECT_EQ(b.Bar().m_axis.m_logicalKind, LogicalKind::InputCount);
}

TEST(DialogBarEditOthers, ListsEditTheBarAtOnceAndCancelRestoresIt)
{
    Bars b;
    b.Bar().m_ignorePrefixes = {QStringLiteral("skip")};
    const CBarInfo before = b.Bar();
    QStringList started;
    std::vector<int32_t> fdNos;
    const DialogRunner run = Both(Script<CDialogStr>([&started](CDialogStr& d) {
                                      started << d.Edit()->text();
                                      d.Edit()->setText(QStringLiteral("X"));
                                      d.accept();
                                  }),
                                  Script<CDialogTextEdit>([&fdNos](CDialogTextEdit& d) {
                                      fdNos.push_back(d.Text().m_fdNo);
                                      d.accept();
                                  }));

    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        b.Bar() = before;
        b.hints.clear();
        started.clear();
        fdNos.clear();
        CDialogBarEditOthers dialog(b.Context(run));
        EXPECT_EQ(dialog.IgnoreList()->Current(), 0);
        EXPECT_FALSE(dialog.IncludeList()->EditButton()->isEnabled());
        EXPECT_FALSE(dialog.TextList()->DeleteButton()->isEnabled());
        dialog.IncludeList()->AddButton()->click();
        dialog.IgnoreList()->AddButton()->click();
        dialog.TextList()->AddButton()->click();
        EXPECT_EQ(started, (QStringList{QString(), QStringLiteral("skip")}));
        EXPECT_EQ(fdNos, std::vector<int32_t>{12}) << "a new text display starts at the axis FD";
        EXPECT_EQ(b.Bar().m_includePrefixes, std::vector<QString>{QStringLiteral("X")});
        EXPECT_EQ(b.Bar().m_ignorePrefixes.size(), 2u);
        ASSERT_EQ(b.Bar().m_texts.size(), 1u);
        dialog.ApplyButton()->click();
        EXPECT_EQ(b.hints, Hints{EditHint::SelectedOrApplied});

        if (ok) {
            dialog.accept();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(b.Bar().m_texts.size(), 1u);
        } else {
            dialog.reject();
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
            EXPECT_TRUE(b.Bar().m_includePrefixes.empty());
            EXPECT_EQ(b.Bar().m_ignorePrefixes, before.m_ignorePrefixes);
            EXPECT_TRUE(b.Bar().m_texts.empty());
            // The views showed the applied lists and must show the restored ones.
            EXPECT_EQ(b.hints, (Hints{EditHint::SelectedOrApplied, EditHint::SelectedOrApplied}));
        }
    }
}

TEST(DialogBarEdit, OthersDialogRunsHiddenAndItsOkApplies)
{
    Bars b;
    const CBarInfo before = b.Bar();
    CDialogBarEdit* edit = nullptr;
    bool hidden = false;
    bool accept = true;
    CDialogBarEdit dialog(b.Context(Script<CDialogBarEditOthers>([&](CDialogBarEditOthers& d) {
        hidden = !edit->isVisible();
        b.Bar().m_includePrefixes = {QStringLiteral("P")};
        accept ? d.accept() : d.reject();
    })));
    edit = &dialog;
    dialog.show();
    Click(dialog, QStringLiteral("その他..."));
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(dialog.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(b.hints, Hints{EditHint::SelectedOrApplied});

    accept = false;
    Click(dialog, QStringLiteral("その他..."));
    QCoreApplication::processEvents();
    EXPECT_EQ(b.hints.size(), 1u) << "no Apply after Cancel";

    // Cancel of the edit dialog also undoes what the other settings changed.
    Click(dialog, QStringLiteral("キャンセル"));
    EXPECT_EQ(b.Bar().m_includePrefixes, before.m_includePrefixes);
}
