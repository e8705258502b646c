#include "dialogs/DialogDateTime.h"

#include "dialogs/DialogParts.h"
#include "forms/AxisForm.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>
#include <QVBoxLayout>

CDialogDateTime::CDialogDateTime(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("日時設定"));
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    m_date = new QDateEdit;
    m_date->setLocale(japanese);
    m_date->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
    m_date->setCalendarPopup(true);
    // Every day an automation date can name; days before 1899-12-30 count negative.
    m_date->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    m_time = new QTimeEdit;
    m_time->setLocale(japanese);
    m_time->setDisplayFormat(QStringLiteral("H:mm:ss"));

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(QStringLiteral("日付"), m_date), 0, 0);
    grid->addWidget(m_date, 0, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("時刻"), m_time), 1, 0);
    grid->addWidget(m_time, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelButtons(this));
    setTabOrder(m_date, m_time);
}

void CDialogDateTime::SetValue(double value)
{
    m_value = value;
    const QDateTime now = QDateTime::currentDateTime();
    const std::optional<DateForm::Picked> picked = DateForm::Split(value);
    m_date->setDate(picked ? picked->date : now.date());
    m_time->setTime(picked ? picked->time : QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

void CDialogDateTime::accept()
{
    m_value = DateForm::Join(m_date->date(), m_time->time());
    QDialog::accept();
}
