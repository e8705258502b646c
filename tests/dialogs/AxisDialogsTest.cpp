#include "dialogs/DialogAxisCopy.h"
#include "dialogs/DialogAxisEdit.h"
#include "dialogs/DialogAxisLineEdit.h"
#include "dialogs/DialogDateTime.h"
#include "dialogs/DialogLabelEdit.h"
#include "forms/FieldRead.h"
#include "model/VantrelDoc.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

using AxisForm::Field;

namespace {

CAxisInfo SampleAxis()
{
    CAxisInfo axis;
    axis.m_showTicks = 1;
    axis.m_tickDivisions = 4;
    axis.m_axisLine.m_color = 0x0000FF;
    axis.m_labelText.m_format = "%.1f";
    return axis;
}

QRadioButton* DateTimeRadio(const QDialog& dialog)
{
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>()) {
        if (r->text() == QStringLiteral("日時"))
            return r;
    }
    return nullptr;
}

} // namespace

TEST(AxisDialogs, FailingFieldKeepsTheDialogOpenWithFocusAndTheCopyUntouched)
{
    struct Case
    {
        Field field;
        const char* text;
        QString message;
    } const cases[] = {
        {Field::TickDivisions, "0", FieldRead::RangeMessage(1, 100)},
        {Field::LatestRowCount, "", FieldRead::kPositive},
        {Field::Adder, "1..2", FieldRead::kReal},
    };
    for (const Case& c : cases) {
        CScriptedInteraction ui;
        CDialogAxisEdit dialog(ui);
        dialog.SetAxis(SampleAxis());
        const AxisForm::Values before = AxisForm::Load(dialog.Axis());
        dialog.Edit(Field::AxisLineWidth)->setText("7"); // read before the failing field
        dialog.Edit(c.field)->setText(c.text);
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(ui.Messages(), QStringList{c.message});
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit(c.field));
        EXPECT_TRUE(AxisForm::Load(dialog.Axis()) == before);
    }

    // The two checks after reading name their caption and focus their control.
    CScriptedInteraction ui;
    CDialogAxisEdit dialog(ui);
    dialog.SetAxis(SampleAxis());
    qobject_cast<QCheckBox*>(dialog.Control(Field::AutoRange))->setChecked(true);
    qobject_cast<QCheckBox*>(dialog.Control(Field::LatestRows))->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.focusWidget(), dialog.Control(Field::LatestRows));
    qobject_cast<QCheckBox*>(dialog.Control(Field::AutoRange))->setChecked(false);
    qobject_cast<QCheckBox*>(dialog.Control(Field::ShowLabels))->setChecked(true);
    // A time format chosen for a date-time axis no longer suits once the axis is a number axis.
    DateTimeRadio(dialog)->click();
    dialog.SetDialogRunner(Script<CDialogLabelEdit>([](CDialogLabelEdit& d) {
        d.FormatBox()->setEditText("%H:%M");
        d.accept();
    }));
    dialog.LabelButton()->click();
    EXPECT_EQ(dialog.Axis().m_labelText.m_format, QStringLiteral("%H:%M"));
    qobject_cast<QRadioButton*>(dialog.Control(Field::LogicalKind))->click(); // 数値
    dialog.accept();
    EXPECT_EQ(dialog.focusWidget(), dialog.LabelButton());
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].caption, QStringLiteral("関連チェック"));
    EXPECT_EQ(ui.calls[1].text, QStringLiteral("目盛ラベルの書式が不正です."));
    EXPECT_EQ(ui.calls[1].icon, MessageIcon::Information);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(AxisDialogs, OkWritesTheCopyAndCancelLeavesTheCallersAxis)
{
    CScriptedInteraction ui;
    ui.colorAnswers = {std::optional<COLORREF>(0x00FF00)};
    CDialogAxisLineEdit dialog(ui);
    dialog.SetAxis(SampleAxis());
    EXPECT_EQ(dialog.Control(Field::LatestRowCount), nullptr);
    EXPECT_EQ(dialog.Control(Field::LogicalKind), nullptr);
    dialog.ColorButton(CAxisDialogBase::Ticks)->click();
    EXPECT_EQ(dialog.Swatch(CAxisDialogBase::Ticks)->Color(), 0x00FF00u);
    dialog.Edit(Field::SubTickDivisions)->setText("9");
    qobject_cast<QComboBox*>(dialog.Control(Field::TickSide))->setCurrentIndex(2);
    qobject_cast<QCheckBox*>(dialog.Control(Field::ShowLabels))->setChecked(true);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.Messages().isEmpty());
    EXPECT_EQ(dialog.Axis().m_tickLine.m_color, 0x00FF00u);
    EXPECT_EQ(dialog.Axis().m_subTickDivisions, 9);
    EXPECT_EQ(dialog.Axis().m_tickSide, TickSide::LowerRight);
    EXPECT_EQ(dialog.Axis().m_showLabels, 1);

    // A label dialog ended with Cancel leaves the label settings as they were.
    CDialogAxisEdit wide(ui);
    wide.SetAxis(SampleAxis());
    wide.SetDialogRunner(Script<CDialogLabelEdit>([](CDialogLabelEdit& d) {
        d.FormatBox()->setEditText("%e");
        d.reject();
    }));
    wide.LabelButton()->click();
    wide.reject();
    EXPECT_EQ(wide.Axis().m_labelText.m_format, QStringLiteral("%.1f"));
    EXPECT_EQ(wide.Axis().m_tickDivisions, 4);
}

