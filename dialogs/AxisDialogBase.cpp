#include "dialogs/AxisDialogBase.h"

#include "dialogs/DialogLabelEdit.h"
#include "platform/UserInteraction.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using AxisForm::Field;

CAxisDialogBase::CAxisDialogBase(AxisForm::Variant variant, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_variant(variant)
{
    setWindowTitle(QStringLiteral("その他軸情報設定"));
    std::vector<QWidget*> order;
    auto* layout = new QVBoxLayout(this);
    if (Wide()) {
        layout->addWidget(BuildKinds(order));
        layout->addWidget(BuildAttributes(order));
    }
    layout->addWidget(BuildLine(AxisLine, order));
    layout->addWidget(BuildLine(Ticks, order));
    layout->addWidget(BuildLine(SubTicks, order));
    layout->addWidget(BuildLabels(order));
    layout->addWidget(BuildArithmetic(order));
    QDialogButtonBox* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
    for (QAbstractButton* b : buttons->buttons())
        order.push_back(b);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit* CAxisDialogBase::AddEdit(Field field, bool digitsOnly)
{
    QLineEdit* edit = NumberEdit();
    if (digitsOnly)
        DigitsOnly(edit);
    m_controls[field] = edit;
    return edit;
}

QComboBox* CAxisDialogBase::AddCombo(Field field, const QStringList& entries)
{
    auto* combo = new QComboBox;
    combo->addItems(entries);
    m_controls[field] = combo;
    return combo;
}

QCheckBox* CAxisDialogBase::AddCheck(Field field, const QString& caption)
{
    auto* check = new QCheckBox(caption);
    m_controls[field] = check;
    return check;
}

QWidget* CAxisDialogBase::BuildKinds(std::vector<QWidget*>& order)
{
    auto* kinds = new QGroupBox(QStringLiteral("論理値種別"));
    auto* kindRow = new QHBoxLayout(kinds);
    m_logicalKind = new QButtonGroup(this);
    for (LogicalKind k : {LogicalKind::Number, LogicalKind::DateTime, LogicalKind::InputCount}) {
        auto* radio = new QRadioButton(Caption(k));
        m_logicalKind->addButton(radio, int(k));
        kindRow->addWidget(radio);
        order.push_back(radio);
    }
    m_controls[Field::LogicalKind] = m_logicalKind->button(0);

    m_startText = new QLabel;
    m_endText = new QLabel;
    m_startButton = new QPushButton(QStringLiteral("開始点日時設定..."));
    m_endButton = new QPushButton(QStringLiteral("終了点日時設定..."));
    order.push_back(m_startButton);
    order.push_back(m_endButton);
    auto* dates = new QGridLayout;
    dates->addWidget(m_startText, 0, 0);
    dates->addWidget(m_startButton, 0, 1);
    dates->addWidget(m_endText, 1, 0);
    dates->addWidget(m_endButton, 1, 1);
    dates->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("開始:8888/88/88 88:88:88")));
    dates->setColumnStretch(2, 1);

    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(kinds);
    row->addLayout(dates, 1);
    return box;
}

QWidget* CAxisDialogBase::BuildAttributes(std::vector<QWidget*>& order)
{
    auto* values = new QGroupBox(QStringLiteral("数値種別"));
    auto* valueRow = new QHBoxLayout(values);
    m_valueKind = new QButtonGroup(this);
    for (ValueKind k : {ValueKind::Instant, ValueKind::Max, ValueKind::Min}) {
        auto* radio = new QRadioButton(Caption(k));
        m_valueKind->addButton(radio, int(k));
        valueRow->addWidget(radio);
        order.push_back(radio);
    }
    m_controls[Field::ValueKind] = m_valueKind->button(0);

    auto* attributes = new QGroupBox(QStringLiteral("軸属性"));
    auto* grid = new QHBoxLayout(attributes);
    QCheckBox* autoRange = AddCheck(Field::AutoRange, QStringLiteral("自動範囲設定"));
    QCheckBox* latest = AddCheck(Field::LatestRows, QStringLiteral("最新行表示"));
    QLineEdit* rows = AddEdit(Field::LatestRowCount, true);
    rows->setAccessibleName(QStringLiteral("最新行表示の行数"));
    QCheckBox* log = AddCheck(Field::LogScale, QStringLiteral("対数"));
    grid->addWidget(autoRange);
    grid->addWidget(latest);
    grid->addWidget(rows);
    grid->addWidget(new QLabel(QStringLiteral("行")));
    grid->addWidget(log);
    grid->addStretch(1);
    order.insert(order.end(), {autoRange, latest, rows, log});

    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(values);
    row->addWidget(attributes, 1);
    return box;
}

