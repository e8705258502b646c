#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>
#include <QString>

#include <map>

class IUserInteraction;
class QLineEdit;
class QPushButton;

// The fields that the mouse gestures on the views fill, by the numbers the edit dialogs give
// them.
namespace EditControl {
constexpr int Axis1StartX = 1138;
constexpr int Axis1StartY = 1139;
constexpr int Axis1EndX = 1141;
constexpr int Axis1EndY = 1144;
constexpr int Axis2StartX = 1148;
constexpr int Axis2StartY = 1150;
constexpr int Axis2EndX = 1154;
constexpr int Axis2EndY = 1156;
constexpr int PlotSize = 1015;
constexpr int BarPixelWidth = 1057;
} // namespace EditControl

// Shows a refused Apply's message, if any, then focuses the named control (selecting a
// field's text).
void ShowEditRefusal(IUserInteraction& ui, const CEditOutcome& outcome, QWidget* focus);

// Base of the modeless plot and bar edit dialogs. It stays above the main window without
// blocking it, so that the user can drag on the views, which write into its fields and then
// press Apply. OK and Cancel end with editEnded(); the owner then takes the dialog away and
// reopens the list.
class CEditDialog : public QDialog
{
    Q_OBJECT

public:
    CEditDialog(const CEditContext& context, QWidget* parent);

    // The field with that control number, or null when this dialog has none.
    QLineEdit* Field(int control) const;
    QString FieldText(int control) const;
    // Sets the text and repaints the field at once.
    void SetFieldText(int control, const QString& text);
    QPushButton* ApplyButton() const { return m_apply; }
    // Gives Apply the focus and clicks it after the current handler has returned, so that it
    // reads the fields as they stand then. Dropped when the dialog is gone by then.
    void PostApply();

    // OK: Apply's steps, then the end of the edit. Cancel (also Escape and closing the
    // window): the entry as it was, then the end of the edit.
    void accept() override;
    void reject() override;

Q_SIGNALS:
    void editEnded();

protected:
    void RegisterField(int control, QLineEdit* field);
    // The dialog's "適用", "OK" and "キャンセル"; Apply is created here.
    QWidget* CreateButtonRow();
    // The steps of Apply, shared with OK; false leaves the dialog as it is.
    virtual bool ApplyFields() = 0;
    // Restores the entry as the dialog found it.
    virtual void CancelEdit() = 0;

    // After OK or Cancel: the selection index may name another entry by now, so nothing may
    // be written any more (an Apply click can still be queued).
    bool Ended() const { return m_ended; }
    // Shows a refused Apply's message and focuses the named control.
    void ShowRefusal(const CEditOutcome& outcome, QWidget* focus);

    void SendHint(int32_t hint) const;
    // Runs a sub-dialog with this one out of the way, then shows this one where it was.
    int RunWhileHidden(QDialog& sub);

    CEditContext m_context;

private:
    std::map<int, QLineEdit*> m_fields;
    QPushButton* m_apply = nullptr;
    bool m_ended = false;
};
