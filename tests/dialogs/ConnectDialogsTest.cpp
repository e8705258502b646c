#include "dialogs/DialogConnectEdit.h"
#include "dialogs/DialogConnectList.h"
#include "dialogs/DialogPlotID.h"
#include "forms/FieldRead.h"
#include "model/VantrelDoc.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace C = ConnectEditControl;

namespace {

using Ids = std::vector<int32_t>;
using Hints = std::vector<int32_t>;

// A document with committed plots 3 and 7 whose connection list command has begun on the
// given connections.
struct Fixture
{
    CVantrelDoc doc;
    CScriptedInteraction ui;
    Hints hints;

    explicit Fixture(const Ids& connectIds = {}, int32_t selected = -1)
    {
        for (int32_t id : {3, 7}) {
            CPlotInfo p;
            p.m_id = id;
            doc.m_plots.push_back(p);
        }
        for (int32_t id : connectIds) {
            CConnectInfo c;
            c.m_id = id;
            doc.m_workConnects.push_back(c);
        }
        doc.m_selectedIndex = selected;
        doc.m_editMode = EditMode::ConnectList;
    }

    CEditContext Context(DialogRunner run = {})
    {
        return {&doc, &ui, [this](int32_t hint) { hints.push_back(hint); }, std::move(run)};
    }

    CConnectInfo& Work(int index) { return doc.m_workConnects[size_t(index)]; }

    Ids ConnectIds() const
    {
        Ids out;
        for (const CConnectInfo& c : doc.m_workConnects)
            out.push_back(c.m_id);
        return out;
    }
};

QPushButton* Button(const CDialogConnectEdit& d, int control)
{
    return qobject_cast<QPushButton*>(d.Control(control));
}

// Answers every plot-ID picker with the given text and presses its OK (or its Cancel for a
// null text).
DialogRunner PickerAnswers(std::vector<const char*> texts)
{
    auto next = std::make_shared<size_t>(0);
    return Script<CDialogPlotID>([texts, next](CDialogPlotID& p) {
        const char* text = *next < texts.size() ? texts[(*next)++] : nullptr;
        if (!text)
            return p.reject();
        p.IdBox()->setEditText(QString::fromUtf8(text));
        p.accept();
    });
}

} // namespace

TEST(DialogPlotID, OffersThePlotIdsAndRefusesTextThatIsNoInt32)
{
    Fixture f;
    CDialogPlotID known(f.Context(), 7);
    EXPECT_EQ(known.IdBox()->count(), 2);
    EXPECT_EQ(known.IdBox()->currentIndex(), 1);
    CDialogPlotID other(f.Context(), 5);
    EXPECT_EQ(other.IdBox()->currentIndex(), -1);
    EXPECT_EQ(other.IdBox()->currentText(), QStringLiteral("5"));

    // An ID above the int32 range is refused with the picker's own message, not wrapped.
    CDialogPlotID d(f.Context(), 0);
    d.show();
    d.IdBox()->setEditText(QStringLiteral("2147483648"));
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Id(), 0);
    EXPECT_TRUE(d.focusWidget() == d.IdBox() || d.focusWidget() == d.IdBox()->lineEdit());
    ASSERT_EQ(f.ui.calls.size(), 1u);
    EXPECT_EQ(f.ui.calls[0].text, QStringLiteral("整数を入力してください."));
    EXPECT_EQ(f.ui.calls[0].caption, QStringLiteral("IDチェック"));
    EXPECT_EQ(f.ui.calls[0].icon, MessageIcon::Information);

    CDialogPlotID missing(f.Context(), 0); // an ID that no plot has
    missing.IdBox()->setEditText(QStringLiteral("-2147483648"));
    missing.accept();
    EXPECT_EQ(missing.result(), QDialog::Accepted);
    EXPECT_EQ(missing.Id(), std::numeric_limits<int32_t>::min());
}

