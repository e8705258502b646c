#pragma once

#include "dialogs/ColorSwatch.h"
#include "dialogs/DialogParts.h"
#include "forms/AxisForm.h"
#include "model/AxisInfo.h"

#include <QDialog>

#include <array>
#include <map>

class IUserInteraction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "その他軸情報設定": the two axis dialogs in one. The narrow form shows the axis line, ticks,
// sub-ticks, tick labels and the multiplier and addend; the wide form adds the logical and
// value kinds, the axis attributes and the date-time range. Both edit a copy of the axis that
// the caller takes back after OK.
class CAxisDialogBase : public QDialog
{
    Q_OBJECT

public:
    enum Line { AxisLine = 0, Ticks = 1, SubTicks = 2 };

    // Copies the axis into the dialog and loads every field from the copy.
    void SetAxis(const CAxisInfo& axis);
    // The copy: after OK, as the fields set it.
    const CAxisInfo& Axis() const { return m_axis; }

    // Runs the label and date sub-dialogs (tests drive them without exec()).
    void SetDialogRunner(DialogRunner run) { m_run = std::move(run); }

    AxisForm::Values Values() const;
    void SetValues(const AxisForm::Values& values);

    // The control of a field, null when this form lacks it; a radio group's first button.
    QWidget* Control(AxisForm::Field field) const;
    QLineEdit* Edit(AxisForm::Field field) const;
    QPushButton* ColorButton(Line line) const { return m_colorButtons[line]; }
    CColorSwatch* Swatch(Line line) const { return m_swatches[line]; }
    QPushButton* LabelButton() const { return m_labelButton; }

    // Reads and checks every field; a failure shows its message, focuses its control and
    // leaves the copy as it was.
    void accept() override;

protected:
    CAxisDialogBase(AxisForm::Variant variant, IUserInteraction& ui, QWidget* parent);

    // Before the fields load from a new copy, and after.
    virtual void Opening() {}
    virtual void Opened() {}
    // Before the label dialog opens on the copy's label settings.
    virtual void BeforeLabelDialog() {}

    bool Wide() const { return m_variant == AxisForm::Variant::Wide; }
    bool DateTimeChecked() const;

    IUserInteraction& m_ui;
    DialogRunner m_run = ExecRunner();
    CAxisInfo m_axis;

    // The wide form's date controls.
    QLabel* m_startText = nullptr;
    QLabel* m_endText = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_endButton = nullptr;
    QButtonGroup* m_logicalKind = nullptr;

private:
    QWidget* BuildKinds(std::vector<QWidget*>& order);
    QWidget* BuildAttributes(std::vector<QWidget*>& order);
    QWidget* BuildLine(Line line, std::vector<QWidget*>& order);
    QWidget* BuildLabels(std::vector<QWidget*>& order);
    QWidget* BuildArithmetic(std::vector<QWidget*>& order);
    QLineEdit* AddEdit(AxisForm::Field field, bool digitsOnly);
    QComboBox* AddCombo(AxisForm::Field field, const QStringList& entries);
    QCheckBox* AddCheck(AxisForm::Field field, const QString& caption);

    void ChooseColor(Line line);
    void EditLabel();
    CLineInfo& LineOf(Line line);

    AxisForm::Variant m_variant;
    std::map<AxisForm::Field, QWidget*> m_controls;
    QButtonGroup* m_valueKind = nullptr;
    std::array<QPushButton*, 3> m_colorButtons{};
    std::array<CColorSwatch*, 3> m_swatches{};
    QPushButton* m_labelButton = nullptr;
};
