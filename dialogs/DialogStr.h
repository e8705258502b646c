#pragma once

#include <QDialog>
#include <QString>

class IUserInteraction;
class QLineEdit;

// "文字列編集": one non-empty line of text (a prefix list entry, a description line).
class CDialogStr : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogStr(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetString(const QString& text);
    // The text as read by the last OK.
    QString String() const { return m_string; }

    QLineEdit* Edit() const { return m_edit; }

    // Refuses the empty text and stays open.
    void accept() override;

private:
    IUserInteraction& m_ui;
    QLineEdit* m_edit;
    QString m_string;
};