QWidget* CAxisDialogBase::BuildLine(Line line, std::vector<QWidget*>& order)
{
    // The axis line has no length, divisions or side; those entries are never read for it.
    struct Fields
    {
        const char16_t* title;
        Field show, style, length, width, divisions, side;
    };
    static const Fields kLines[] = {
        {u"軸線", Field::ShowAxisLine, Field::AxisLineStyle, Field::LabelSettings, Field::AxisLineWidth,
         Field::LabelSettings, Field::LabelSettings},
        {u"目盛線", Field::ShowTicks, Field::TickStyle, Field::TickLength, Field::TickWidth,
         Field::TickDivisions, Field::TickSide},
        {u"補助目盛線", Field::ShowSubTicks, Field::SubTickStyle, Field::SubTickLength, Field::SubTickWidth,
         Field::SubTickDivisions, Field::SubTickSide},
    };
    const Fields& f = kLines[line];
    auto* group = new QGroupBox(QString::fromUtf16(f.title));
    auto* rows = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    rows->addLayout(row);
    auto put = [&](QLabel* label, QWidget* field) {
        if (label)
            row->addWidget(label);
        row->addWidget(field);
        order.push_back(field);
    };

    put(nullptr, AddCheck(f.show, QStringLiteral("表示")));
    QComboBox* style = AddCombo(f.style, LineStyleNames());
    put(BuddyLabel(QStringLiteral("線種"), style), style);
    m_colorButtons[line] = new QPushButton(QStringLiteral("色..."));
    m_swatches[line] = new CColorSwatch;
    row->addWidget(m_swatches[line]);
    put(nullptr, m_colorButtons[line]);
    connect(m_colorButtons[line], &QPushButton::clicked, this, [this, line] { ChooseColor(line); });
    if (line != AxisLine) {
        QLineEdit* length = AddEdit(f.length, true);
        put(BuddyLabel(QStringLiteral("線長"), length), length);
    }
    QLineEdit* width = AddEdit(f.width, true);
    put(BuddyLabel(line == AxisLine ? QStringLiteral("線幅(ピクセル)") : QStringLiteral("線幅"), width), width);
    row->addStretch(1);
    if (line == AxisLine)
        return group;

    row = new QHBoxLayout;
    rows->addLayout(row);
    if (line == Ticks) {
        QLineEdit* start = AddEdit(Field::TickStart, false);
        put(BuddyLabel(QStringLiteral("開始論理値"), start), start);
        QLineEdit* end = AddEdit(Field::TickEnd, false);
        put(BuddyLabel(QStringLiteral("終了論理値"), end), end);
    }
    QLineEdit* divisions = AddEdit(f.divisions, true);
    put(BuddyLabel(QStringLiteral("分割数"), divisions), divisions);
    QComboBox* side = AddCombo(f.side, TickSideNames());
    put(BuddyLabel(QStringLiteral("刻み方"), side), side);
    row->addStretch(1);
    return group;
}

