#include "dialogs/EditDialog.h"

#include "platform/UserInteraction.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

CEditDialog::CEditDialog(const CEditContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog), m_context(context)
{
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

QLineEdit* CEditDialog::Field(int control) const
{
    const auto it = m_fields.find(control);
    return it == m_fields.end() ? nullptr : it->second;
}

QString CEditDialog::FieldText(int control) const
{
    const QLineEdit* field = Field(control);
    return field ? field->text() : QString();
}

void CEditDialog::SetFieldText(int control, const QString& text)
{
    if (QLineEdit* field = Field(control)) {
        field->setText(text);
        field->repaint();
    }
}

void CEditDialog::PostApply()
{
    activateWindow();
    ClickLater(m_apply);
}

void CEditDialog::RegisterField(int control, QLineEdit* field)
{
    m_fields[control] = field;
}

QWidget* CEditDialog::CreateButtonRow()
{
    auto* box = new QDialogButtonBox(this);
    m_apply = box->addButton(QStringLiteral("適用"), QDialogButtonBox::ApplyRole);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        if (!m_ended && ApplyFields())
            SendHint(EditHint::SelectedOrApplied);
    });
    connect(ok, &QPushButton::clicked, this, &CEditDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CEditDialog::reject);
    return box;
}

void CEditDialog::SendHint(int32_t hint) const
{
    if (m_context.updateAllViews)
        m_context.updateAllViews(hint);
}

int CEditDialog::RunWhileHidden(QDialog& sub)
{
    // Shown again, a dialog that the user moved (through the window manager) would be
    // centred over the main window again.
    const QPoint at = pos();
    hide();
    const int result = RunSubDialog(m_context.run, sub);
    move(at);
    show();
    return result;
}

void ShowEditRefusal(IUserInteraction& ui, const CEditOutcome& outcome, QWidget* focus)
{
    if (outcome.message.isEmpty())
        return;
    ui.MessageBox(outcome.message, outcome.title, MessageIcon::Information, MessageButtons::Ok);
    if (focus) {
        focus->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(focus))
            edit->selectAll();
    }
}

void CEditDialog::ShowRefusal(const CEditOutcome& outcome, QWidget* focus)
{
    ShowEditRefusal(*m_context.ui, outcome, focus);
}

void CEditDialog::accept()
{
    if (m_ended || !ApplyFields())
        return;
    m_ended = true;
    Q_EMIT editEnded();
}

void CEditDialog::reject()
{
    if (m_ended)
        return;
    CancelEdit();
    m_ended = true;
    Q_EMIT editEnded();
}
