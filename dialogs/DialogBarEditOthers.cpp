#include "dialogs/DialogBarEditOthers.h"

#include "dialogs/DialogParts.h"
#include "dialogs/TextInfoList.h"
#include "model/VantrelDoc.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

CDialogBarEditOthers::CDialogBarEditOthers(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("棒情報その他編集"));
    if (const CBarInfo* bar = Bar())
        m_saved = *bar;
    IUserInteraction& ui = *m_context.ui;
    const DialogRunner run = [this](QDialog& d) { return RunSubDialog(m_context.run, d); };

    m_include = new CListWithButtons;
    m_include->List()->setAccessibleName(QStringLiteral("対象データ先頭文字列"));
    m_ignore = new CListWithButtons;
    m_ignore->List()->setAccessibleName(QStringLiteral("無視データ先頭文字列"));
    m_texts = new CTextInfoList(
        ui, run,
        [this]() -> std::vector<CTextInfo>* {
            CBarInfo* bar = Bar();
            return bar ? &bar->m_texts : nullptr;
        },
        [this] {
            const CBarInfo* bar = Bar();
            return bar ? bar->m_axis.m_fdNo : 0;
        });

    m_apply = new QPushButton(QStringLiteral("適用"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* prefixes = new QHBoxLayout;
    prefixes->addWidget(TitledGroup(QStringLiteral("対象データ先頭文字列(空ならば全データ対象)"), m_include));
    prefixes->addWidget(TitledGroup(QStringLiteral("無視データ先頭文字列(空ならば全データ対象)"), m_ignore));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(prefixes);
    layout->addWidget(TitledGroup(QStringLiteral("テキスト表示"), m_texts), 1);
    layout->addLayout(buttons);
    resize(900, 560);

    std::vector<QWidget*> order;
    for (CListWithButtons* list : {m_include, m_ignore})
        order.insert(order.end(), {list->List(), list->AddButton(), list->EditButton(), list->DeleteButton()});
    order.insert(order.end(), {m_texts->Table(), m_texts->AddButton(), m_texts->EditButton(), m_texts->DeleteButton()});
    order.insert(order.end(), {m_apply, ok, cancel});
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    WirePrefixList(m_include, ui, run, Prefixes(&CBarInfo::m_includePrefixes), false);
    WirePrefixList(m_ignore, ui, run, Prefixes(&CBarInfo::m_ignorePrefixes), true);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        m_applied = true;
        if (m_context.updateAllViews)
            m_context.updateAllViews(EditHint::SelectedOrApplied);
    });
    connect(ok, &QPushButton::clicked, this, &CDialogBarEditOthers::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialogBarEditOthers::reject);

    FillPrefixList(m_include, Prefixes(&CBarInfo::m_includePrefixes), 0);
    FillPrefixList(m_ignore, Prefixes(&CBarInfo::m_ignorePrefixes), 0);
    m_texts->Fill(0);
    m_include->List()->setFocus(Qt::OtherFocusReason);
}

CBarInfo* CDialogBarEditOthers::Bar() const
{
    CVantrelDoc* doc = m_context.doc;
    return doc ? SelectedEntry(doc->m_workBars, doc->m_selectedIndex) : nullptr;
}

PrefixSource CDialogBarEditOthers::Prefixes(std::vector<QString> CBarInfo::*member) const
{
    return [this, member]() -> std::vector<QString>* {
        CBarInfo* bar = Bar();
        return bar ? &(bar->*member) : nullptr;
    };
}

void CDialogBarEditOthers::reject()
{
    if (CBarInfo* bar = Bar(); bar && m_saved) {
        *bar = *m_saved;
        // Views showing an Apply of this dialog must show the restored bar again.
        if (m_applied && m_context.updateAllViews)
            m_context.updateAllViews(EditHint::SelectedOrApplied);
    }
    QDialog::reject();
}
