#include "dialogs/DialogConnectEdit.h"

#include "dialogs/ColorSwatch.h"
#include "dialogs/DialogPlotID.h"
#include "dialogs/EditDialog.h"
#include "dialogs/FieldReader.h"
#include "forms/AxisForm.h"
#include "forms/EditPattern.h"
#include "forms/FieldRead.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"
#include "render/DrawContext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>
#include <limits>

namespace C = ConnectEditControl;

CDialogConnectEdit::CDialogConnectEdit(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("プロット結線情報の編集"));
    if (const CConnectInfo* connect = WorkingConnect())
        m_saved = *connect;

    std::vector<QWidget*> tabOrder;
    auto inOrder = [&tabOrder](QWidget* w) {
        tabOrder.push_back(w);
        return w;
    };

    QLineEdit* id = m_controls.AddEdit(C::Id, true);
    m_closed = new QCheckBox(QStringLiteral("始点と終点を結ぶ"));
    m_controls.Add(C::Closed, m_closed);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(BuddyLabel(QStringLiteral("ＩＤ"), inOrder(id)));
    idRow->addWidget(id);
    idRow->addSpacing(16);
    idRow->addWidget(inOrder(m_closed));
    idRow->addStretch(1);

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
    kindLayout->addStretch(1);

    m_style = new QComboBox;
    m_style->addItems(LineStyleNames());
    m_controls.Add(C::LineStyle, m_style);
    QLineEdit* width = m_controls.AddEdit(C::LineWidth, true);
    m_swatch = new CColorSwatch([this] {
        const CConnectInfo* connect = WorkingConnect();
        return connect ? connect->m_line.m_color : COLORREF(0);
    });
    m_controls.Add(C::ColorSwatch, m_swatch);
    auto* chooseColor = new QPushButton(QStringLiteral("色指定..."));
    m_controls.Add(C::ColorButton, chooseColor);
    connect(chooseColor, &QPushButton::clicked, this, &CDialogConnectEdit::ChooseColor);
    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(BuddyLabel(QStringLiteral("線種"), inOrder(m_style)));
    lineRow->addWidget(m_style);
    lineRow->addSpacing(12);
    lineRow->addWidget(BuddyLabel(QStringLiteral("ピクセル幅"), inOrder(width)));
    lineRow->addWidget(width);
    lineRow->addSpacing(12);
    lineRow->addWidget(BuddyLabel(QStringLiteral("色"), m_swatch));
    lineRow->addWidget(m_swatch);
    lineRow->addWidget(inOrder(chooseColor));
    lineRow->addStretch(1);

    auto* idsGroup = new QGroupBox(QStringLiteral("結線するプロット情報のID"));
    m_plotIds = new CWideList;
    m_plotIds->setSelectionMode(QAbstractItemView::SingleSelection);
    m_plotIds->setAccessibleName(idsGroup->title());
    m_controls.Add(C::PlotIds, m_plotIds);
    auto* idButtons = new QVBoxLayout;
    const struct
    {
        int control;
        QString text;
        void (CDialogConnectEdit::*slot)();
    } buttons[] = {
        {C::AddId, QStringLiteral("追加..."), &CDialogConnectEdit::AddPlotId},
        {C::ChangeId, QStringLiteral("変更..."), &CDialogConnectEdit::ChangePlotId},
        {C::DeleteId, QStringLiteral("削除"), &CDialogConnectEdit::DeletePlotId},
    };
    inOrder(m_plotIds);
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.text);
        m_controls.Add(b.control, button);
        connect(button, &QPushButton::clicked, this, b.slot);
        idButtons->addWidget(inOrder(button));
    }
    auto* up = new QPushButton(QStringLiteral("↑"));
    auto* down = new QPushButton(QStringLiteral("↓"));
    up->setAccessibleName(QStringLiteral("上へ"));
    down->setAccessibleName(QStringLiteral("下へ"));
    m_controls.Add(C::Up, up);
    m_controls.Add(C::Down, down);
    connect(up, &QPushButton::clicked, this, [this] { MovePlotId(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MovePlotId(+1); });
    idButtons->addWidget(inOrder(up));
    idButtons->addWidget(inOrder(down));
    idButtons->addStretch(1);
    auto* idsLayout = new QHBoxLayout(idsGroup);
    idsLayout->addWidget(m_plotIds, 1);
    idsLayout->addLayout(idButtons);
    connect(m_plotIds, &QListWidget::itemSelectionChanged, this, &CDialogConnectEdit::UpdatePlotIdButtons);
    connect(m_plotIds, &QListWidget::itemDoubleClicked, this, &CDialogConnectEdit::ChangePlotId);

    auto* comment = new QLineEdit;
    m_controls.Add(C::Comment, comment);
    auto* commentRow = new QHBoxLayout;
    commentRow->addWidget(BuddyLabel(QStringLiteral("コメント"), inOrder(comment)));
    commentRow->addWidget(comment, 1);

    auto* box = new QDialogButtonBox;
    QPushButton* apply = box->addButton(QStringLiteral("適用"), QDialogButtonBox::ApplyRole);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    m_controls.Add(C::Apply, apply);
    connect(apply, &QPushButton::clicked, this, [this] {
        if (ApplyFields() && m_context.updateAllViews)
            m_context.updateAllViews(EditHint::SelectedOrApplied);
    });
    connect(ok, &QPushButton::clicked, this, &CDialogConnectEdit::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialogConnectEdit::reject);
    tabOrder.push_back(box);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(idRow);
    layout->addWidget(kindGroup);
    layout->addLayout(lineRow);
    layout->addWidget(idsGroup, 1);
    layout->addLayout(commentRow);
    layout->addWidget(box);
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    if (const CConnectInfo* connect = WorkingConnect())
        SetValues(ConnectForm::EditValuesOf(*connect));
    FillPlotIds(0);
}

