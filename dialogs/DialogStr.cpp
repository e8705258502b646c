#include "dialogs/DialogStr.h"

#include "dialogs/DialogParts.h"
#include "platform/UserInteraction.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

CDialogStr::CDialogStr(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("文字列編集"));
    m_edit = new QLineEdit(this);
    m_edit->setAccessibleName(windowTitle());
    m_edit->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(OkCancelButtons(this));
    setFixedHeight(sizeHint().height());
}

void CDialogStr::SetString(const QString& text)
{
    m_string = text;
    m_edit->setText(text);
    m_edit->selectAll();
}

void CDialogStr::accept()
{
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        m_ui.MessageBox(QStringLiteral("文字が入力されていません"), QStringLiteral("入力チェック"),
                        MessageIcon::Stop, MessageButtons::Ok);
        m_edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_string = text;
    QDialog::accept();
}
