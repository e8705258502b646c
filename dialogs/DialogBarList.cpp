#include "dialogs/DialogBarList.h"

#include "forms/BarListForm.h"
#include "model/VantrelDoc.h"

namespace {

std::vector<CDesignListDialog::Column> BarColumns()
{
    std::vector<CDesignListDialog::Column> columns;
    for (const QString& header : BarListForm::Headers())
        columns.push_back({header, columns.empty() ? 80 : 100});
    return columns;
}

} // namespace

CDialogBarList::CDialogBarList(const CEditContext& context, QWidget* parent)
    : CDesignListDialog(context, QStringLiteral("棒情報一覧"), BarColumns(), parent)
{
}

std::vector<QStringList> CDialogBarList::Rows() const
{
    std::vector<QStringList> rows;
    for (const CBarInfo& bar : m_context.doc->m_workBars)
        rows.push_back(BarListForm::RowTexts(bar));
    return rows;
}

void CDialogBarList::RemoveEntry(int row)
{
    std::vector<CBarInfo>& bars = m_context.doc->m_workBars;
    if (row >= 0 && size_t(row) < bars.size())
        bars.erase(bars.begin() + row);
}

int CDialogBarList::MoveEntry(int row, int delta)
{
    return MoveListEntry(m_context.doc->m_workBars, row, delta);
}

void CDialogBarList::EntryRemoved()
{
    // Before the refill: the views drop the removed bar first, then highlight the new
    // selection.
    SendHint(EditHint::ListOpenedOrDeleted);
}

void CDialogBarList::OnAdd()
{
    CVantrelDoc& doc = *m_context.doc;
    doc.m_selectedIndex = BarListForm::AddBar(doc.m_workBars, doc.m_selectedIndex);
    done(ListResult::Add);
}

void CDialogBarList::OnChange()
{
    const CVantrelDoc& doc = *m_context.doc;
    if (doc.m_selectedIndex >= 0 && size_t(doc.m_selectedIndex) < doc.m_workBars.size())
        done(ListResult::Change);
}