CConnectInfo* CDialogConnectEdit::WorkingConnect() const
{
    CVantrelDoc* doc = m_context.doc;
    return doc ? SelectedEntry(doc->m_workConnects, doc->m_selectedIndex) : nullptr;
}

void CDialogConnectEdit::SetValues(const CConnectEditValues& v)
{
    Edit(C::Id)->setText(FieldRead::FormatInt(v.id));
    m_closed->setChecked(v.closed != 0);
    // A stored kind that neither button shows leaves both clear.
    CheckById(m_latest->group(), static_cast<int>(v.displayKind));
    m_style->setCurrentIndex(static_cast<int>(v.style));
    Edit(C::LineWidth)->setText(FieldRead::FormatInt(v.width));
    Edit(C::Comment)->setText(v.comment);
}

bool CDialogConnectEdit::ReadFields(CConnectEditValues& v)
{
    // A stored kind or style that no control shows stays as it is.
    const CConnectInfo* connect = WorkingConnect();
    CFieldReader read(*m_context.ui);
    read.Int(Edit(C::Id), v.id);
    v.closed = m_closed->isChecked() ? 1 : 0;
    v.displayKind = m_history->isChecked() ? DisplayKind::History
                    : m_latest->isChecked() ? DisplayKind::Latest
                                            : connect->m_displayKind;
    v.style = m_style->currentIndex() >= 0 ? static_cast<LineStyle>(m_style->currentIndex()) : connect->m_line.m_style;
    read.IntInRange(Edit(C::LineWidth), 0, std::numeric_limits<int32_t>::max(), v.width);
    v.comment = Edit(C::Comment)->text();
    return read.Ok();
}

bool CDialogConnectEdit::ApplyFields()
{
    if (!WorkingConnect())
        return false;
    CConnectEditValues values;
    if (!ReadFields(values))
        return false;
    CVantrelDoc* doc = m_context.doc;
    const CConnectEditOutcome outcome = ConnectForm::ApplyConnectEdit(doc->m_workConnects, doc->m_selectedIndex, values);
    if (outcome.ok)
        return true;
    ShowEditRefusal(*m_context.ui, outcome, Control(outcome.focus));
    return false;
}

void CDialogConnectEdit::accept()
{
    if (ApplyFields())
        done(QDialog::Accepted);
}

void CDialogConnectEdit::reject()
{
    if (CConnectInfo* connect = WorkingConnect())
        *connect = m_saved;
    done(QDialog::Rejected);
}

void CDialogConnectEdit::FillPlotIds(int requested)
{
    const CConnectInfo* connect = WorkingConnect();
    m_plotIds->Fill(ConnectForm::PlotIdLines(connect ? connect->m_plotIds : std::vector<int32_t>()), requested);
    UpdatePlotIdButtons();
}

int CDialogConnectEdit::SelectedPlotId() const
{
    const QModelIndexList selected = m_plotIds->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CDialogConnectEdit::UpdatePlotIdButtons()
{
    const CPlotIdButtons enabled = ConnectForm::PlotIdButtonsFor(SelectedPlotId(), m_plotIds->count());
    Control(C::ChangeId)->setEnabled(enabled.change);
    Control(C::DeleteId)->setEnabled(enabled.remove);
    Control(C::Up)->setEnabled(enabled.up);
    Control(C::Down)->setEnabled(enabled.down);
}

std::optional<int32_t> CDialogConnectEdit::PickPlotId(int32_t initial)
{
    CDialogPlotID picker(m_context, initial, this);
    const int result = RunSubDialog(m_context.run, picker);
    if (result != QDialog::Accepted)
        return std::nullopt;
    return picker.Id();
}

void CDialogConnectEdit::AddPlotId()
{
    if (!WorkingConnect())
        return;
    const std::optional<int32_t> id = PickPlotId(0);
    CConnectInfo* connect = WorkingConnect();
    if (!id || !connect)
        return;
    connect->m_plotIds.push_back(*id);
    FillPlotIds(static_cast<int>(connect->m_plotIds.size()) - 1);
}

void CDialogConnectEdit::ChangePlotId()
{
    const int row = SelectedPlotId();
    CConnectInfo* connect = WorkingConnect();
    if (row < 0 || !connect || size_t(row) >= connect->m_plotIds.size())
        return;
    const std::optional<int32_t> id = PickPlotId(connect->m_plotIds[size_t(row)]);
    connect = WorkingConnect();
    if (!id || !connect || size_t(row) >= connect->m_plotIds.size())
        return;
    connect->m_plotIds[size_t(row)] = *id;
    FillPlotIds(row);
}

void CDialogConnectEdit::DeletePlotId()
{
    const int row = SelectedPlotId();
    CConnectInfo* connect = WorkingConnect();
    if (row < 0 || !connect || size_t(row) >= connect->m_plotIds.size())
        return;
    connect->m_plotIds.erase(connect->m_plotIds.begin() + row);
    FillPlotIds(row);
}

void CDialogConnectEdit::MovePlotId(int delta)
{
    CConnectInfo* connect = WorkingConnect();
    if (!connect)
        return;
    const int target = MoveListEntry(connect->m_plotIds, SelectedPlotId(), delta);
    if (target >= 0)
        FillPlotIds(target);
}

void CDialogConnectEdit::ChooseColor()
{
    CConnectInfo* connect = WorkingConnect();
    if (!connect)
        return;
    const std::optional<COLORREF> color = m_context.ui->ChooseColor(connect->m_line.m_color);
    if (!color)
        return;
    connect->m_line.m_color = *color;
    m_swatch->update();
}
