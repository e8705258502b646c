#include "dialogs/DialogBarEdit.h"

#include "dialogs/ColorSwatch.h"
#include "dialogs/DialogAxisLineEdit.h"
#include "dialogs/DialogBarEditOthers.h"
#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace C = BarEditControl;

static_assert(C::StartX == EditControl::Axis1StartX && C::StartY == EditControl::Axis1StartY
              && C::EndX == EditControl::Axis1EndX && C::EndY == EditControl::Axis1EndY
              && C::PixelWidth == EditControl::BarPixelWidth);

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

} // namespace

CDialogBarEdit::CDialogBarEdit(const CEditContext& context, QWidget* parent)
    : CEditDialog(context, parent)
{
    setWindowTitle(QStringLiteral("棒情報の編集"));
    if (const CBarInfo* bar = WorkingBar())
        m_saved = *bar;

    std::vector<QWidget*> tabOrder;
    auto inOrder = [&tabOrder](QWidget* w) {
        tabOrder.push_back(w);
        return w;
    };

    // ID and pixel width.
    QLineEdit* id = m_controls.AddEdit(C::Id, true);
    QLineEdit* width = m_controls.AddEdit(C::PixelWidth, true);
    auto* basics = new QGridLayout;
    basics->addWidget(BuddyLabel(QStringLiteral("ＩＤ"), inOrder(id)), 0, 0);
    basics->addWidget(id, 0, 1);
    basics->addWidget(BuddyLabel(QStringLiteral("ピクセル幅"), inOrder(width)), 0, 2);
    basics->addWidget(width, 0, 3);
    basics->addWidget(new QLabel(QStringLiteral("↑CTRL+マウスドラッグでピクセル幅指定可能")), 1, 2, 1, 3);
    basics->setColumnStretch(4, 1);

    // Value kind and where the axis start lies on the bar.
    auto* kindBox = new QGroupBox(QStringLiteral("数値種別"));
    m_valueKind = AddRadios({{C::Instant, QStringLiteral("瞬時値")},
                             {C::Max, QStringLiteral("最大値")},
                             {C::Min, QStringLiteral("最小値")}},
                            kindBox);
    auto* anchorBox = new QGroupBox(QStringLiteral("軸開始点の棒相対位置"));
    m_anchor = AddRadios({{C::AnchorCenter, QStringLiteral("中央")},
                          {C::AnchorStart, QStringLiteral("開始点")},
                          {C::AnchorEnd, QStringLiteral("終了点")}},
                         anchorBox);
    for (QButtonGroup* group : {m_valueKind, m_anchor}) {
        for (QAbstractButton* b : group->buttons())
            inOrder(b);
    }
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(kindBox);
    kinds->addWidget(anchorBox);
    kinds->addStretch(1);

    // Colour and the other settings.
    m_swatch = new CColorSwatch([this] {
        const CBarInfo* bar = WorkingBar();
        return bar ? bar->m_line.m_color : COLORREF(0);
    });
    m_controls.Add(C::ColorSwatch, m_swatch);
    auto* chooseColor = new QPushButton(QStringLiteral("色..."));
    m_controls.Add(C::ColorButton, chooseColor);
    connect(chooseColor, &QPushButton::clicked, this, &CDialogBarEdit::ChooseColor);
    auto* others = new QPushButton(QStringLiteral("その他..."));
    m_controls.Add(C::Others, others);
    connect(others, &QPushButton::clicked, this, &CDialogBarEdit::EditOthers);
    auto* looks = new QHBoxLayout;
    looks->addWidget(BuddyLabel(QStringLiteral("色"), m_swatch));
    looks->addWidget(m_swatch);
    looks->addWidget(inOrder(chooseColor));
    looks->addStretch(1);
    looks->addWidget(inOrder(others));

    // The axis.
    auto* axisBox = new QGroupBox(QStringLiteral("軸…マウスドラッグで位置指定可能"));
    auto* grid = new QGridLayout(axisBox);
    QLineEdit* fdNo = m_controls.AddEdit(C::FdNo, true);
    auto* axisOthers = new QPushButton(QStringLiteral("その他軸情報..."));
    m_controls.Add(C::AxisOthers, axisOthers);
    connect(axisOthers, &QPushButton::clicked, this, &CDialogBarEdit::EditAxis);
    auto* top = new QHBoxLayout;
    top->addWidget(BuddyLabel(QStringLiteral("対象FD番号(0起算)"), inOrder(fdNo)));
    top->addWidget(fdNo);
    top->addStretch(1);
    top->addWidget(inOrder(axisOthers));
    grid->addLayout(top, 0, 0, 1, 4);
    const QString columns[3] = {QStringLiteral("水平位置"), QStringLiteral("鉛直位置"), QStringLiteral("論理値")};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(columns[c]), 1, c + 1);
    const QString rows[2] = {QStringLiteral("開始点"), QStringLiteral("終了点")};
    const int rowControls[2][3] = {{C::StartX, C::StartY, C::StartValue}, {C::EndX, C::EndY, C::EndValue}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            QLineEdit* edit = m_controls.AddEdit(rowControls[r][c], false);
            if (c == 0)
                grid->addWidget(BuddyLabel(rows[r], edit), r + 2, 0);
            edit->setAccessibleName(rows[r] + u' ' + columns[c]);
            grid->addWidget(inOrder(edit), r + 2, c + 1);
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("背景画像高さ1000,原点左上,右下+")), 4, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("↑マウスクリックでその位置に軸を水平移動")), 5, 0, 1, 4);

    // Comment and initial value.
    auto* comment = new QLineEdit;
    m_controls.Add(C::Comment, comment);
    QLineEdit* initial = m_controls.AddEdit(C::InitialValue, false);
    auto* bottom = new QGridLayout;
    bottom->addWidget(BuddyLabel(QStringLiteral("コメント"), inOrder(comment)), 0, 0);
    bottom->addWidget(comment, 0, 1, 1, 2);
    bottom->addWidget(BuddyLabel(QStringLiteral("初期論理値"), inOrder(initial)), 1, 0);
    bottom->addWidget(initial, 1, 1);
    bottom->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(basics);
    layout->addLayout(kinds);
    layout->addLayout(looks);
    layout->addWidget(axisBox);
    layout->addLayout(bottom);
    QWidget* buttons = CreateButtonRow();
    layout->addWidget(buttons);
    m_controls.Add(C::Apply, ApplyButton());
    tabOrder.push_back(buttons);
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // The views write into these by number.
    for (int control : {C::StartX, C::StartY, C::EndX, C::EndY, C::PixelWidth})
        RegisterField(control, Edit(control));

    if (const CBarInfo* bar = WorkingBar())
        SetValues(BarEditValuesOf(*bar));
}

