#include "dialogs/DialogPlotEdit.h"

#include "dialogs/ColorSwatch.h"
#include "dialogs/DialogAxisCopy.h"
#include "dialogs/DialogAxisEdit.h"
#include "dialogs/DialogPlotEditOthers.h"
#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace C = PlotEditControl;

static_assert(C::Axis1StartX == EditControl::Axis1StartX && C::Axis1StartY == EditControl::Axis1StartY
              && C::Axis1EndX == EditControl::Axis1EndX && C::Axis1EndY == EditControl::Axis1EndY
              && C::Axis2StartX == EditControl::Axis2StartX && C::Axis2StartY == EditControl::Axis2StartY
              && C::Axis2EndX == EditControl::Axis2EndX && C::Axis2EndY == EditControl::Axis2EndY
              && C::Size == EditControl::PlotSize);

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

const QString kShapes[] = {
    QStringLiteral("\u3007"), QStringLiteral("\u25A1"), QStringLiteral("\u25C7"), QStringLiteral("\u25B3"),
    QStringLiteral("\u25BD"), QStringLiteral("\u00D7"), QStringLiteral("\uFF0B"),
};

struct AxisControls
{
    int fdNo, startX, startY, startValue, endX, endY, endValue, others;
};
constexpr AxisControls kAxes[2] = {
    {C::Axis1FdNo, C::Axis1StartX, C::Axis1StartY, C::Axis1StartValue, C::Axis1EndX, C::Axis1EndY,
     C::Axis1EndValue, C::Axis1Others},
    {C::Axis2FdNo, C::Axis2StartX, C::Axis2StartY, C::Axis2StartValue, C::Axis2EndX, C::Axis2EndY,
     C::Axis2EndValue, C::Axis2Others},
};

} // namespace

