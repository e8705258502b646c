#include "app/AppDialogs.h"

#include "app/DocTemplate.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vantrel について"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/vantrel.svg")).pixmap(48, 48));
    auto* text = new QLabel(QStringLiteral("Vantrel、バージョン 1.0"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

CDialogNewType::CDialogNewType(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("新規"));
    auto* label = new QLabel(QStringLiteral("新規(&N)"), this);
    m_list = new QListWidget(this);
    for (const CDocTemplate& t : DocTemplates())
        m_list->addItem(t.m_fileNewName);
    m_list->setCurrentRow(0);
    label->setBuddy(m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(280, 200);
}

int CDialogNewType::SelectedTemplate() const
{
    return std::max(0, m_list->currentRow());
}

void CDialogNewType::SetSelectedTemplate(int index)
{
    m_list->setCurrentRow(index);
}

CDialogWindowList::CDialogWindowList(QMdiArea* area, QWidget* parent)
    : QDialog(parent), m_area(area)
{
    setWindowTitle(QStringLiteral("ウィンドウ"));
    auto* label = new QLabel(QStringLiteral("ウィンドウの選択(&S):"), this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    label->setBuddy(m_list);

    auto* activate = new QPushButton(QStringLiteral("アクティブにする(&A)"), this);
    auto* closeWindows = new QPushButton(QStringLiteral("ウィンドウを閉じる(&C)"), this);
    auto* cascade = new QPushButton(QStringLiteral("重ねて表示(&D)"), this);
    auto* tile = new QPushButton(QStringLiteral("並べて表示(&T)"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);

    const auto selected = [this] {
        QList<QMdiSubWindow*> windows;
        const QList<QMdiSubWindow*> all = m_area->subWindowList();
        for (const QListWidgetItem* item : m_list->selectedItems()) {
            const int row = m_list->row(item);
            if (row >= 0 && row < all.size())
                windows.append(all.at(row));
        }
        return windows;
    };
    connect(activate, &QPushButton::clicked, this, [this, selected] {
        const QList<QMdiSubWindow*> windows = selected();
        if (!windows.isEmpty())
            m_area->setActiveSubWindow(windows.front());
        accept();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, activate, &QPushButton::click);
    connect(closeWindows, &QPushButton::clicked, this, [this, selected] {
        for (QMdiSubWindow* window : selected())
            window->close(); // a busy document's windows refuse
        Refill();
    });
    connect(cascade, &QPushButton::clicked, m_area, &QMdiArea::cascadeSubWindows);
    connect(tile, &QPushButton::clicked, m_area, &QMdiArea::tileSubWindows);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {activate, closeWindows, cascade, tile})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(label);
    listColumn->addWidget(m_list);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);
    resize(460, 280);
    Refill();
}

void CDialogWindowList::Refill()
{
    m_list->clear();
    for (const QMdiSubWindow* window : m_area->subWindowList()) {
        m_list->addItem(window->windowTitle());
        if (window == m_area->activeSubWindow())
            m_list->setCurrentRow(m_list->count() - 1);
    }
}

CDialogToolbarButtons::CDialogToolbarButtons(QToolBar* toolBar, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("カスタマイズ"));
    auto* label = new QLabel(QStringLiteral("ツール バーに表示するボタン(&B):"), this);
    m_list = new QListWidget(this);
    label->setBuddy(m_list);
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator())
            continue;
        auto* item = new QListWidgetItem(action->icon(), action->toolTip(), m_list);
        item->setData(Qt::UserRole, action->data());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(action->isVisible() ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(320, 320);
}

QList<int> CDialogToolbarButtons::HiddenCommands() const
{
    QList<int> hidden;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem* item = m_list->item(i);
        if (item->checkState() != Qt::Checked)
            hidden.append(item->data(Qt::UserRole).toInt());
    }
    return hidden;
}
