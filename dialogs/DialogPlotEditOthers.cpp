#include "dialogs/DialogPlotEditOthers.h"

#include "dialogs/ColorSwatch.h"
#include "dialogs/DialogParts.h"
#include "dialogs/FieldReader.h"
#include "dialogs/PrefixLists.h"
#include "dialogs/TextInfoList.h"
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
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int32_t kMaxLineWidth = 1000;
constexpr int kLineStyleCount = 5;

} // namespace

CDialogPlotEditOthers::CDialogPlotEditOthers(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("プロット情報その他編集"));
    if (const CPlotInfo* plot = Plot())
        m_saved = *plot;
    IUserInteraction& ui = *m_context.ui;
    const DialogRunner run = [this](QDialog& d) { return RunSubDialog(m_context.run, d); };

    // Variable size.
    m_variableSize = new QCheckBox(QStringLiteral("サイズ可変"));
    m_sizeFdNo = NumberEdit();
    DigitsOnly(m_sizeFdNo);
    m_sizeBase = NumberEdit();
    m_sizeStep = NumberEdit();
    m_sizeValueKind = new QButtonGroup(this);
    auto* kindBox = new QGroupBox(QStringLiteral("可変サイズの数値種別"));
    auto* kindRow = new QHBoxLayout(kindBox);
    const QStringList kinds = {QStringLiteral("瞬時値"), QStringLiteral("最大値"), QStringLiteral("最小値")};
    for (int i = 0; i < kinds.size(); ++i) {
        auto* radio = new QRadioButton(kinds[i]);
        m_sizeValueKind->addButton(radio, i);
        kindRow->addWidget(radio);
    }
    auto* sizeBox = new QGroupBox(QStringLiteral("プロットサイズ可変対応"));
    auto* sizeGrid = new QGridLayout(sizeBox);
    sizeGrid->addWidget(m_variableSize, 0, 0, 1, 2);
    sizeGrid->addWidget(BuddyLabel(QStringLiteral("可変サイズ対象FD番号"), m_sizeFdNo), 1, 0);
    sizeGrid->addWidget(m_sizeFdNo, 1, 1);
    sizeGrid->addWidget(BuddyLabel(QStringLiteral("初期サイズ論理値"), m_sizeBase), 2, 0);
    sizeGrid->addWidget(m_sizeBase, 2, 1);
    sizeGrid->addWidget(BuddyLabel(QStringLiteral("初期円半径サイズ変化量に相当する論理値（マイナスあり）"), m_sizeStep), 3, 0);
    sizeGrid->addWidget(m_sizeStep, 3, 1);
    sizeGrid->addWidget(kindBox, 4, 0, 1, 2);

    // History polyline.
    m_historyShow = new QCheckBox(QStringLiteral("有効"));
    m_historyStyle = new QComboBox;
    for (int i = 0; i < kLineStyleCount; ++i)
        m_historyStyle->addItem(Caption(static_cast<LineStyle>(i)));
    m_swatch = new CColorSwatch([this] {
        const CPlotInfo* plot = Plot();
        return plot ? plot->m_historyLine.m_color : COLORREF(0);
    });
    m_colorButton = new QPushButton(QStringLiteral("色..."));
    m_historyWidth = NumberEdit();
    DigitsOnly(m_historyWidth);
    auto* lineBox = new QGroupBox(QStringLiteral("履歴折れ線"));
    auto* lineGrid = new QGridLayout(lineBox);
    lineGrid->addWidget(m_historyShow, 0, 0, 1, 3);
    lineGrid->addWidget(BuddyLabel(QStringLiteral("線種"), m_historyStyle), 1, 0);
    lineGrid->addWidget(m_historyStyle, 1, 1, 1, 2);
    auto* colorLabel = new QLabel(QStringLiteral("色"));
    m_swatch->setAccessibleName(colorLabel->text());
    lineGrid->addWidget(colorLabel, 2, 0);
    lineGrid->addWidget(m_swatch, 2, 1);
    lineGrid->addWidget(m_colorButton, 2, 2);
    lineGrid->addWidget(BuddyLabel(QStringLiteral("線幅(ピクセル)"), m_historyWidth), 3, 0);
    lineGrid->addWidget(m_historyWidth, 3, 1, 1, 2);
    lineGrid->setColumnStretch(3, 1);

    // Lists.
    m_include = new CListWithButtons;
    m_include->List()->setAccessibleName(QStringLiteral("対象データ先頭文字列"));
    m_ignore = new CListWithButtons;
    m_ignore->List()->setAccessibleName(QStringLiteral("無視データ先頭文字列"));
    m_texts = new CTextInfoList(
        ui, run,
        [this]() -> std::vector<CTextInfo>* {
            CPlotInfo* plot = Plot();
            return plot ? &plot->m_texts : nullptr;
        },
        [this] {
            const CPlotInfo* plot = Plot();
            return plot && !plot->m_axes.empty() ? plot->m_axes.front().m_fdNo : 0;
        });

    // Buttons, in the order they are tabbed through.
    m_apply = new QPushButton(QStringLiteral("適用"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(sizeBox);
    left->addWidget(lineBox);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(TitledGroup(QStringLiteral("対象データ先頭文字列(空ならば全データ対象)"), m_include));
    right->addWidget(TitledGroup(QStringLiteral("無視データ先頭文字列(空ならば全データ対象)"), m_ignore));
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(TitledGroup(QStringLiteral("テキスト表示"), m_texts), 1);
    layout->addLayout(buttons);
    resize(900, 640);

    std::vector<QWidget*> order;
    const auto add = [&order](auto*... widgets) { (order.push_back(widgets), ...); };
    add(m_variableSize, m_sizeFdNo, m_sizeBase, m_sizeStep);
    for (QAbstractButton* b : m_sizeValueKind->buttons())
        add(b);
    add(m_historyShow, m_historyStyle, m_colorButton, m_historyWidth);
    for (CListWithButtons* list : {m_include, m_ignore})
        add(list->List(), list->AddButton(), list->EditButton(), list->DeleteButton());
    add(m_texts->Table(), m_texts->AddButton(), m_texts->EditButton(), m_texts->DeleteButton());
    add(m_apply, ok, cancel);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    WirePrefixList(m_include, ui, run, Prefixes(&CPlotInfo::m_includePrefixes), false);
    WirePrefixList(m_ignore, ui, run, Prefixes(&CPlotInfo::m_ignorePrefixes), true);
    connect(m_colorButton, &QPushButton::clicked, this, &CDialogPlotEditOthers::OnColor);
    connect(m_apply, &QPushButton::clicked, this, &CDialogPlotEditOthers::OnApply);
    connect(ok, &QPushButton::clicked, this, &CDialogPlotEditOthers::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialogPlotEditOthers::reject);

    LoadFields();
    FillPrefixList(m_include, Prefixes(&CPlotInfo::m_includePrefixes), 0);
    FillPrefixList(m_ignore, Prefixes(&CPlotInfo::m_ignorePrefixes), 0);
    m_texts->Fill(0);
    m_variableSize->setFocus(Qt::OtherFocusReason);
}

QAbstractButton* CDialogPlotEditOthers::SizeValueKindButton(int value) const
{
    return m_sizeValueKind->button(value);
}

CPlotInfo* CDialogPlotEditOthers::Plot() const
{
    CVantrelDoc* doc = m_context.doc;
    return doc ? SelectedEntry(doc->m_workPlots, doc->m_selectedIndex) : nullptr;
}

PrefixSource CDialogPlotEditOthers::Prefixes(std::vector<QString> CPlotInfo::*member) const
{
    return [this, member]() -> std::vector<QString>* {
        CPlotInfo* plot = Plot();
        return plot ? &(plot->*member) : nullptr;
    };
}

void CDialogPlotEditOthers::LoadFields()
{
    const CPlotInfo* plot = Plot();
    if (!plot)
        return;
    m_variableSize->setChecked(plot->m_variableSize != 0);
    m_sizeFdNo->setText(FieldRead::FormatInt(plot->m_sizeFdNo));
    m_sizeBase->setText(FieldRead::FormatReal(plot->m_sizeBaseValue));
    m_sizeStep->setText(FieldRead::FormatReal(plot->m_sizeStepValue));
    // A stored kind outside the three leaves every button unchecked.
    CheckById(m_sizeValueKind, static_cast<int>(plot->m_sizeValueKind));
    m_historyShow->setChecked(plot->m_historyLine.m_show != 0);
    const int style = static_cast<int>(plot->m_historyLine.m_style);
    m_historyStyle->setCurrentIndex(style >= 0 && style < kLineStyleCount ? style : -1);
    m_historyWidth->setText(FieldRead::FormatInt(plot->m_historyLine.m_width));
}

bool CDialogPlotEditOthers::ReadFields(Fields& out)
{
    CFieldReader reader(*m_context.ui);
    Fields f;
    f.variableSize = m_variableSize->isChecked() ? 1 : 0;
    reader.Int(m_sizeFdNo, f.sizeFdNo);
    reader.Real(m_sizeBase, f.sizeBase);
    reader.Real(m_sizeStep, f.sizeStep);
    f.historyShow = m_historyShow->isChecked() ? 1 : 0;
    reader.IntInRange(m_historyWidth, 0, kMaxLineWidth, f.historyWidth);
    if (!reader.Ok())
        return false;
    out = f;
    return true;
}

bool CDialogPlotEditOthers::WriteFields()
{
    Fields f;
    CPlotInfo* plot = Plot();
    if (!plot || !ReadFields(f))
        return false;
    plot->m_variableSize = f.variableSize;
    plot->m_sizeFdNo = f.sizeFdNo;
    plot->m_sizeBaseValue = f.sizeBase;
    plot->m_sizeStepValue = f.sizeStep;
    // With no button checked (a kind the dialog does not offer) the stored value stays.
    if (const int kind = m_sizeValueKind->checkedId(); kind >= 0)
        plot->m_sizeValueKind = static_cast<ValueKind>(kind);
    plot->m_historyLine.m_show = f.historyShow;
    if (const int style = m_historyStyle->currentIndex(); style >= 0)
        plot->m_historyLine.m_style = static_cast<LineStyle>(style);
    plot->m_historyLine.m_width = f.historyWidth;
    return true;
}

void CDialogPlotEditOthers::OnApply()
{
    if (!WriteFields())
        return;
    m_applied = true;
    if (m_context.updateAllViews)
        m_context.updateAllViews(EditHint::SelectedOrApplied);
}

void CDialogPlotEditOthers::OnColor()
{
    CPlotInfo* plot = Plot();
    if (!plot)
        return;
    const std::optional<COLORREF> color = m_context.ui->ChooseColor(plot->m_historyLine.m_color);
    if (!color)
        return;
    plot->m_historyLine.m_color = *color;
    m_swatch->repaint();
    // The colour is shown on the views through Apply, clicked once this handler is done.
    ClickLater(m_apply);
}

void CDialogPlotEditOthers::accept()
{
    // The views hear of it when the plot edit dialog applies after this OK.
    if (Plot() && !WriteFields())
        return;
    QDialog::accept();
}

void CDialogPlotEditOthers::reject()
{
    if (CPlotInfo* plot = Plot(); plot && m_saved) {
        *plot = *m_saved;
        // Views showing an Apply of this dialog must show the restored plot again.
        if (m_applied && m_context.updateAllViews)
            m_context.updateAllViews(EditHint::SelectedOrApplied);
    }
    QDialog::reject();
}