QWidget* CAxisDialogBase::BuildLabels(std::vector<QWidget*>& order)
{
    auto* group = new QGroupBox(QStringLiteral("目盛ラベル"));
    auto* row = new QHBoxLayout(group);
    QCheckBox* show = AddCheck(Field::ShowLabels, QStringLiteral("表示"));
    auto* unit = new QLineEdit;
    m_controls[Field::Unit] = unit;
    m_labelButton = new QPushButton(QStringLiteral("ラベル設定..."));
    m_controls[Field::LabelSettings] = m_labelButton;
    connect(m_labelButton, &QPushButton::clicked, this, &CAxisDialogBase::EditLabel);
    row->addWidget(show);
    row->addWidget(BuddyLabel(QStringLiteral("単位"), unit));
    row->addWidget(unit, 1);
    row->addWidget(m_labelButton);
    order.insert(order.end(), {show, unit, m_labelButton});
    return group;
}

QWidget* CAxisDialogBase::BuildArithmetic(std::vector<QWidget*>& order)
{
    auto* group = new QGroupBox(QStringLiteral("演算…軸値＝FD値×乗算値＋加算値"));
    auto* row = new QHBoxLayout(group);
    QLineEdit* multiplier = AddEdit(Field::Multiplier, false);
    QLineEdit* adder = AddEdit(Field::Adder, false);
    row->addWidget(BuddyLabel(QStringLiteral("乗算値"), multiplier));
    row->addWidget(multiplier);
    row->addWidget(BuddyLabel(QStringLiteral("加算値"), adder));
    row->addWidget(adder);
    row->addStretch(1);
    order.insert(order.end(), {multiplier, adder});
    return group;
}

