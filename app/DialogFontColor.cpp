#include "app/DialogFontColor.h"

#include "app/ColorRef.h"
#include "render/FontMapping.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Style list order: bit 0 italic, bit 1 bold.
constexpr int kItalicBit = 1;
constexpr int kBoldBit = 2;
constexpr int32_t kWeightNormal = 400;
constexpr int32_t kWeightBold = 700;
constexpr int32_t kWeightBoldFrom = 600;
constexpr int kPreviewPixelsMax = 72;

int StyleOf(const LOGFONTW& font)
{
    return (font.lfItalic ? kItalicBit : 0) | (font.lfWeight >= kWeightBoldFrom ? kBoldBit : 0);
}

QLabel* BuddyLabel(const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    // "フォント名(&F):" is read out as "フォント名".
    field->setAccessibleName(caption.left(caption.indexOf(u'(')));
    return label;
}

} // namespace

CDialogFontColor::CDialogFontColor(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォント"));

    m_face = new QComboBox;
    m_face->setEditable(true);
    m_face->setInsertPolicy(QComboBox::NoInsert);
    m_face->setMinimumContentsLength(18);
    m_style = new QComboBox;
    m_style->addItems({QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"),
                       QStringLiteral("太字 斜体")});
    m_size = new QSpinBox;
    m_size->setRange(1, kMaxFontPixels);
    m_size->setSuffix(QStringLiteral(" px"));

    auto* fields = new QGridLayout;
    fields->addWidget(BuddyLabel(QStringLiteral("フォント名(&F):"), m_face), 0, 0);
    fields->addWidget(m_face, 0, 1);
    fields->addWidget(BuddyLabel(QStringLiteral("スタイル(&Y):"), m_style), 1, 0);
    fields->addWidget(m_style, 1, 1);
    fields->addWidget(BuddyLabel(QStringLiteral("サイズ(&S):"), m_size), 2, 0);
    fields->addWidget(m_size, 2, 1);

    m_strikeOut = new QCheckBox(QStringLiteral("取り消し線(&K)"));
    m_underline = new QCheckBox(QStringLiteral("下線(&U)"));
    m_colorButton = new QPushButton;
    m_colorButton->setIconSize(QSize(40, 14));
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(BuddyLabel(QStringLiteral("色(&C):"), m_colorButton));
    colorRow->addWidget(m_colorButton);
    colorRow->addStretch();
    auto* effects = new QGroupBox(QStringLiteral("効果"));
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(m_strikeOut);
    effectsLayout->addWidget(m_underline);
    effectsLayout->addLayout(colorRow);

    m_preview = new QLabel(QStringLiteral("AaBbYyZz あぁアァ亜宇"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumSize(320, kPreviewPixelsMax + 16);
    m_preview->setAccessibleName(QStringLiteral("サンプル"));
    auto* sample = new QGroupBox(QStringLiteral("サンプル"));
    (new QVBoxLayout(sample))->addWidget(m_preview);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(effects);
    layout->addWidget(sample);
    layout->addWidget(buttons);

    connect(m_face, &QComboBox::currentTextChanged, this, &CDialogFontColor::UpdatePreview);
    connect(m_style, &QComboBox::currentIndexChanged, this, &CDialogFontColor::UpdatePreview);
    connect(m_size, &QSpinBox::valueChanged, this, &CDialogFontColor::UpdatePreview);
    connect(m_strikeOut, &QCheckBox::toggled, this, &CDialogFontColor::UpdatePreview);
    connect(m_underline, &QCheckBox::toggled, this, &CDialogFontColor::UpdatePreview);
    connect(m_colorButton, &QPushButton::clicked, this, &CDialogFontColor::OnColorButton);

    setValues(FontChoice{});
}

int CDialogFontColor::PixelSize(const LOGFONTW& font)
{
    return FontFromLogFont(font).pixelSize();
}

void CDialogFontColor::setValues(const FontChoice& choice)
{
    m_initial = choice;
    m_initialStyle = StyleOf(choice.font);
    m_initialPixels = PixelSize(choice.font);
    m_color = choice.color;

    const QSignalBlocker blockFace(m_face), blockStyle(m_style), blockSize(m_size),
        blockStrike(m_strikeOut), blockUnder(m_underline);
    // The stored face may not be installed (it is drawn through a substitute); it is
    // offered as it is, so that leaving it alone keeps it.
    const QString face = choice.font.FaceName();
    QStringList families = QFontDatabase::families();
    if (!face.isEmpty() && !families.contains(face))
        families.prepend(face);
    m_face->clear();
    m_face->addItems(families);
    m_face->setCurrentIndex(face.isEmpty() ? -1 : int(families.indexOf(face)));
    m_face->setEditText(face);
    m_style->setCurrentIndex(m_initialStyle);
    m_size->setValue(m_initialPixels);
    m_strikeOut->setChecked(choice.font.lfStrikeOut != 0);
    m_underline->setChecked(choice.font.lfUnderline != 0);
    UpdatePreview();
}

FontChoice CDialogFontColor::values() const
{
    FontChoice choice = m_initial;
    LOGFONTW& font = choice.font;
    const QString face = m_face->currentText();
    if (face != m_initial.font.FaceName())
        font.SetFaceName(face.trimmed());
    const int style = m_style->currentIndex();
    if ((style ^ m_initialStyle) & kItalicBit)
        font.lfItalic = (style & kItalicBit) ? 1 : 0;
    if ((style ^ m_initialStyle) & kBoldBit)
        font.lfWeight = (style & kBoldBit) ? kWeightBold : kWeightNormal;
    // A new size is a character height, the record's negative form.
    if (m_size->value() != m_initialPixels)
        font.lfHeight = -m_size->value();
    if (m_strikeOut->isChecked() != (m_initial.font.lfStrikeOut != 0))
        font.lfStrikeOut = m_strikeOut->isChecked() ? 1 : 0;
    if (m_underline->isChecked() != (m_initial.font.lfUnderline != 0))
        font.lfUnderline = m_underline->isChecked() ? 1 : 0;
    choice.color = m_color;
    return choice;
}

void CDialogFontColor::SetColor(COLORREF color)
{
    m_color = color;
    UpdatePreview();
}

void CDialogFontColor::OnColorButton()
{
    QColorDialog dialog(QColorFromColorRef(m_color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("色の設定"));
    if (dialog.exec() == QDialog::Accepted)
        SetColor(KeepUnlessChanged(m_color, dialog.selectedColor()));
}

void CDialogFontColor::UpdatePreview()
{
    const FontChoice choice = values();
    QFont font = FontFromLogFont(choice.font);
    font.setPixelSize(std::min(font.pixelSize(), kPreviewPixelsMax));
    m_preview->setFont(font);
    const QColor color = QColorFromColorRef(choice.color);
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::WindowText, color);
    m_preview->setPalette(palette);

    QPixmap swatch(m_colorButton->iconSize());
    swatch.fill(color);
    m_colorButton->setIcon(QIcon(swatch));
}
