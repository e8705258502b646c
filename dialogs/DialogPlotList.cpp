#include "dialogs/DialogPlotList.h"

#include "forms/PlotListForm.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"

#include <QTableWidget>

namespace {

std::vector<CDesignListDialog::Column> PlotColumns()
{
    std::vector<CDesignListDialog::Column> columns;
    for (const QString& header : PlotListForm::Headers())
        columns.push_back({header, columns.empty() ? 80 : 100});
    return columns;
}

} // namespace

CDialogPlotList::CDialogPlotList(const CEditContext& context, QWidget* parent)
    : CDesignListDialog(context, QStringLiteral("プロット情報一覧"), PlotColumns(), parent)
{
}

std::vector<QStringList> CDialogPlotList::Rows() const
{
    std::vector<QStringList> rows;
    for (const CPlotInfo& plot : m_context.doc->m_workPlots)
        rows.push_back(PlotListForm::RowTexts(plot));
    return rows;
}

void CDialogPlotList::RemoveEntry(int row)
{
    std::vector<CPlotInfo>& plots = m_context.doc->m_workPlots;
    if (row >= 0 && size_t(row) < plots.size())
        plots.erase(plots.begin() + row);
}

int CDialogPlotList::MoveEntry(int row, int delta)
{
    return MoveListEntry(m_context.doc->m_workPlots, row, delta);
}

void CDialogPlotList::EntryRemoved()
{
    // Before the refill: the views drop the removed plot first, then highlight the new
    // selection.
    SendHint(EditHint::ListOpenedOrDeleted);
}

void CDialogPlotList::OnAdd()
{
    CVantrelDoc& doc = *m_context.doc;
    doc.m_selectedIndex = PlotListForm::AddPlot(doc.m_workPlots, doc.m_selectedIndex);
    done(ListResult::Add);
}

void CDialogPlotList::OnChange()
{
    const CVantrelDoc& doc = *m_context.doc;
    if (doc.m_selectedIndex >= 0 && size_t(doc.m_selectedIndex) < doc.m_workPlots.size())
        done(ListResult::Change);
}

void CDialogPlotList::OnOk()
{
    CVantrelDoc& doc = *m_context.doc;
    const int failing = PlotListForm::FirstFailingOriginChain(doc.m_workPlots);
    if (failing < 0) {
        done(ListResult::Ok);
        return;
    }
    m_context.ui->MessageBox(PlotListForm::OriginChainMessage(doc.m_workPlots[size_t(failing)].m_id),
                             PlotListForm::kCheckTitle, MessageIcon::Information, MessageButtons::Ok);
    doc.m_selectedIndex = failing;
    SelectRow(failing);
    Table()->setFocus();
}
