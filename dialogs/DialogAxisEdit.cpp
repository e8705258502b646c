#include "dialogs/DialogAxisEdit.h"

#include "dialogs/DialogDateTime.h"
#include "forms/FieldRead.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CDialogAxisEdit::CDialogAxisEdit(IUserInteraction& ui, QWidget* parent)
    : CAxisDialogBase(AxisForm::Variant::Wide, ui, parent)
{
    connect(m_logicalKind, &QButtonGroup::idClicked, this, &CDialogAxisEdit::LogicalKindStep);
    connect(m_startButton, &QPushButton::clicked, this, [this] { PickDate(true); });
    connect(m_endButton, &QPushButton::clicked, this, [this] { PickDate(false); });
    SetAxis(CAxisInfo());
}

void CDialogAxisEdit::Opening()
{
    m_rangeNotInitialised = AxisForm::OpenWide(m_axis);
}

void CDialogAxisEdit::Opened()
{
    LogicalKindStep();
}

void CDialogAxisEdit::BeforeLabelDialog()
{
    AxisForm::SetLabelKinds(m_axis, DateTimeChecked());
}

void CDialogAxisEdit::LogicalKindStep()
{
    const double now = DateForm::FromDateTime(QDateTime::currentDateTime());
    const AxisForm::DateStep step = AxisForm::LogicalKindStep(DateTimeChecked(), m_rangeNotInitialised, m_axis, now);
    m_startButton->setEnabled(step.buttonsEnabled);
    m_endButton->setEnabled(step.buttonsEnabled);
    m_startText->setText(step.startText);
    m_endText->setText(step.endText);
    if (step.tickStartText)
        Edit(AxisForm::Field::TickStart)->setText(*step.tickStartText);
    if (step.tickEndText)
        Edit(AxisForm::Field::TickEnd)->setText(*step.tickEndText);
}

void CDialogAxisEdit::PickDate(bool start)
{
    double& value = start ? m_axis.m_startValue : m_axis.m_endValue;
    CDialogDateTime dialog(this);
    dialog.SetValue(value);
    if (m_run(dialog) != QDialog::Accepted)
        return;
    value = dialog.Value();
    // All fifteen digits, so that the time of day survives the trip through the field.
    Edit(start ? AxisForm::Field::TickStart : AxisForm::Field::TickEnd)->setText(FieldRead::FormatReal(value));
    LogicalKindStep();
}
