#pragma once

#include "platform/UserInteraction.h"

#include <QPointer>
#include <QString>

class QWidget;

// The interaction interface with Qt's own dialogs, modal to the main window. Qt's
// widget-based file dialog is used rather than the desktop's, so that every desktop
// sees the same chooser with the same messages.
class CQtUserInteraction : public IUserInteraction
{
public:
    explicit CQtUserInteraction(QWidget* parent);

    MessageAnswer MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<COLORREF> ChooseColor(COLORREF initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

    // Caption of a message box asked with an empty one.
    static QString ApplicationTitle();

private:
    std::optional<QString> ChooseFile(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_parent;
    QString m_lastFolder; // the next chooser opens where the last one was accepted
};
