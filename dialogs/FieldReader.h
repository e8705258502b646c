#pragma once

#include <QString>

#include <cstdint>

class IUserInteraction;
class QLineEdit;

// Reads a dialog's number fields in order. The first field that fails shows its message with
// the information icon, takes the focus, and every later read is skipped; nothing is written
// for a field that failed, so a dialog writes its members only when Ok() holds at the end.
class CFieldReader
{
public:
    explicit CFieldReader(IUserInteraction& ui)
        : m_ui(ui) {}

    bool Int(QLineEdit* field, int32_t& out);
    bool IntInRange(QLineEdit* field, int32_t min, int32_t max, int32_t& out);
    bool IntInRange(QLineEdit* field, int64_t min, int64_t max, int64_t& out);
    bool UnsignedInRange(QLineEdit* field, int64_t min, int64_t max, int64_t& out);
    bool Real(QLineEdit* field, double& out);

    bool Ok() const { return !m_failed; }

private:
    bool Report(const QString& message, QLineEdit* field);

    IUserInteraction& m_ui;
    bool m_failed = false;
};
