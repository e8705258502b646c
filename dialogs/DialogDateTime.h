#pragma once

#include <QDialog>

class QDateEdit;
class QTimeEdit;

// "日時設定": one date and time of day, as an automation date.
class CDialogDateTime : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogDateTime(QWidget* parent = nullptr);

    // Sets both pickers; a value they cannot show (outside the years 100 to 9999) shows now.
    void SetValue(double value);
    // The value set, or after OK the day of the date picker with the time of the time picker.
    double Value() const { return m_value; }

    QDateEdit* DateEdit() const { return m_date; }
    QTimeEdit* TimeEdit() const { return m_time; }

    void accept() override;

private:
    QDateEdit* m_date;
    QTimeEdit* m_time;
    double m_value = 0.0;
};