TEST(DialogConnectEdit, RefusedFieldsShowTheirMessageFocusTheFieldAndWriteNothing)
{
    const struct
    {
        int control;
        QString text, message, caption;
    } cases[] = {
        {C::Id, QString(), FieldRead::kInteger, {}},
        {C::Id, QStringLiteral("2147483648"), FieldRead::kInteger, {}},
        {C::LineWidth, QStringLiteral("2147483648"), FieldRead::RangeMessage(0, 2147483647), {}},
        {C::Id, QStringLiteral("4"), QStringLiteral("IDが重複しています."), QStringLiteral("ID重複チェック")},
    };
    for (const auto& c : cases) {
        Fixture f({4, 9}, 1);
        CDialogConnectEdit d(f.Context());
        d.show();
        d.Edit(C::Comment)->setText(QStringLiteral("新"));
        d.Edit(c.control)->setText(c.text);
        Button(d, C::Apply)->click();
        d.accept();

        ASSERT_EQ(f.ui.calls.size(), 2u) << c.message.toStdString();
        EXPECT_EQ(f.ui.calls[0].text, c.message);
        EXPECT_EQ(f.ui.calls[0].caption, c.caption);
        EXPECT_EQ(f.ui.calls[0].icon, MessageIcon::Information);
        EXPECT_EQ(d.focusWidget(), d.Control(c.control));
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_TRUE(f.Work(1).m_comment.isEmpty()) << "nothing written";
        EXPECT_TRUE(f.hints.empty());
    }
}

TEST(DialogConnectEdit, ApplyAndOkWriteTheFieldsAndApplyTellsTheViews)
{
    Fixture f({4, 9}, 1);
    CDialogConnectEdit d(f.Context());
    d.Edit(C::LineWidth)->setText(QStringLiteral("0")); // the ID stays 9: its own is no duplicate
    qobject_cast<QComboBox*>(d.Control(C::LineStyle))->setCurrentIndex(int(LineStyle::Dot));
    qobject_cast<QAbstractButton*>(d.Control(C::History))->setChecked(true);
    qobject_cast<QAbstractButton*>(d.Control(C::Closed))->setChecked(true);
    Button(d, C::Apply)->click();
    EXPECT_EQ(f.hints, Hints{EditHint::SelectedOrApplied});
    EXPECT_TRUE(ConnectForm::EditValuesOf(f.Work(1))
                == (CConnectEditValues{9, 1, DisplayKind::History, LineStyle::Dot, 0, QString()}));

    d.Edit(C::Comment)->setText(QStringLiteral("c"));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(f.Work(1).m_comment, QStringLiteral("c"));
}

TEST(DialogConnectEdit, PlotIdButtonsEditAtOnceAndCancelRestoresIdsAndColour)
{
    Fixture f({4}, 0);
    f.Work(0).m_plotIds = {3};
    f.Work(0).m_line.m_color = 0x112233;
    f.ui.colorAnswers = {COLORREF(0x0000FF)};
    // A picked ID may name no plot, and may already be in the list.
    CDialogConnectEdit d(f.Context(PickerAnswers({"8", "3", nullptr, "-2"})));
    d.show();
    EXPECT_EQ(Lines(d.PlotIdList()), QStringList{"3"});
    EXPECT_FALSE(Button(d, C::Up)->isEnabled());
    EXPECT_FALSE(Button(d, C::Down)->isEnabled());

    Button(d, C::AddId)->click();
    Button(d, C::AddId)->click();
    EXPECT_EQ(f.Work(0).m_plotIds, (Ids{3, 8, 3}));
    EXPECT_EQ(d.PlotIdList()->currentRow(), 2);
    Button(d, C::Up)->click();
    EXPECT_EQ(f.Work(0).m_plotIds, (Ids{3, 3, 8}));
    EXPECT_EQ(d.PlotIdList()->currentRow(), 1);
    Button(d, C::ChangeId)->click(); // cancelled: nothing changes
    Button(d, C::ChangeId)->click();
    EXPECT_EQ(f.Work(0).m_plotIds, (Ids{3, -2, 8}));
    Button(d, C::ColorButton)->click();
    EXPECT_EQ(f.Work(0).m_line.m_color, 0x0000FFu);
    EXPECT_TRUE(f.hints.empty()) << "no Apply follows";

    for (int i = 0; i < 3; ++i)
        Button(d, C::DeleteId)->click();
    EXPECT_TRUE(f.Work(0).m_plotIds.empty());
    for (int control : {C::ChangeId, C::DeleteId, C::Up, C::Down})
        EXPECT_FALSE(Button(d, control)->isEnabled()) << control;

    d.reject();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(f.Work(0).m_plotIds, Ids{3});
    EXPECT_EQ(f.Work(0).m_line.m_color, 0x112233u);
}

