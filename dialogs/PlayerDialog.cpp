#include "dialogs/PlayerDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CPlayerDialog::CPlayerDialog(QWidget* parent)
    : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void CPlayerDialog::reject()
{
    // Escape and every other way of rejecting: only STOP ends the window.
    if (m_finished)
        QDialog::reject();
}

void CPlayerDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CPlayerDialog::closeEvent(QCloseEvent* event)
{
    if (!m_finished) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CPlayerDialog::FinishRun()
{
    m_finished = true;
    close();
}

QPushButton* CPlayerDialog::MakeButton(const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void CPlayerDialog::Pair(QLabel* label, QLineEdit* field)
{
    label->setBuddy(field);
    field->setAccessibleName(label->text());
}
