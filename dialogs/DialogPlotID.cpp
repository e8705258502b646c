#include "dialogs/DialogPlotID.h"

#include "forms/ConnectForm.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDialogPlotID::CDialogPlotID(const CEditContext& context, int32_t initialId, QWidget* parent)
    : QDialog(parent), m_context(context), m_id(initialId)
{
    setWindowTitle(QStringLiteral("プロットID編集"));

    m_box = new QComboBox;
    m_box->setEditable(true);
    // Enter accepts the dialog; it never adds the typed text to the choices.
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_box->setMinimumContentsLength(12);
    if (m_context.doc)
        m_box->addItems(ConnectForm::PlotIdChoices(m_context.doc->m_plots));
    const QString initial = QString::number(initialId);
    const int index = m_box->findText(initial, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    m_box->setCurrentIndex(index);
    if (index < 0)
        m_box->setEditText(initial);

    auto* row = new QHBoxLayout;
    row->addWidget(BuddyLabel(QStringLiteral("プロットID"), m_box));
    row->addWidget(m_box, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(OkCancelButtons(this));
    m_box->setFocus();
}

void CDialogPlotID::accept()
{
    int32_t id = 0;
    if (!ConnectForm::ReadPlotId(m_box->currentText(), id)) {
        m_context.ui->MessageBox(ConnectForm::kPlotIdMessage, ConnectForm::kPlotIdTitle, MessageIcon::Information,
                                 MessageButtons::Ok);
        m_box->setFocus(Qt::OtherFocusReason);
        m_box->lineEdit()->selectAll();
        return;
    }
    m_id = id;
    QDialog::accept();
}
