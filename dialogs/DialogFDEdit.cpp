#include "dialogs/DialogFDEdit.h"

#include "dialogs/DialogStr.h"
#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "forms/ListEdit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

CDialogFDEdit::CDialogFDEdit(const CFDInfo& entry, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_entry(entry)
{
    setWindowTitle(QStringLiteral("FD番号情報編集"));
    m_target = NumberEdit(FieldRead::FormatInt(entry.m_targetFD));
    m_descriptions = new CListWithButtons;

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(QStringLiteral("変換FD番号"), m_target), 0, 0);
    grid->addWidget(m_target, 0, 1);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(BuddyLabel(QStringLiteral("説明文"), m_descriptions->List()));
    layout->addWidget(m_descriptions, 1);
    layout->addWidget(OkCancelButtons(this));
    resize(440, 300);

    connect(m_descriptions->AddButton(), &QPushButton::clicked, this, &CDialogFDEdit::OnAdd);
    connect(m_descriptions->EditButton(), &QPushButton::clicked, this, &CDialogFDEdit::OnEdit);
    connect(m_descriptions->DeleteButton(), &QPushButton::clicked, this, &CDialogFDEdit::OnDelete);
    Refill(0);
}

void CDialogFDEdit::Refill(int selection)
{
    m_descriptions->Fill(m_entry.m_descriptions, selection);
}

void CDialogFDEdit::OnAdd()
{
    CDialogStr dialog(m_ui, this);
    if (m_run(dialog) == QDialog::Accepted)
        Refill(AppendEntry(m_entry.m_descriptions, dialog.String()));
}

void CDialogFDEdit::OnEdit()
{
    const int index = m_descriptions->Current();
    if (index < 0 || index >= m_entry.m_descriptions.size())
        return;
    CDialogStr dialog(m_ui, this);
    dialog.SetString(m_entry.m_descriptions[index]);
    if (m_run(dialog) != QDialog::Accepted)
        return;
    m_entry.m_descriptions[index] = dialog.String();
    Refill(index);
}

void CDialogFDEdit::OnDelete()
{
    const int index = m_descriptions->Current();
    if (index >= 0)
        Refill(RemoveEntry(m_entry.m_descriptions, index));
}

void CDialogFDEdit::accept()
{
    CFieldReader reader(m_ui);
    int32_t target = 0;
    if (!reader.IntInRange(m_target, 0, std::numeric_limits<int32_t>::max(), target))
        return;
    m_entry.m_targetFD = target;
    QDialog::accept();
}
