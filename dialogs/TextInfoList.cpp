#include "dialogs/TextInfoList.h"

#include "dialogs/DialogTextEdit.h"
#include "forms/EditPattern.h"
#include "forms/TextListForm.h"
#include "render/DrawContext.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColorRole = Qt::UserRole + 1;
constexpr int kInitialColumnWidth = 100;

// Colour cells are a solid patch of their colour, selected or not, so that the colour can
// always be seen.
class CColorCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant color = index.data(kColorRole);
        if (color.isValid())
            painter->fillRect(option.rect, color.value<QColor>());
        else
            QStyledItemDelegate::paint(painter, option, index);
    }
};

} // namespace

CTextInfoList::CTextInfoList(IUserInteraction& ui, DialogRunner run, ListSource texts, FdNoSource newFdNo,
                             QWidget* parent)
    : QWidget(parent), m_ui(ui), m_run(std::move(run)), m_texts(std::move(texts)), m_newFdNo(std::move(newFdNo))
{
    m_table = new QTableWidget(0, TextListForm::kColumnCount, this);
    m_table->setHorizontalHeaderLabels(TextListForm::Headers());
    m_table->setShowGrid(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->setItemDelegate(new CColorCellDelegate(m_table));
    QHeaderView* header = m_table->horizontalHeader();
    for (int c = 0; c < TextListForm::kColumnCount; ++c) {
        m_table->setColumnWidth(c, kInitialColumnWidth);
        m_table->setColumnWidth(c, header->sectionSizeHint(c));
    }
    m_table->setAccessibleName(QStringLiteral("テキスト表示"));

    m_add = new QPushButton(QStringLiteral("&Add..."), this);
    m_edit = new QPushButton(QStringLiteral("&Edit..."), this);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    setTabOrder(m_table, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);

    connect(m_add, &QPushButton::clicked, this, &CTextInfoList::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CTextInfoList::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CTextInfoList::OnDelete);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { m_edit->click(); });
}

void CTextInfoList::Fill(int requested)
{
    const std::vector<CTextInfo>* texts = m_texts();
    const int count = texts ? static_cast<int>(texts->size()) : 0;
    m_table->clearContents();
    m_table->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const CTextInfo& text = (*texts)[size_t(row)];
        const QStringList cells = TextListForm::CellTexts(text);
        for (int c = 0; c < TextListForm::kColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (const std::optional<COLORREF> color = TextListForm::CellColor(text, c))
                item->setData(kColorRole, ColorFromRef(*color));
            m_table->setItem(row, c, item);
        }
    }
    const int selection = RowToSelect(requested, count);
    if (selection >= 0) {
        m_table->selectRow(selection);
        m_table->setCurrentCell(selection, 0);
        m_table->setFocus(Qt::OtherFocusReason);
    }
    m_edit->setEnabled(selection >= 0);
    m_delete->setEnabled(selection >= 0);
}

int CTextInfoList::Current() const
{
    const QList<QModelIndex> rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

bool CTextInfoList::RunEdit(CTextInfo& text)
{
    CDialogTextEdit dialog(m_ui, window());
    dialog.SetText(text);
    if (m_run(dialog) != QDialog::Accepted)
        return false;
    text = dialog.Text();
    return true;
}

void CTextInfoList::OnAdd()
{
    if (!m_texts())
        return;
    const int row = Current();
    CTextInfo text;
    if (const std::vector<CTextInfo>* texts = m_texts(); row >= 0 && row < int(texts->size()))
        text = (*texts)[size_t(row)];
    else
        text.m_fdNo = m_newFdNo ? m_newFdNo() : 0;
    if (!RunEdit(text))
        return;
    // Fetched again: the list may not outlive a sub-dialog's event loop unchanged.
    std::vector<CTextInfo>* texts = m_texts();
    if (!texts)
        return;
    texts->push_back(std::move(text));
    Fill(static_cast<int>(texts->size()) - 1);
}

void CTextInfoList::OnEdit()
{
    const int row = Current();
    const std::vector<CTextInfo>* before = m_texts();
    if (!before || row < 0 || row >= int(before->size()))
        return;
    CTextInfo text = (*before)[size_t(row)];
    if (!RunEdit(text))
        return;
    std::vector<CTextInfo>* texts = m_texts();
    if (!texts || row >= int(texts->size()))
        return;
    (*texts)[size_t(row)] = std::move(text);
    Fill(row);
}

void CTextInfoList::OnDelete()
{
    const int row = Current();
    std::vector<CTextInfo>* texts = m_texts();
    if (!texts || row < 0 || row >= int(texts->size()))
        return;
    texts->erase(texts->begin() + row);
    Fill(row);
}
