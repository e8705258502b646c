#pragma once

#include "dialogs/DialogParts.h"
#include "platform/UserInteraction.h"

#include <QDialog>
#include <QListWidget>
#include <QStringList>

#include <functional>

// A runner that hands each sub-dialog of type D to a script instead of exec(); the script
// presses the dialog's buttons and the runner returns the dialog's result.
template <typename D>
DialogRunner Script(std::function<void(D&)> script)
{
    return [script](QDialog& dialog) {
        if (auto* d = dynamic_cast<D*>(&dialog))
            script(*d);
        return dialog.result();
    };
}

inline QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Runs both scripts on every sub-dialog; each acts only on its own dialog type.
inline DialogRunner Both(DialogRunner a, DialogRunner b)
{
    return [a, b](QDialog& dialog) {
        a(dialog);
        b(dialog);
        return dialog.result();
    };
}
