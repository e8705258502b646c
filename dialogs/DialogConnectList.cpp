#include "dialogs/DialogConnectList.h"

#include "dialogs/DialogConnectEdit.h"
#include "forms/ConnectForm.h"
#include "forms/ListEdit.h"
#include "model/Enums.h"
#include "model/VantrelDoc.h"

namespace {

std::vector<CDesignListDialog::Column> ConnectColumns()
{
    std::vector<CDesignListDialog::Column> columns;
    for (const QString& header : ConnectForm::Headers())
        columns.push_back({header, 100});
    return columns;
}

} // namespace

CDialogConnectList::CDialogConnectList(const CEditContext& context, QWidget* parent)
    : CDesignListDialog(context, QStringLiteral("プロット結線情報一覧"), ConnectColumns(), parent)
{
}

std::vector<QStringList> CDialogConnectList::Rows() const
{
    std::vector<QStringList> rows;
    for (const CConnectInfo& connect : m_context.doc->m_workConnects)
        rows.push_back(ConnectForm::RowTexts(connect));
    return rows;
}

void CDialogConnectList::RemoveEntry(int row)
{
    ::RemoveEntry(m_context.doc->m_workConnects, row);
}

int CDialogConnectList::MoveEntry(int row, int delta)
{
    return MoveListEntry(m_context.doc->m_workConnects, row, delta);
}

bool CDialogConnectList::RunEdit(int32_t mode)
{
    CVantrelDoc& doc = *m_context.doc;
    doc.m_editMode = mode;
    m_wasVisible = isVisible();
    // Hidden below QDialog: its own hide would end the list's exec() as well.
    QWidget::setVisible(false);
    int result;
    {
        CDialogConnectEdit edit(m_context, parentWidget());
        result = RunSubDialog(m_context.run, edit);
    }
    doc.m_editMode = EditMode::ConnectList;
    return result == QDialog::Accepted;
}

void CDialogConnectList::OnAdd()
{
    CVantrelDoc& doc = *m_context.doc;
    const int remembered = doc.m_selectedIndex;
    const int added = ConnectForm::AddConnect(doc.m_workConnects, doc.m_selectedIndex);
    doc.m_selectedIndex = added;
    const bool ok = RunEdit(EditMode::ConnectAdd);
    if (!ok && size_t(added) < doc.m_workConnects.size())
        doc.m_workConnects.erase(doc.m_workConnects.begin() + added);
    Refill(ok ? added : remembered);
    if (m_wasVisible)
        show();
}

void CDialogConnectList::OnChange()
{
    CVantrelDoc& doc = *m_context.doc;
    if (!SelectedEntry(doc.m_workConnects, doc.m_selectedIndex))
        return;
    RunEdit(EditMode::ConnectChange);
    Refill(doc.m_selectedIndex);
    if (m_wasVisible)
        show();
}
