#include "dialogs/DesignListDialog.h"

#include "forms/EditPattern.h"
#include "model/VantrelDoc.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

CDesignListDialog::CDesignListDialog(const CEditContext& context, const QString& caption,
                                     const std::vector<Column>& columns, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(caption);

    m_table = new QTableWidget(0, static_cast<int>(columns.size()));
    m_table->setAccessibleName(caption);
    m_table->setShowGrid(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setTabKeyNavigation(false); // Tab leaves the list for the buttons
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);

    QHeaderView* header = m_table->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    QStringList labels;
    for (const Column& c : columns)
        labels << c.header;
    m_table->setHorizontalHeaderLabels(labels);
    // Every column then fits its header text, as the cells would show that text too, so that
    // a cell as long as its header is not cut; trailing ideographic spaces in a header make
    // room for longer cell texts.
    const int cellMargins = 2 * (m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1) + 2;
    int total = 0;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        header->resizeSection(i, columns[size_t(i)].initialWidth);
        const int asCell = m_table->fontMetrics().horizontalAdvance(columns[size_t(i)].header) + cellMargins;
        header->resizeSection(i, std::max(header->sectionSizeHint(i), asCell));
        total += header->sectionSize(i);
    }

    m_add = new QPushButton(QStringLiteral("追加..."));
    m_change = new QPushButton(QStringLiteral("変更..."));
    m_delete = new QPushButton(QStringLiteral("削除"));
    m_up = new QPushButton(QStringLiteral("↑"));
    m_down = new QPushButton(QStringLiteral("↓"));
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"));
    m_up->setAccessibleName(QStringLiteral("上へ"));
    m_down->setAccessibleName(QStringLiteral("下へ"));
    m_ok->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_add, m_change, m_delete, m_up, m_down})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    QWidget* previous = m_table;
    for (QPushButton* b : {m_add, m_change, m_delete, m_up, m_down, m_ok, m_cancel}) {
        setTabOrder(previous, b);
        previous = b;
    }
    resize(std::clamp(total + 150, 480, 1100), 380);

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) { OnSelectionChanged(selected); });
    // A double click on a row does what "変更..." does.
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_change->isEnabled())
            OnChange();
    });
    connect(m_add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(m_change, &QPushButton::clicked, this, [this] { OnChange(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(m_up, &QPushButton::clicked, this, [this] { OnMove(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { OnMove(+1); });
    connect(m_ok, &QPushButton::clicked, this, &CDesignListDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CDesignListDialog::reject);
}

int CDesignListDialog::SelectedRow() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CDesignListDialog::accept()
{
    OnOk();
}

void CDesignListDialog::reject()
{
    done(ListResult::Cancel);
}

void CDesignListDialog::showEvent(QShowEvent* event)
{
    if (!m_initialized && !event->spontaneous()) {
        m_initialized = true;
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CDesignListDialog::InitDialog()
{
    Refill(m_context.doc ? m_context.doc->m_selectedIndex : -1);
}

void CDesignListDialog::SendHint(int32_t hint) const
{
    if (m_context.updateAllViews)
        m_context.updateAllViews(hint);
}

void CDesignListDialog::Fill(const std::vector<QStringList>& rows, int requested)
{
    const int count = static_cast<int>(rows.size());
    {
        // Rows come and go silently; only the selection made below counts as one.
        m_filling = true;
        m_table->clearSelection();
        m_table->setRowCount(0);
        m_table->setRowCount(count);
        const int columns = m_table->columnCount();
        for (int r = 0; r < count; ++r) {
            const QStringList& cells = rows[size_t(r)];
            for (int c = 0; c < columns && c < cells.size(); ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                m_table->setItem(r, c, item);
            }
        }
        m_table->clearSelection();
        m_filling = false;
    }

    const int row = RowToSelect(requested, count);
    if (row >= 0) {
        SelectRow(row);
    } else {
        if (m_context.doc)
            m_context.doc->m_selectedIndex = -1;
        SendHint(EditHint::ListEmpty);
    }
    m_change->setEnabled(row >= 0);
    m_delete->setEnabled(row >= 0);
    if (count < 2) {
        m_up->setEnabled(false);
        m_down->setEnabled(false);
    }
}

void CDesignListDialog::SelectRow(int row)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    m_table->setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->scrollToItem(m_table->item(row, 0));
}

void CDesignListDialog::OnSelectionChanged(const QItemSelection& selected)
{
    // A row losing its selection changes nothing: the selection index stays on it.
    if (m_filling || selected.isEmpty())
        return;
    const int row = selected.indexes().first().row();
    const CMoveButtons move = MoveButtonsFor(row, m_table->rowCount());
    m_up->setEnabled(move.up);
    m_down->setEnabled(move.down);
    if (m_context.doc)
        m_context.doc->m_selectedIndex = row;
    SendHint(EditHint::SelectedOrApplied);
}

void CDesignListDialog::OnDelete()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    RemoveEntry(row);
    const std::vector<QStringList> rows = Rows();
    if (rows.empty() && m_context.doc)
        m_context.doc->m_selectedIndex = -1;
    EntryRemoved();
    // The same index selects the following entry, or the new last one.
    Fill(rows, row);
}

void CDesignListDialog::OnMove(int delta)
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const int target = MoveEntry(row, delta);
    if (target >= 0)
        Refill(target);
}
