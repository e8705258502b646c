#pragma once

#include "dialogs/AxisDialogBase.h"

class QLabel;
class QPushButton;

// "その他軸情報設定" of a plot axis: everything the plot edit dialog does not show itself,
// including how the FD becomes a value and the range of a date-time axis.
class CDialogAxisEdit : public CAxisDialogBase
{
    Q_OBJECT

public:
    explicit CDialogAxisEdit(IUserInteraction& ui, QWidget* parent = nullptr);

    QPushButton* StartDateButton() const { return m_startButton; }
    QPushButton* EndDateButton() const { return m_endButton; }
    QLabel* StartDateText() const { return m_startText; }
    QLabel* EndDateText() const { return m_endText; }

protected:
    void Opening() override;
    void Opened() override;
    void BeforeLabelDialog() override;

private:
    void LogicalKindStep();
    void PickDate(bool start);

    // Until the first switch to a date-time axis in this dialog, which starts the range now.
    bool m_rangeNotInitialised = true;
};
