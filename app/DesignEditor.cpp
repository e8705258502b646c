#include "app/DesignEditor.h"

#include "app/DocManager.h"
#include "dialogs/DesignDialogs.h"
#include "dialogs/EditDialog.h"
#include "model/VantrelDoc.h"

#include <QPointer>
#include <QTimer>

CDesignEditor::CDesignEditor(CDocManager& docs, IUserInteraction& ui, QWidget* dialogParent)
    : m_docs(docs), m_ui(ui), m_parent(dialogParent), m_run(ExecRunner())
{
}

void CDesignEditor::ListCommand(CDocEntry& entry, DesignKind kind)
{
    CVantrelDoc& doc = entry.Doc();
    const CEditContext context{&doc, &m_ui, [&entry](int32_t hint) { entry.UpdateAllViews(hint); }, m_run};
    std::unique_ptr<QDialog> list = CreateListDialog(kind, context, m_parent);
    if (!list)
        return;
    BeginListCommand(doc, kind, context.updateAllViews);
    Q_EMIT editModeChanged();
    const int result = m_run(*list);
    list.reset();
    if (EndListCommand(doc, kind, result, context.updateAllViews))
        OpenEditDialog(entry, kind);
    Q_EMIT editModeChanged();
}

void CDesignEditor::OpenEditDialog(CDocEntry& entry, DesignKind kind)
{
    CVantrelDoc& doc = entry.Doc();
    const CEditContext context{&doc, &m_ui, [&entry](int32_t hint) { entry.UpdateAllViews(hint); }, m_run};
    CEditDialog* dialog = CreateEditDialog(kind, context, m_parent);
    if (!dialog) {
        EndListCommand(doc, kind, ListResult::Cancel, context.updateAllViews);
        return;
    }
    entry.SetEditDialog(dialog);
    connect(dialog, &CEditDialog::editEnded, this, [this, &entry] { EndEditDialog(entry); });
    dialog->show();
    entry.UpdateAllViews(EditHint::EditOpenedOrListClosed);
}

void CDesignEditor::EndEditDialog(CDocEntry& entry)
{
    CEditDialog* dialog = entry.EditDialog();
    if (!dialog)
        return;
    // The dialog is still inside its OK or Cancel handler: it goes away once that returned,
    // and the list opens after that, from the event loop. The add or change mode stays until
    // then, so that the list keeps the working list and selects the edited entry.
    dialog->hide();
    entry.SetEditDialog(nullptr);
    dialog->deleteLater();
    DesignKind kind;
    if (!EditedKind(entry.Doc().m_editMode, kind))
        return;
    const CVantrelDoc* doc = &entry.Doc();
    QTimer::singleShot(0, this, [this, doc, kind] {
        if (CDocEntry* e = m_docs.EntryOf(doc))
            ListCommand(*e, kind);
    });
}