CDialogPlotEdit::CDialogPlotEdit(const CEditContext& context, QWidget* parent)
    : CEditDialog(context, parent)
{
    setWindowTitle(QStringLiteral("プロット情報編集…SHIFT+マウスドラッグでサイズ指定可能"));
    if (const CPlotInfo* plot = WorkingPlot())
        m_saved = *plot;

    std::vector<QWidget*> tabOrder;
    auto inOrder = [&tabOrder](QWidget* w) {
        tabOrder.push_back(w);
        return w;
    };

    // ID, size, fill and line width.
    auto* basics = new QGridLayout;
    QLineEdit* id = m_controls.AddEdit(C::Id, true);
    QLineEdit* size = m_controls.AddEdit(C::Size, true);
    m_fill = new QCheckBox(QStringLiteral("塗りつぶす"));
    m_controls.Add(C::Fill, m_fill);
    QLineEdit* lineWidth = m_controls.AddEdit(C::LineWidth, true);
    basics->addWidget(BuddyLabel(QStringLiteral("ＩＤ"), inOrder(id)), 0, 0);
    basics->addWidget(id, 0, 1);
    basics->addWidget(BuddyLabel(QStringLiteral("サイズ(ピクセル)"), inOrder(size)), 0, 2);
    basics->addWidget(size, 0, 3);
    basics->addWidget(inOrder(m_fill), 0, 4);
    basics->addWidget(BuddyLabel(QStringLiteral("線幅(ピクセル)"), inOrder(lineWidth)), 0, 5);
    basics->addWidget(lineWidth, 0, 6);
    basics->setColumnStretch(7, 1);

    // Display kind, shape and colour.
    auto* kindGroup = new QGroupBox(QStringLiteral("表示種別"));
    m_latest = new QRadioButton(QStringLiteral("最新表示"));
    m_history = new QRadioButton(QStringLiteral("履歴表示"));
    m_controls.Add(C::Latest, m_latest);
    m_controls.Add(C::History, m_history);
    auto* kindButtons = new QButtonGroup(this);
    kindButtons->addButton(m_latest, int(DisplayKind::Latest));
    kindButtons->addButton(m_history, int(DisplayKind::History));
    auto* kindLayout = new QHBoxLayout(kindGroup);
    kindLayout->addWidget(inOrder(m_latest));
    kindLayout->addWidget(inOrder(m_history));

    m_shape = new QComboBox;
    for (const QString& shape : kShapes)
        m_shape->addItem(shape);
    m_controls.Add(C::Shape, m_shape);
    m_swatch = new CColorSwatch([this] {
        const CPlotInfo* plot = WorkingPlot();
        return plot ? plot->m_color : COLORREF(0);
    });
    m_controls.Add(C::ColorSwatch, m_swatch);
    auto* chooseColor = new QPushButton(QStringLiteral("色..."));
    m_controls.Add(C::ColorButton, chooseColor);
    connect(chooseColor, &QPushButton::clicked, this, &CDialogPlotEdit::ChooseColor);

    auto* looks = new QHBoxLayout;
    looks->addWidget(kindGroup);
    looks->addWidget(BuddyLabel(QStringLiteral("形状"), inOrder(m_shape)));
    looks->addWidget(m_shape);
    looks->addSpacing(12);
    looks->addWidget(BuddyLabel(QStringLiteral("色"), m_swatch));
    looks->addWidget(m_swatch);
    looks->addWidget(inOrder(chooseColor));
    looks->addStretch(1);

    // Origin.
    auto* originGroup = new QGroupBox(QStringLiteral("原点種別…マウスクリックでその位置に軸を水平移動"));
    m_fixed = new QRadioButton(QStringLiteral("固定"));
    m_moving = new QRadioButton(QStringLiteral("移動"));
    m_controls.Add(C::Fixed, m_fixed);
    m_controls.Add(C::Moving, m_moving);
    auto* originButtons = new QButtonGroup(this);
    originButtons->addButton(m_fixed, int(OriginKind::Fixed));
    originButtons->addButton(m_moving, int(OriginKind::Moving));
    QLineEdit* originPlotId = m_controls.AddEdit(C::OriginPlotId, true);
    auto* originLayout = new QHBoxLayout(originGroup);
    originLayout->addWidget(inOrder(m_fixed));
    originLayout->addWidget(inOrder(m_moving));
    originLayout->addSpacing(12);
    originLayout->addWidget(BuddyLabel(QStringLiteral("対象プロットＩＤ"), inOrder(originPlotId)));
    originLayout->addWidget(originPlotId);
    originLayout->addStretch(1);
    auto* others = new QPushButton(QStringLiteral("その他..."));
    m_controls.Add(C::Others, others);
    connect(others, &QPushButton::clicked, this, &CDialogPlotEdit::EditOthers);
    auto* originRow = new QHBoxLayout;
    originRow->addWidget(originGroup, 1);
    originRow->addWidget(inOrder(others), 0, Qt::AlignBottom);

    // The two axes side by side.
    const QString axisNames[2] = {QStringLiteral("軸１"), QStringLiteral("軸２")};
    const QString groupTitles[2] = {QStringLiteral("軸１…マウスドラッグで位置指定可能"),
                                    QStringLiteral("軸２…CTRL+マウスドラッグで位置指定可能")};
    const QString fdCaptions[2] = {QStringLiteral("対象FD番号(0起算)"), QStringLiteral("対象FD番号")};
    auto* axesRow = new QHBoxLayout;
    for (int a = 0; a < 2; ++a) {
        const AxisControls& ids = kAxes[a];
        auto* group = new QGroupBox(groupTitles[a]);
        auto* grid = new QGridLayout(group);
        auto* top = new QHBoxLayout;
        if (a == 1) {
            m_axis2Enabled = new QCheckBox(QStringLiteral("有効"));
            m_axis2Enabled->setAccessibleName(QStringLiteral("軸２ 有効"));
            m_controls.Add(C::Axis2Enabled, m_axis2Enabled);
            top->addWidget(inOrder(m_axis2Enabled));
        }
        QLineEdit* fdNo = m_controls.AddEdit(ids.fdNo, true);
        top->addWidget(BuddyLabel(fdCaptions[a], inOrder(fdNo)));
        fdNo->setAccessibleName(axisNames[a] + u' ' + fdCaptions[a]);
        top->addWidget(fdNo);
        top->addStretch(1);
        auto* axisOthers = new QPushButton(QStringLiteral("その他軸情報..."));
        m_controls.Add(ids.others, axisOthers);
        connect(axisOthers, &QPushButton::clicked, this, [this, a] { EditAxis(a); });
        top->addWidget(inOrder(axisOthers));
        grid->addLayout(top, 0, 0, 1, 4);

        const QString columns[3] = {QStringLiteral("水平位置"), QStringLiteral("鉛直位置"), QStringLiteral("論理値")};
        for (int c = 0; c < 3; ++c)
            grid->addWidget(new QLabel(columns[c]), 1, c + 1);
        const QString rows[2] = {QStringLiteral("開始点"), QStringLiteral("終了点")};
        const int rowControls[2][3] = {{ids.startX, ids.startY, ids.startValue}, {ids.endX, ids.endY, ids.endValue}};
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 3; ++c) {
                QLineEdit* edit = m_controls.AddEdit(rowControls[r][c], false);
                if (c == 0)
                    grid->addWidget(BuddyLabel(rows[r], edit), r + 2, 0);
                edit->setAccessibleName(axisNames[a] + u' ' + rows[r] + u' ' + columns[c]);
                grid->addWidget(inOrder(edit), r + 2, c + 1);
            }
        }
        axesRow->addWidget(group);
    }

    auto* copyMove = new QPushButton(QStringLiteral("軸CopyMove..."));
    m_controls.Add(C::AxisCopyMove, copyMove);
    connect(copyMove, &QPushButton::clicked, this, &CDialogPlotEdit::CopyMoveAxes);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(inOrder(copyMove));
    noteRow->addSpacing(12);
    noteRow->addWidget(new QLabel(QStringLiteral("背景画像高さ1000,原点左上,右下+")));
    noteRow->addStretch(1);

    auto* comment = new QLineEdit;
    m_controls.Add(C::Comment, comment);
    auto* commentRow = new QHBoxLayout;
    commentRow->addWidget(BuddyLabel(QStringLiteral("コメント"), inOrder(comment)));
    commentRow->addWidget(comment, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(basics);
    layout->addLayout(looks);
    layout->addLayout(originRow);
    layout->addLayout(axesRow);
    layout->addLayout(noteRow);
    layout->addLayout(commentRow);
    QWidget* buttons = CreateButtonRow();
    layout->addWidget(buttons);
    m_controls.Add(C::Apply, ApplyButton());
    tabOrder.push_back(buttons);
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // The views write into these by number.
    for (int control : {C::Axis1StartX, C::Axis1StartY, C::Axis1EndX, C::Axis1EndY, C::Axis2StartX,
                        C::Axis2StartY, C::Axis2EndX, C::Axis2EndY, C::Size})
        RegisterField(control, Edit(control));

    if (const CPlotInfo* plot = WorkingPlot())
        SetValues(PlotEditValuesOf(*plot));
}