TEST(DialogConnectList, AddRunsTheEditDialogInAddModeAndDropsTheConnectionOnCancel)
{
    Fixture f({3, 7, 12}, 1);
    std::vector<int32_t> modes;
    QStringList shownIds;
    bool accept = true;
    CDialogConnectList list(f.Context(Script<CDialogConnectEdit>([&](CDialogConnectEdit& d) {
        modes.push_back(f.doc.m_editMode);
        shownIds << d.Edit(C::Id)->text();
        accept ? d.accept() : d.reject();
    })));
    list.show();
    list.AddButton()->click();
    EXPECT_EQ(f.ConnectIds(), (Ids{3, 7, 12, 13}));
    EXPECT_EQ(list.SelectedRow(), 3);
    EXPECT_EQ(f.doc.m_selectedIndex, 3);
    EXPECT_TRUE(list.isVisible());

    list.Table()->selectRow(0);
    accept = false;
    list.AddButton()->click(); // the copy of row 0 goes again; row 0 stays selected
    EXPECT_EQ(f.ConnectIds(), (Ids{3, 7, 12, 13}));
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_EQ(shownIds, (QStringList{"13", "14"}));
    EXPECT_EQ(modes, (std::vector<int32_t>{EditMode::ConnectAdd, EditMode::ConnectAdd}));
    EXPECT_EQ(f.doc.m_editMode, EditMode::ConnectList);
    EXPECT_EQ(list.result(), 0) << "the list keeps running";

    // Out of sight during the edit, a running list does not end.
    Fixture running({3}, 0);
    CDialogConnectList modal(running.Context(Script<CDialogConnectEdit>([](CDialogConnectEdit& d) { d.accept(); })));
    QTimer::singleShot(0, &modal, [&] { modal.AddButton()->click(); });
    QTimer::singleShot(20, &modal, [&] { modal.OkButton()->click(); });
    EXPECT_EQ(modal.exec(), ListResult::Ok);
    EXPECT_EQ(running.ConnectIds(), (Ids{3, 4}));
}

TEST(DialogConnectList, ChangeEditsInChangeModeAndDeleteSendsNoHint1)
{
    Fixture f({3, 7}, 0);
    int32_t mode = 0;
    CDialogConnectList list(f.Context(Script<CDialogConnectEdit>([&](CDialogConnectEdit& d) {
        mode = f.doc.m_editMode;
        d.Edit(C::Id)->setText(QStringLiteral("30"));
        d.accept();
    })));
    list.show();
    list.ChangeButton()->click();
    EXPECT_EQ(mode, EditMode::ConnectChange);
    EXPECT_EQ(list.Table()->item(0, 0)->text(), QStringLiteral("30"));
    EXPECT_EQ(list.SelectedRow(), 0);

    f.hints.clear();
    list.DeleteButton()->click();
    EXPECT_EQ(f.ConnectIds(), Ids{7});
    EXPECT_EQ(f.hints, Hints{EditHint::SelectedOrApplied});
}

TEST(DialogConnectList, OkCommitsWithoutCheckingPlotsTheRunCheckRefusesLater)
{
    // Plot 5 does not exist: the list takes it as it stands, and the check before data input
    // names it.
    Fixture f({1}, 0);
    f.Work(0).m_plotIds = {3, 5};
    f.doc.m_connects.clear();
    f.doc.m_filePath = QStringLiteral("/tmp/a.t1");
    CDialogConnectList list(f.Context());
    list.show();
    list.OkButton()->click();
    EXPECT_EQ(list.result(), ListResult::Ok);
    EXPECT_TRUE(f.ui.calls.empty());

    EndListCommand(f.doc, DesignKind::Connect, list.result(), [](int32_t) {});
    ASSERT_EQ(f.doc.m_connects.size(), 1u);
    EXPECT_TRUE(f.doc.m_workConnects.empty());
    EXPECT_EQ(f.doc.m_modified, 1);
    EXPECT_TRUE(f.doc.m_filePath.isEmpty());
    QString message;
    EXPECT_FALSE(f.doc.m_connects[0].Check(f.doc.m_plots, &message));
    EXPECT_EQ(message, QStringLiteral("プロット結線するID5のプロット情報が存在しません．"));
}
