#include "dialogs/FieldReader.h"

#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"

#include <QLineEdit>

bool CFieldReader::Report(const QString& message, QLineEdit* field)
{
    if (message.isEmpty())
        return true;
    m_failed = true;
    m_ui.MessageBox(message, QString(), MessageIcon::Information, MessageButtons::Ok);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

bool CFieldReader::Int(QLineEdit* field, int32_t& out)
{
    return !m_failed && Report(FieldRead::Int(field->text(), out), field);
}

bool CFieldReader::IntInRange(QLineEdit* field, int32_t min, int32_t max, int32_t& out)
{
    return !m_failed && Report(FieldRead::IntInRange(field->text(), min, max, out), field);
}

bool CFieldReader::IntInRange(QLineEdit* field, int64_t min, int64_t max, int64_t& out)
{
    return !m_failed && Report(FieldRead::IntInRange(field->text(), min, max, out), field);
}

bool CFieldReader::UnsignedInRange(QLineEdit* field, int64_t min, int64_t max, int64_t& out)
{
    return !m_failed && Report(FieldRead::UnsignedInRange(field->text(), min, max, out), field);
}

bool CFieldReader::Real(QLineEdit* field, double& out)
{
    return !m_failed && Report(FieldRead::Real(field->text(), out), field);
}
