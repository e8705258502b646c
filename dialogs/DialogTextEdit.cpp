#include "dialogs/DialogTextEdit.h"

#include "dialogs/DialogParts.h"
#include "dialogs/FieldReader.h"
#include "forms/AxisForm.h"
#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"
#include "render/DrawContext.h"
#include "render/FontMapping.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr int32_t kMaxField = std::numeric_limits<int32_t>::max();

// A titled group of radio buttons whose ids are the values they stand for; columns > 1 lays
// them out row by row.
QGroupBox* RadioGroup(const QString& title, const QStringList& captions, QButtonGroup* group,
                      std::vector<QWidget*>& order, int columns = 1)
{
    auto* box = new QGroupBox(title);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* radio = new QRadioButton(captions[i]);
        group->addButton(radio, i);
        grid->addWidget(radio, i / columns, i % columns);
        order.push_back(radio);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return box;
}

// Writes the checked button's value; with none checked the stored value stays.
template <typename E>
void ReadChecked(const QButtonGroup* group, E& out)
{
    if (const int id = group->checkedId(); id >= 0)
        out = static_cast<E>(id);
}

} // namespace

CDialogTextEdit::CDialogTextEdit(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("テキスト情報の編集"));
    std::vector<QWidget*> order;

    m_fdNo = NumberEdit();
    DigitsOnly(m_fdNo);
    order.push_back(m_fdNo);
    auto* fdRow = new QHBoxLayout;
    fdRow->addWidget(BuddyLabel(QStringLiteral("対象FD番号"), m_fdNo));
    fdRow->addWidget(m_fdNo);
    fdRow->addStretch(1);

    m_displayKind = new QButtonGroup(this);
    QGroupBox* displayBox = RadioGroup(QStringLiteral("表示種別"),
                                       {QStringLiteral("最新表示"), QStringLiteral("履歴表示")},
                                       m_displayKind, order);
    m_valueKind = new QButtonGroup(this);
    QGroupBox* valueBox = RadioGroup(QStringLiteral("数値種別"),
                                     {QStringLiteral("瞬時値"), QStringLiteral("最大値"),
                                      QStringLiteral("最小値"), QStringLiteral("文字列")},
                                     m_valueKind, order);
    m_anchor = new QButtonGroup(this);
    QStringList anchors;
    for (int i = 0; i <= 8; ++i)
        anchors << Caption(static_cast<TextAnchor>(i));
    QGroupBox* anchorBox = RadioGroup(QStringLiteral("プロットに対する位置"), anchors, m_anchor, order, 3);

    m_distance = NumberEdit();
    DigitsOnly(m_distance);
    m_prefix = new QLineEdit;
    m_suffix = new QLineEdit;
    order.insert(order.end(), {m_distance, m_prefix, m_suffix});
    auto* placeGrid = new QGridLayout;
    placeGrid->addWidget(BuddyLabel(QStringLiteral("プロットからの距離(ピクセル単位)"), m_distance), 0, 0);
    placeGrid->addWidget(m_distance, 0, 1);
    placeGrid->addWidget(BuddyLabel(QStringLiteral("前置文字列"), m_prefix), 1, 0);
    placeGrid->addWidget(m_prefix, 1, 1);
    placeGrid->addWidget(BuddyLabel(QStringLiteral("後置文字列"), m_suffix), 2, 0);
    placeGrid->addWidget(m_suffix, 2, 1);
    placeGrid->setRowStretch(3, 1);

    m_logicalKind = new QButtonGroup(this);
    QGroupBox* logicalBox = RadioGroup(QStringLiteral("論理値種別"),
                                       {QStringLiteral("数値"), QStringLiteral("日時"),
                                        QStringLiteral("入力データ数")},
                                       m_logicalKind, order);
    m_multiplier = NumberEdit();
    m_adder = NumberEdit();
    order.insert(order.end(), {m_multiplier, m_adder});
    auto* mathBox = new QGroupBox(QStringLiteral("演算…数値＝FD値×乗算値＋加算値"));
    auto* mathGrid = new QGridLayout(mathBox);
    mathGrid->addWidget(BuddyLabel(QStringLiteral("乗算値"), m_multiplier), 0, 0);
    mathGrid->addWidget(m_multiplier, 0, 1);
    mathGrid->addWidget(BuddyLabel(QStringLiteral("加算値"), m_adder), 1, 0);
    mathGrid->addWidget(m_adder, 1, 1);

    m_format = new QComboBox;
    m_format->setEditable(true);
    m_format->setInsertPolicy(QComboBox::NoInsert);
    // Completion could change the case of a typed conversion ("%E" into "%e").
    m_format->setCompleter(nullptr);
    m_format->addItems(FormatChoices());
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(BuddyLabel(QStringLiteral("書式"), m_format));
    formatRow->addWidget(m_format, 1);

    m_preview = new CTextPreview;
    m_fontButton = new QPushButton(QStringLiteral("フォント..."));
    m_transparent = new QCheckBox(QStringLiteral("背景透明"));
    m_backColorButton = new QPushButton(QStringLiteral("背景色指定..."));
    order.insert(order.end(), {m_format, m_fontButton, m_transparent, m_backColorButton});
    auto* lookRow = new QHBoxLayout;
    lookRow->addWidget(m_preview, 1);
    lookRow->addWidget(m_fontButton);
    lookRow->addWidget(m_transparent);
    lookRow->addWidget(m_backColorButton);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    order.push_back(buttons);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(displayBox);
    kinds->addWidget(valueBox);
    auto* place = new QHBoxLayout;
    place->addWidget(anchorBox);
    place->addLayout(placeGrid);
    auto* value = new QHBoxLayout;
    value->addWidget(logicalBox);
    value->addWidget(mathBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fdRow);
    layout->addLayout(kinds);
    layout->addLayout(place);
    layout->addLayout(value);
    layout->addLayout(formatRow);
    layout->addLayout(lookRow);
    layout->addWidget(buttons);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_fontButton, &QPushButton::clicked, this, &CDialogTextEdit::OnFont);
    connect(m_backColorButton, &QPushButton::clicked, this, &CDialogTextEdit::OnBackColor);
    connect(m_transparent, &QCheckBox::toggled, this, &CDialogTextEdit::OnTransparent);
    LoadFields();
}

