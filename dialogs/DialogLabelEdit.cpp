#include "dialogs/DialogLabelEdit.h"

#include "dialogs/DialogParts.h"
#include "dialogs/TextPreview.h"
#include "platform/UserInteraction.h"
#include "render/DrawContext.h"
#include "render/FontMapping.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CDialogLabelEdit::CDialogLabelEdit(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("目盛ラベル設定"));
    m_format = new QComboBox;
    m_format->setEditable(true);
    m_format->setInsertPolicy(QComboBox::NoInsert);
    m_format->addItems(FormatChoices());
    m_format->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("%Y/%m/%d %H:%M:%S(%a)")) + 40);
    m_preview = new CTextPreview;
    m_fontButton = new QPushButton(QStringLiteral("フォント..."));
    m_backButton = new QPushButton(QStringLiteral("背景色指定..."));
    m_transparent = new QCheckBox(QStringLiteral("背景透明"));

    auto* anchors = new QGroupBox(QStringLiteral("軸線と目盛線の交点に対する位置"));
    auto* anchorGrid = new QGridLayout(anchors);
    m_anchor = new QButtonGroup(this);
    std::vector<QWidget*> order{m_format, m_fontButton, m_transparent, m_backButton};
    for (int i = 0; i < LabelForm::kAnchorCount; ++i) {
        auto* radio = new QRadioButton(Caption(TextAnchor(i)));
        m_anchor->addButton(radio, i);
        anchorGrid->addWidget(radio, i / 3, i % 3);
        order.push_back(radio);
    }
    m_distance = NumberEdit();
    DigitsOnly(m_distance);
    order.push_back(m_distance);

    auto* top = new QGridLayout;
    top->addWidget(BuddyLabel(QStringLiteral("書式"), m_format), 0, 0);
    top->addWidget(m_format, 0, 1, 1, 2);
    top->addWidget(m_preview, 1, 0, 3, 2);
    top->addWidget(m_fontButton, 1, 2);
    top->addWidget(m_transparent, 2, 2);
    top->addWidget(m_backButton, 3, 2);
    auto* distance = new QHBoxLayout;
    distance->addWidget(BuddyLabel(QStringLiteral("軸線と目盛線の交点からの距離"), m_distance));
    distance->addWidget(m_distance);
    distance->addWidget(new QLabel(QStringLiteral("(ピクセル単位)")));
    distance->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(anchors);
    layout->addLayout(distance);
    layout->addWidget(OkCancelButtons(this));
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_fontButton, &QPushButton::clicked, this, &CDialogLabelEdit::ChooseFont);
    connect(m_backButton, &QPushButton::clicked, this, &CDialogLabelEdit::ChooseBackColor);
    connect(m_transparent, &QCheckBox::clicked, this, [this](bool checked) {
        m_text.m_opaque = checked ? 0 : 1;
        Repaint();
    });
    SetTextInfo(CTextInfo());
}

void CDialogLabelEdit::SetTextInfo(const CTextInfo& text)
{
    m_text = text;
    SetValues(LabelForm::Load(m_text));
    m_transparent->setChecked(m_text.m_opaque == 0);
    Repaint();
}

LabelForm::Values CDialogLabelEdit::Values() const
{
    LabelForm::Values v;
    v.format = m_format->currentText();
    v.anchor = m_anchor->checkedId();
    v.distance = m_distance->text();
    return v;
}

void CDialogLabelEdit::SetValues(const LabelForm::Values& values)
{
    m_format->setEditText(values.format);
    // A stored anchor outside the nine shows no choice.
    CheckById(m_anchor, values.anchor);
    m_distance->setText(values.distance);
}

QAbstractButton* CDialogLabelEdit::AnchorButton(TextAnchor anchor) const
{
    return m_anchor->button(int(anchor));
}

void CDialogLabelEdit::Repaint()
{
    m_preview->Show(m_text);
}

void CDialogLabelEdit::ChooseFont()
{
    if (const std::optional<FontChoice> choice = m_ui.ChooseFont(FontChoice{m_text.m_font, m_text.m_textColor})) {
        m_text.m_font = choice->font;
        m_text.m_textColor = choice->color;
        Repaint();
    }
}

void CDialogLabelEdit::ChooseBackColor()
{
    if (const std::optional<COLORREF> color = m_ui.ChooseColor(m_text.m_backColor)) {
        m_text.m_backColor = *color;
        Repaint();
    }
}

void CDialogLabelEdit::accept()
{
    const std::optional<LabelForm::Failure> failure = LabelForm::Apply(Values(), m_text);
    if (!failure) {
        QDialog::accept();
        return;
    }
    m_ui.MessageBox(failure->message, failure->caption, MessageIcon::Information, MessageButtons::Ok);
    if (failure->field == LabelForm::Field::Distance) {
        m_distance->setFocus(Qt::OtherFocusReason);
        m_distance->selectAll();
    } else {
        m_format->setFocus(Qt::OtherFocusReason);
    }
}
