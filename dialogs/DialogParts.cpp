#include "dialogs/DialogParts.h"

#include "forms/ListEdit.h"

#include <QDialog>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int kExtentMargin = 5;
// Lines beyond this many are measured only when they are among the longest.
constexpr int kMeasuredLines = 2000;

} // namespace

// Gives every line the size measured for the widest.
class CExtentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void Measure(const QListWidget* list, const std::vector<int>& rows)
    {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.font = list->font();
        QSize size;
        for (int row : rows)
            size = size.expandedTo(QStyledItemDelegate::sizeHint(option, list->model()->index(row, 0)));
        m_size = size.isValid() ? size + QSize(kExtentMargin, 0) : QSize();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return m_size.isValid() ? m_size : QStyledItemDelegate::sizeHint(option, index);
    }

private:
    QSize m_size;
};

DialogRunner ExecRunner()
{
    return [](QDialog& dialog) { return dialog.exec(); };
}

QLabel* BuddyLabel(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text);
    label->setBuddy(field);
    QString name = text;
    name.remove(u'&');
    field->setAccessibleName(name.trimmed());
    return label;
}

QLineEdit* NumberEdit(const QString& text)
{
    auto* edit = new QLineEdit(text);
    const int digits = edit->fontMetrics().horizontalAdvance(QStringLiteral("-2147483648"));
    edit->setMinimumWidth(digits + 12);
    edit->setMaximumWidth(digits * 3 / 2 + 12);
    return edit;
}

void DigitsOnly(QLineEdit* edit)
{
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

void CheckById(QButtonGroup* group, int value)
{
    if (!group)
        return;
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == value);
    group->setExclusive(true);
}

QGroupBox* TitledGroup(const QString& title, QWidget* content)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

void ClickLater(QPushButton* button)
{
    button->setFocus(Qt::OtherFocusReason);
    QPointer<QPushButton> target = button;
    QMetaObject::invokeMethod(
        button,
        [target] {
            if (target && target->isEnabled())
                target->click();
        },
        Qt::QueuedConnection);
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

CWideList::CWideList(QWidget* parent)
    : QListWidget(parent), m_delegate(new CExtentDelegate(this))
{
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
}

int CWideList::Fill(const QStringList& lines, int requested)
{
    clear();
    addItems(lines);
    m_delegate->Measure(this, WidestLineCandidates(lines, kMeasuredLines));
    doItemsLayout();
    const int selection = ClampSelection(requested, count());
    if (selection >= 0)
        setCurrentRow(selection);
    return selection;
}

CListWithButtons::CListWithButtons(QWidget* parent)
    : QWidget(parent)
{
    m_list = new CWideList(this);
    m_add = new QPushButton(QStringLiteral("&Add..."), this);
    m_edit = new QPushButton(QStringLiteral("&Edit..."), this);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    setTabOrder(m_list, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
}

void CListWithButtons::Fill(const QStringList& lines, int requested)
{
    const int selection = m_list->Fill(lines, requested);
    m_edit->setEnabled(selection >= 0);
    m_delete->setEnabled(selection >= 0);
}

int CListWithButtons::Current() const
{
    return m_list->currentRow();
}