QWidget* CAxisDialogBase::Control(Field field) const
{
    const auto it = m_controls.find(field);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* CAxisDialogBase::Edit(Field field) const
{
    return qobject_cast<QLineEdit*>(Control(field));
}

bool CAxisDialogBase::DateTimeChecked() const
{
    return m_logicalKind && m_logicalKind->checkedId() == int(LogicalKind::DateTime);
}

void CAxisDialogBase::SetAxis(const CAxisInfo& axis)
{
    m_axis = axis;
    Opening();
    SetValues(AxisForm::Load(m_axis));
    for (Line line : {AxisLine, Ticks, SubTicks})
        m_swatches[line]->SetColor(LineOf(line).m_color);
    Opened();
}

namespace {

QString Text(const std::map<Field, QWidget*>& controls, Field field)
{
    const auto it = controls.find(field);
    auto* edit = it == controls.end() ? nullptr : qobject_cast<QLineEdit*>(it->second);
    return edit ? edit->text() : QString();
}

bool Checked(const std::map<Field, QWidget*>& controls, Field field)
{
    const auto it = controls.find(field);
    auto* check = it == controls.end() ? nullptr : qobject_cast<QCheckBox*>(it->second);
    return check && check->isChecked();
}

int Index(const std::map<Field, QWidget*>& controls, Field field)
{
    const auto it = controls.find(field);
    auto* combo = it == controls.end() ? nullptr : qobject_cast<QComboBox*>(it->second);
    return combo ? combo->currentIndex() : -1;
}

} // namespace

AxisForm::Values CAxisDialogBase::Values() const
{
    const auto& c = m_controls;
    AxisForm::Values v;
    v.logicalKind = m_logicalKind ? m_logicalKind->checkedId() : -1;
    v.valueKind = m_valueKind ? m_valueKind->checkedId() : -1;
    v.autoRange = Checked(c, Field::AutoRange);
    v.latestRows = Checked(c, Field::LatestRows);
    v.logScale = Checked(c, Field::LogScale);
    v.showAxisLine = Checked(c, Field::ShowAxisLine);
    v.axisLineStyle = Index(c, Field::AxisLineStyle);
    v.axisLineWidth = Text(c, Field::AxisLineWidth);
    v.showTicks = Checked(c, Field::ShowTicks);
    v.tickStyle = Index(c, Field::TickStyle);
    v.tickLength = Text(c, Field::TickLength);
    v.tickWidth = Text(c, Field::TickWidth);
    v.tickStart = Text(c, Field::TickStart);
    v.tickEnd = Text(c, Field::TickEnd);
    v.tickDivisions = Text(c, Field::TickDivisions);
    v.tickSide = Index(c, Field::TickSide);
    v.showSubTicks = Checked(c, Field::ShowSubTicks);
    v.subTickStyle = Index(c, Field::SubTickStyle);
    v.subTickLength = Text(c, Field::SubTickLength);
    v.subTickWidth = Text(c, Field::SubTickWidth);
    v.subTickDivisions = Text(c, Field::SubTickDivisions);
    v.subTickSide = Index(c, Field::SubTickSide);
    v.showLabels = Checked(c, Field::ShowLabels);
    v.unit = Text(c, Field::Unit);
    v.latestRowCount = Text(c, Field::LatestRowCount);
    v.multiplier = Text(c, Field::Multiplier);
    v.adder = Text(c, Field::Adder);
    return v;
}

void CAxisDialogBase::SetValues(const AxisForm::Values& v)
{
    auto text = [this](Field field, const QString& value) {
        if (QLineEdit* edit = Edit(field))
            edit->setText(value);
    };
    auto check = [this](Field field, bool value) {
        if (auto* box = qobject_cast<QCheckBox*>(Control(field)))
            box->setChecked(value);
    };
    auto index = [this](Field field, int value) {
        if (auto* combo = qobject_cast<QComboBox*>(Control(field)))
            combo->setCurrentIndex(value);
    };
    CheckById(m_logicalKind, v.logicalKind);
    CheckById(m_valueKind, v.valueKind);
    check(Field::AutoRange, v.autoRange);
    check(Field::LatestRows, v.latestRows);
    check(Field::LogScale, v.logScale);
    check(Field::ShowAxisLine, v.showAxisLine);
    index(Field::AxisLineStyle, v.axisLineStyle);
    text(Field::AxisLineWidth, v.axisLineWidth);
    check(Field::ShowTicks, v.showTicks);
    index(Field::TickStyle, v.tickStyle);
    text(Field::TickLength, v.tickLength);
    text(Field::TickWidth, v.tickWidth);
    text(Field::TickStart, v.tickStart);
    text(Field::TickEnd, v.tickEnd);
    text(Field::TickDivisions, v.tickDivisions);
    index(Field::TickSide, v.tickSide);
    check(Field::ShowSubTicks, v.showSubTicks);
    index(Field::SubTickStyle, v.subTickStyle);
    text(Field::SubTickLength, v.subTickLength);
    text(Field::SubTickWidth, v.subTickWidth);
    text(Field::SubTickDivisions, v.subTickDivisions);
    index(Field::SubTickSide, v.subTickSide);
    check(Field::ShowLabels, v.showLabels);
    text(Field::Unit, v.unit);
    text(Field::LatestRowCount, v.latestRowCount);
    text(Field::Multiplier, v.multiplier);
    text(Field::Adder, v.adder);
}

CLineInfo& CAxisDialogBase::LineOf(Line line)
{
    switch (line) {
    case Ticks: return m_axis.m_tickLine;
    case SubTicks: return m_axis.m_subTickLine;
    case AxisLine: break;
    }
    return m_axis.m_axisLine;
}

void CAxisDialogBase::ChooseColor(Line line)
{
    CLineInfo& info = LineOf(line);
    if (const std::optional<COLORREF> color = m_ui.ChooseColor(info.m_color)) {
        info.m_color = *color;
        m_swatches[line]->SetColor(*color);
    }
}

void CAxisDialogBase::EditLabel()
{
    BeforeLabelDialog();
    CDialogLabelEdit dialog(m_ui, this);
    dialog.SetTextInfo(m_axis.m_labelText);
    if (m_run(dialog) == QDialog::Accepted)
        m_axis.m_labelText = dialog.TextInfo();
}

void CAxisDialogBase::accept()
{
    const std::optional<AxisForm::Failure> failure = AxisForm::Apply(Values(), m_variant, m_axis);
    if (!failure) {
        QDialog::accept();
        return;
    }
    m_ui.MessageBox(failure->message, failure->caption, MessageIcon::Information, MessageButtons::Ok);
    if (QWidget* control = Control(failure->field)) {
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->selectAll();
    }
}