TEST(AxisDialogs, PickedStartDateReachesTheTickFieldToTheSecond)
{
    CScriptedInteraction ui;
    CDialogAxisEdit dialog(ui);
    dialog.SetAxis(SampleAxis());
    EXPECT_FALSE(dialog.StartDateButton()->isEnabled());
    QRadioButton* dateTime = DateTimeRadio(dialog);
    ASSERT_TRUE(dateTime);
    dateTime->click();
    EXPECT_TRUE(dialog.StartDateButton()->isEnabled());
    EXPECT_TRUE(dialog.StartDateText()->text().startsWith(QStringLiteral("開始:")));

    dialog.SetDialogRunner(Script<CDialogDateTime>([](CDialogDateTime& d) {
        d.DateEdit()->setDate(QDate(2022, 11, 23));
        d.TimeEdit()->setTime(QTime(10, 33, 50));
        d.accept();
    }));
    dialog.StartDateButton()->click();
    EXPECT_EQ(dialog.StartDateText()->text(), QStringLiteral("開始:2022/11/23 10:33:50"));
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Axis().m_logicalKind, LogicalKind::DateTime);
    EXPECT_EQ(DateForm::StartText(dialog.Axis().m_tickStartValue), QStringLiteral("開始:2022/11/23 10:33:50"));
    EXPECT_EQ(dialog.Axis().m_startValue, DateForm::Join(QDate(2022, 11, 23), QTime(10, 33, 50)));

    // A day before 1899-12-30 comes back as a negative automation date with its time of day.
    CDialogDateTime picker;
    picker.SetValue(-1.25);
    EXPECT_EQ(picker.DateEdit()->date(), QDate(1899, 12, 29));
    EXPECT_EQ(picker.TimeEdit()->time(), QTime(6, 0));
    picker.TimeEdit()->setTime(QTime(18, 0));
    picker.accept();
    EXPECT_EQ(picker.Value(), -1.75);
}

TEST(AxisDialogs, CopyDialogWorksOnTheEditedWorkingPlot)
{
    CVantrelDoc doc;
    doc.m_workPlots.resize(2);
    doc.m_workPlots[0].m_id = 5;
    doc.m_workPlots[1].m_id = 9;
    doc.m_workPlots[1].m_axes[0].m_fdNo = 42;
    doc.m_selectedIndex = 0;
    CScriptedInteraction ui;
    CEditContext context{&doc, &ui, {}, ExecRunner()};

    CDialogAxisCopy copy(context);
    QComboBox* plot = copy.Box(CDialogAxisCopy::CopySourcePlot);
    EXPECT_EQ(plot->currentText(), QStringLiteral("5"));
    QComboBox* target = copy.Box(CDialogAxisCopy::CopyTargetAxes);
    copy.Box(CDialogAxisCopy::CopySourceAxes)->setCurrentIndex(2);
    EXPECT_FALSE(target->isEnabled());
    EXPECT_EQ(target->currentIndex(), 2);
    copy.Box(CDialogAxisCopy::CopySourceAxes)->setCurrentIndex(0);
    EXPECT_TRUE(target->isEnabled());
    plot->setCurrentIndex(1);
    target->setCurrentIndex(1);
    copy.CopyButton()->click();
    EXPECT_EQ(copy.result(), QDialog::Accepted);
    EXPECT_EQ(doc.m_workPlots[0].m_axes[1].m_fdNo, 42);
    EXPECT_EQ(doc.m_workPlots[0].m_axes[0].m_fdNo, 0);

    CDialogAxisCopy move(context);
    const CAxisInfo axis1 = doc.m_workPlots[0].m_axes[0];
    move.MoveButton()->click(); // axis 2's end onto axis 1's start
    EXPECT_EQ(move.result(), QDialog::Accepted);
    const CAxisInfo& moved = doc.m_workPlots[0].m_axes[1];
    EXPECT_EQ(QPointF(moved.m_endX, moved.m_endY), QPointF(axis1.m_startX, axis1.m_startY));
}