CPlotInfo* CDialogPlotEdit::WorkingPlot() const
{
    CVantrelDoc* doc = m_context.doc;
    if (!doc || Ended())
        return nullptr;
    return SelectedEntry(doc->m_workPlots, doc->m_selectedIndex);
}

void CDialogPlotEdit::SetValues(const CPlotEditValues& v)
{
    Edit(C::Id)->setText(FieldRead::FormatInt(v.id));
    Edit(C::Size)->setText(FieldRead::FormatInt(v.size));
    m_fill->setChecked(v.fill != 0);
    Edit(C::LineWidth)->setText(FieldRead::FormatInt(v.lineWidth));
    CheckById(m_latest->group(), static_cast<int>(v.displayKind));
    m_shape->setCurrentIndex(static_cast<int>(v.shape));
    CheckById(m_fixed->group(), static_cast<int>(v.originKind));
    Edit(C::OriginPlotId)->setText(FieldRead::FormatInt(v.originPlotId));
    m_axis2Enabled->setChecked(v.axis2Enabled);
    for (int a = 0; a < 2; ++a)
        SetAxisFields(a, v.axes[size_t(a)]);
    Edit(C::Comment)->setText(v.comment);
}

void CDialogPlotEdit::SetAxisFields(int axis, const CPlotEditAxisValues& v)
{
    const AxisControls& ids = kAxes[axis];
    Edit(ids.fdNo)->setText(FieldRead::FormatInt(v.fdNo));
    Edit(ids.startX)->setText(FieldRead::FormatReal(v.startX));
    Edit(ids.startY)->setText(FieldRead::FormatReal(v.startY));
    Edit(ids.startValue)->setText(FieldRead::FormatReal(v.startValue));
    Edit(ids.endX)->setText(FieldRead::FormatReal(v.endX));
    Edit(ids.endY)->setText(FieldRead::FormatReal(v.endY));
    Edit(ids.endValue)->setText(FieldRead::FormatReal(v.endValue));
}