QButtonGroup* CDialogBarEdit::AddRadios(const std::vector<std::pair<int, QString>>& radios, QWidget* box)
{
    auto* group = new QButtonGroup(this);
    auto* row = new QHBoxLayout(box);
    int value = 0;
    for (const auto& [control, caption] : radios) {
        auto* radio = new QRadioButton(caption);
        group->addButton(radio, value++);
        m_controls.Add(control, radio);
        row->addWidget(radio);
    }
    return group;
}

CBarInfo* CDialogBarEdit::WorkingBar() const
{
    CVantrelDoc* doc = m_context.doc;
    if (!doc || Ended())
        return nullptr;
    return SelectedEntry(doc->m_workBars, doc->m_selectedIndex);
}

void CDialogBarEdit::SetValues(const CBarEditValues& v)
{
    Edit(C::Id)->setText(FieldRead::FormatInt(v.id));
    Edit(C::PixelWidth)->setText(FieldRead::FormatInt(v.pixelWidth));
    CheckById(m_valueKind, static_cast<int>(v.valueKind));
    CheckById(m_anchor, static_cast<int>(v.anchor));
    Edit(C::FdNo)->setText(FieldRead::FormatInt(v.fdNo));
    Edit(C::StartX)->setText(FieldRead::FormatReal(v.startX));
    Edit(C::StartY)->setText(FieldRead::FormatReal(v.startY));
    Edit(C::StartValue)->setText(FieldRead::FormatReal(v.startValue));
    Edit(C::EndX)->setText(FieldRead::FormatReal(v.endX));
    Edit(C::EndY)->setText(FieldRead::FormatReal(v.endY));
    Edit(C::EndValue)->setText(FieldRead::FormatReal(v.endValue));
    Edit(C::Comment)->setText(v.comment);
    Edit(C::InitialValue)->setText(FieldRead::FormatReal(v.initialValue));
}