QAbstractButton* CDialogTextEdit::DisplayKindButton(int value) const { return m_displayKind->button(value); }
QAbstractButton* CDialogTextEdit::ValueKindButton(int value) const { return m_valueKind->button(value); }
QAbstractButton* CDialogTextEdit::AnchorButton(int value) const { return m_anchor->button(value); }
QAbstractButton* CDialogTextEdit::LogicalKindButton(int value) const { return m_logicalKind->button(value); }

void CDialogTextEdit::SetText(const CTextInfo& text)
{
    m_text = text;
    LoadFields();
}

void CDialogTextEdit::LoadFields()
{
    m_fdNo->setText(FieldRead::FormatInt(m_text.m_fdNo));
    CheckById(m_displayKind, static_cast<int>(m_text.m_displayKind));
    CheckById(m_valueKind, static_cast<int>(m_text.m_valueKind));
    CheckById(m_anchor, static_cast<int>(m_text.m_anchor));
    m_distance->setText(FieldRead::FormatInt(m_text.m_distance));
    m_prefix->setText(m_text.m_prefix);
    m_suffix->setText(m_text.m_suffix);
    CheckById(m_logicalKind, static_cast<int>(m_text.m_logicalKind));
    m_multiplier->setText(FieldRead::FormatReal(m_text.m_multiplier));
    m_adder->setText(FieldRead::FormatReal(m_text.m_adder));
    m_format->setEditText(m_text.m_format);
    {
        const QSignalBlocker block(m_transparent);
        m_transparent->setChecked(m_text.m_opaque == 0);
    }
    m_preview->Show(m_text);
}

void CDialogTextEdit::OnFont()
{
    const std::optional<FontChoice> choice = m_ui.ChooseFont(FontChoice{m_text.m_font, m_text.m_textColor});
    if (!choice)
        return;
    m_text.m_font = choice->font;
    m_text.m_textColor = choice->color;
    m_preview->Show(m_text);
}

void CDialogTextEdit::OnBackColor()
{
    const std::optional<COLORREF> color = m_ui.ChooseColor(m_text.m_backColor);
    if (!color)
        return;
    m_text.m_backColor = *color;
    m_preview->Show(m_text);
}

void CDialogTextEdit::OnTransparent(bool checked)
{
    m_text.m_opaque = checked ? 0 : 1;
    m_preview->Show(m_text);
}

void CDialogTextEdit::accept()
{
    CFieldReader reader(m_ui);
    int32_t fdNo = 0;
    int32_t distance = 0;
    double multiplier = 0.0;
    double adder = 0.0;
    reader.IntInRange(m_fdNo, 0, kMaxField, fdNo);
    reader.IntInRange(m_distance, 0, kMaxField, distance);
    reader.Real(m_multiplier, multiplier);
    reader.Real(m_adder, adder);
    if (!reader.Ok())
        return;

    m_text.m_fdNo = fdNo;
    ReadChecked(m_displayKind, m_text.m_displayKind);
    ReadChecked(m_valueKind, m_text.m_valueKind);
    ReadChecked(m_anchor, m_text.m_anchor);
    m_text.m_distance = distance;
    m_text.m_prefix = m_prefix->text();
    m_text.m_suffix = m_suffix->text();
    ReadChecked(m_logicalKind, m_text.m_logicalKind);
    m_text.m_multiplier = multiplier;
    m_text.m_adder = adder;
    m_text.m_format = m_format->currentText();

    if (!m_text.IsFormatValid()) {
        m_ui.MessageBox(QStringLiteral("書式が不正です."), QStringLiteral("入力チェック"),
                        MessageIcon::Information, MessageButtons::Ok);
        m_format->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}