bool CDialogPlotEdit::ReadFields(CPlotEditValues& v)
{
    // A stored kind or shape that no control shows stays as it is.
    const CPlotInfo* plot = WorkingPlot();
    CFieldReader read(*m_context.ui);
    read.Int(Edit(C::Id), v.id);
    read.IntInRange(Edit(C::Size), 0, 1000, v.size);
    v.fill = m_fill->isChecked() ? 1 : 0;
    read.IntInRange(Edit(C::LineWidth), 0, kIntMax, v.lineWidth);
    v.displayKind = m_history->isChecked() ? DisplayKind::History
                    : m_latest->isChecked() ? DisplayKind::Latest
                                            : plot->m_displayKind;
    v.shape = m_shape->currentIndex() >= 0 ? static_cast<PlotShape>(m_shape->currentIndex()) : plot->m_shape;
    v.originKind = m_moving->isChecked() ? OriginKind::Moving
                   : m_fixed->isChecked() ? OriginKind::Fixed
                                          : plot->m_originKind;
    read.Int(Edit(C::OriginPlotId), v.originPlotId);
    read.IntInRange(Edit(C::Axis1FdNo), 0, kIntMax, v.axes[0].fdNo);
    v.axis2Enabled = m_axis2Enabled->isChecked();
    read.IntInRange(Edit(C::Axis2FdNo), 0, kIntMax, v.axes[1].fdNo);
    v.comment = Edit(C::Comment)->text();
    for (int a = 0; a < 2; ++a) {
        const AxisControls& ids = kAxes[a];
        CPlotEditAxisValues& axis = v.axes[size_t(a)];
        read.Real(Edit(ids.startX), axis.startX);
        read.Real(Edit(ids.startY), axis.startY);
        read.Real(Edit(ids.startValue), axis.startValue);
        read.Real(Edit(ids.endX), axis.endX);
        read.Real(Edit(ids.endY), axis.endY);
        read.Real(Edit(ids.endValue), axis.endValue);
    }
    return read.Ok();
}

bool CDialogPlotEdit::ApplyFields()
{
    CVantrelDoc* doc = m_context.doc;
    if (!WorkingPlot())
        return false;
    CPlotEditValues values;
    if (!ReadFields(values))
        return false;
    const CPlotEditOutcome outcome = ApplyPlotEdit(doc->m_workPlots, doc->m_selectedIndex, values);
    if (outcome.ok)
        return true;
    ShowRefusal(outcome, Control(outcome.focus));
    return false;
}

void CDialogPlotEdit::CancelEdit()
{
    CVantrelDoc* doc = m_context.doc;
    if (!doc)
        return;
    CancelEntryEdit(doc->m_workPlots, doc->m_selectedIndex, doc->m_editMode == EditMode::PlotAdd, m_saved);
}

void CDialogPlotEdit::ChooseColor()
{
    CPlotInfo* plot = WorkingPlot();
    if (!plot)
        return;
    const std::optional<COLORREF> color = m_context.ui->ChooseColor(plot->m_color);
    if (!color)
        return;
    plot->m_color = *color;
    m_swatch->update();
    PostApply();
}

void CDialogPlotEdit::EditOthers()
{
    if (!WorkingPlot())
        return;
    CDialogPlotEditOthers others(m_context, this);
    if (RunWhileHidden(others) == QDialog::Accepted)
        PostApply();
}

void CDialogPlotEdit::EditAxis(int axis)
{
    CPlotEditValues values;
    CPlotInfo* plot = WorkingPlot();
    if (!plot || plot->m_axes.size() < 2 || !ReadFields(values))
        return;
    CAxisInfo& stored = plot->m_axes[size_t(axis)];
    stored.m_startValue = values.axes[size_t(axis)].startValue;
    stored.m_endValue = values.axes[size_t(axis)].endValue;
    CDialogAxisEdit dialog(*m_context.ui, this);
    if (m_context.run)
        dialog.SetDialogRunner(m_context.run);
    dialog.SetAxis(stored);
    if (RunSubDialog(m_context.run, dialog) != QDialog::Accepted)
        return;
    // Looked up again: the selection is the document's, not ours.
    if (CPlotInfo* edited = WorkingPlot(); edited && edited->m_axes.size() >= 2) {
        CAxisInfo& target = edited->m_axes[size_t(axis)];
        target = dialog.Axis();
        // Fifteen digits, so that a date-time range comes back to the second.
        Edit(kAxes[axis].startValue)->setText(FieldRead::FormatReal(target.m_startValue));
        Edit(kAxes[axis].endValue)->setText(FieldRead::FormatReal(target.m_endValue));
        PostApply();
    }
}

void CDialogPlotEdit::CopyMoveAxes()
{
    CPlotEditValues values;
    CPlotInfo* plot = WorkingPlot();
    if (!plot || plot->m_axes.size() < 2 || !ReadFields(values))
        return;
    for (size_t a = 0; a < 2; ++a)
        WritePlotEditAxis(plot->m_axes[a], values.axes[a]);
    CDialogAxisCopy dialog(m_context, this);
    if (RunSubDialog(m_context.run, dialog) != QDialog::Accepted)
        return;
    // A copy brings the other axis's FD number too; left in the field, the next Apply would
    // write the old one back over it.
    LoadAxisFields();
    PostApply();
}

void CDialogPlotEdit::LoadAxisFields()
{
    const CPlotInfo* plot = WorkingPlot();
    if (!plot || plot->m_axes.size() < 2)
        return;
    for (int a = 0; a < 2; ++a)
        SetAxisFields(a, PlotEditAxisValuesOf(plot->m_axes[size_t(a)]));
}
