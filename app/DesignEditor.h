#pragma once

#include "dialogs/DialogParts.h"
#include "forms/EditPattern.h"

#include <QObject>

class CDocEntry;
class CDocManager;
class IUserInteraction;
class QWidget;

// Runs the list commands of the 編集 menu on a document: the modal list dialog over the
// working list, and the modeless edit dialog it hands over to, until the list ends.
class CDesignEditor : public QObject
{
    Q_OBJECT

public:
    CDesignEditor(CDocManager& docs, IUserInteraction& ui, QWidget* dialogParent);

    // How the list dialogs and every sub-dialog run; tests replace exec() with a script.
    void SetDialogRunner(DialogRunner run) { m_run = std::move(run); }

    void ListCommand(CDocEntry& entry, DesignKind kind);

Q_SIGNALS:
    // A document's edit mode changed: the commands' states follow it.
    void editModeChanged();

private:
    void OpenEditDialog(CDocEntry& entry, DesignKind kind);
    void EndEditDialog(CDocEntry& entry);

    CDocManager& m_docs;
    IUserInteraction& m_ui;
    QWidget* m_parent;
    DialogRunner m_run;
};