bool CDialogBarEdit::ReadFields(CBarEditValues& v)
{
    const CBarInfo* bar = WorkingBar();
    if (!bar)
        return false;
    // A stored kind or anchor that no radio button shows stays as it is.
    v = BarEditValuesOf(*bar);
    CFieldReader read(*m_context.ui);
    read.Int(Edit(C::Id), v.id);
    read.IntInRange(Edit(C::PixelWidth), 0, kIntMax, v.pixelWidth);
    if (const int kind = m_valueKind->checkedId(); kind >= 0)
        v.valueKind = static_cast<ValueKind>(kind);
    if (const int anchor = m_anchor->checkedId(); anchor >= 0)
        v.anchor = static_cast<BarAnchor>(anchor);
    read.IntInRange(Edit(C::FdNo), 0, kIntMax, v.fdNo);
    read.Real(Edit(C::StartX), v.startX);
    read.Real(Edit(C::StartY), v.startY);
    read.Real(Edit(C::StartValue), v.startValue);
    read.Real(Edit(C::EndX), v.endX);
    read.Real(Edit(C::EndY), v.endY);
    read.Real(Edit(C::EndValue), v.endValue);
    v.comment = Edit(C::Comment)->text();
    read.Real(Edit(C::InitialValue), v.initialValue);
    return read.Ok();
}

bool CDialogBarEdit::ApplyFields()
{
    CBarEditValues values;
    if (!ReadFields(values))
        return false;
    CVantrelDoc* doc = m_context.doc;
    const CEditOutcome outcome = ApplyBarEdit(doc->m_workBars, doc->m_selectedIndex, values);
    if (outcome.ok)
        return true;
    ShowRefusal(outcome, Control(outcome.focus));
    return false;
}

void CDialogBarEdit::CancelEdit()
{
    CVantrelDoc* doc = m_context.doc;
    if (!doc)
        return;
    CancelEntryEdit(doc->m_workBars, doc->m_selectedIndex, doc->m_editMode == EditMode::BarAdd, m_saved);
}

void CDialogBarEdit::ChooseColor()
{
    CBarInfo* bar = WorkingBar();
    if (!bar)
        return;
    const std::optional<COLORREF> color = m_context.ui->ChooseColor(bar->m_line.m_color);
    if (!color)
        return;
    bar->m_line.m_color = *color;
    m_swatch->update();
    PostApply();
}

void CDialogBarEdit::EditOthers()
{
    if (!WorkingBar())
        return;
    CDialogBarEditOthers others(m_context, this);
    if (RunWhileHidden(others) == QDialog::Accepted)
        PostApply();
}

void CDialogBarEdit::EditAxis()
{
    CBarInfo* bar = WorkingBar();
    CBarEditValues values;
    // The fields are only checked here; Apply writes them afterwards.
    if (!bar || !ReadFields(values))
        return;
    // The bar axis dialog offers neither kind: the axis becomes a plain instant value, and
    // Apply then writes the value kind of the radio buttons.
    bar->m_axis.m_logicalKind = LogicalKind::Number;
    bar->m_axis.m_valueKind = ValueKind::Instant;
    CDialogAxisLineEdit dialog(*m_context.ui, this);
    if (m_context.run)
        dialog.SetDialogRunner(m_context.run);
    dialog.SetAxis(bar->m_axis);
    if (RunSubDialog(m_context.run, dialog) != QDialog::Accepted)
        return;
    // Looked up again: the selection is the document's, not ours.
    if (CBarInfo* edited = WorkingBar()) {
        edited->m_axis = dialog.Axis();
        PostApply();
    }
}
