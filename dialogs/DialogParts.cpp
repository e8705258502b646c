#include "dialogs/DialogParts.h"

#include "forms/ListEdit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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

CListWithButtons::CListWithButtons(QWidget* parent)
    : QWidget(parent)
{
    m_list = new QListWidget(this);
    // Long lines scroll sideways, as wide as the widest line.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideNone);
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
    m_list->clear();
    m_list->addItems(lines);
    const int selection = ClampSelection(requested, m_list->count());
    if (selection >= 0)
        m_list->setCurrentRow(selection);
    m_edit->setEnabled(selection >= 0);
    m_delete->setEnabled(selection >= 0);
}

int CListWithButtons::Current() const
{
    return m_list->currentRow();
}
