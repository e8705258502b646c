#include "dialogs/DialogInputDataOption.h"

#include "dialogs/DialogCalcFD.h"
#include "dialogs/DialogStr.h"
#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "forms/ListEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox* Check(const QString& text, const QString& accessibleName)
{
    auto* box = new QCheckBox(text);
    box->setAccessibleName(accessibleName);
    return box;
}

// A group titled title holding one check box.
QGroupBox* CheckGroup(const QString& title, QCheckBox* box)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(box);
    return group;
}

CListWithButtons* ListGroup(const QString& title, QGroupBox*& group)
{
    group = new QGroupBox(title);
    auto* list = new CListWithButtons;
    list->List()->setAccessibleName(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list);
    return list;
}

} // namespace

CDialogInputDataOption::CDialogInputDataOption(CMain& main, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_main(main), m_ui(ui)
{
    setWindowTitle(QStringLiteral("入力データ処理オプション"));
    const QString save = QStringLiteral("保存");
    const QString keep = QStringLiteral("削除しないで追加する");
    const QString existing = QStringLiteral("既存データ");
    m_saveInternal = Check(save, QStringLiteral("内部データを保存"));
    m_keepInternal = Check(keep, QStringLiteral("既存の内部データを削除しないで追加する"));
    m_ring = Check(QStringLiteral("有効"), QStringLiteral("リングバッファ有効"));
    m_capacity = NumberEdit();
    m_saveCsv = Check(save, QStringLiteral("CSVファイルに保存"));
    m_appendCsv = Check(keep, QStringLiteral("既存のCSVファイルを削除しないで追加する"));
    m_unpaced = new QCheckBox(QStringLiteral("待ち時間なし (最速で処理する)"));

    auto* internalGroup = new QGroupBox(QStringLiteral("内部データ"));
    auto* internalLayout = new QVBoxLayout(internalGroup);
    internalLayout->addWidget(m_saveInternal);
    internalLayout->addWidget(CheckGroup(existing, m_keepInternal));
    auto* ringGroup = new QGroupBox(QStringLiteral("リングバッファ"));
    auto* ringLayout = new QGridLayout(ringGroup);
    ringLayout->addWidget(m_ring, 0, 0, 1, 2);
    ringLayout->addWidget(BuddyLabel(QStringLiteral("最大行数"), m_capacity), 1, 0);
    ringLayout->addWidget(m_capacity, 1, 1);
    ringLayout->setColumnStretch(2, 1);
    internalLayout->addWidget(ringGroup);

    auto* csvGroup = new QGroupBox(QStringLiteral("CSVファイル"));
    auto* csvLayout = new QVBoxLayout(csvGroup);
    csvLayout->addWidget(m_saveCsv);
    csvLayout->addWidget(CheckGroup(existing, m_appendCsv));

    auto* left = new QVBoxLayout;
    left->addWidget(internalGroup);
    left->addWidget(csvGroup);
    left->addStretch(1);

    QGroupBox* includeGroup = nullptr;
    QGroupBox* excludeGroup = nullptr;
    QGroupBox* calcGroup = nullptr;
    m_include = ListGroup(QStringLiteral("保存データ先頭文字列(空ならば全データ保存)"), includeGroup);
    m_exclude = ListGroup(QStringLiteral("保存しないデータの先頭文字列"), excludeGroup);
    m_calc = ListGroup(QStringLiteral("FD計算追加"), calcGroup);
    auto* right = new QVBoxLayout;
    right->addWidget(includeGroup);
    right->addWidget(excludeGroup);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(calcGroup, 1);
    layout->addWidget(m_unpaced);
    layout->addWidget(OkCancelButtons(this));
    resize(720, 560);

    QWidget* order[] = {m_saveInternal, m_keepInternal, m_ring, m_capacity, m_saveCsv, m_appendCsv,
                        m_include->List(), m_include->AddButton(), m_include->EditButton(), m_include->DeleteButton(),
                        m_exclude->List(), m_exclude->AddButton(), m_exclude->EditButton(), m_exclude->DeleteButton(),
                        m_calc->List(), m_calc->AddButton(), m_calc->EditButton(), m_calc->DeleteButton(),
                        m_unpaced};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    ConnectPrefixList(m_include, &CInputOptions::m_includePrefixes);
    ConnectPrefixList(m_exclude, &CInputOptions::m_excludePrefixes);
    ConnectCalcFDList();
    SetValues(InputOptionsOf(main));
}

void CDialogInputDataOption::SetValues(const CInputOptions& options)
{
    m_options = options;
    m_saveInternal->setChecked(options.m_saveInternal);
    m_keepInternal->setChecked(options.m_keepInternal);
    m_ring->setChecked(options.m_ring);
    m_capacity->setText(FieldRead::FormatInt(options.m_capacity));
    m_saveCsv->setChecked(options.m_saveCsv);
    m_appendCsv->setChecked(options.m_appendCsv);
    m_include->Fill(options.m_includePrefixes, 0);
    m_exclude->Fill(options.m_excludePrefixes, 0);
    RefillCalcFDs(0);
}

void CDialogInputDataOption::SetUnpaced(bool unpaced)
{
    m_unpaced->setChecked(unpaced);
}

bool CDialogInputDataOption::Unpaced() const
{
    return m_unpaced->isChecked();
}

void CDialogInputDataOption::ConnectPrefixList(CListWithButtons* box, QStringList CInputOptions::*list)
{
    connect(box->AddButton(), &QPushButton::clicked, this, [this, box, list] {
        CDialogStr dialog(m_ui, this);
        if (m_run(dialog) == QDialog::Accepted)
            box->Fill(m_options.*list, AppendEntry(m_options.*list, dialog.String()));
    });
    connect(box->EditButton(), &QPushButton::clicked, this, [this, box, list] {
        QStringList& entries = m_options.*list;
        const int index = box->Current();
        if (index < 0 || index >= entries.size())
            return;
        CDialogStr dialog(m_ui, this);
        dialog.SetString(entries[index]);
        if (m_run(dialog) != QDialog::Accepted)
            return;
        entries[index] = dialog.String();
        box->Fill(entries, index);
    });
    connect(box->DeleteButton(), &QPushButton::clicked, this, [this, box, list] {
        const int index = box->Current();
        if (index >= 0)
            box->Fill(m_options.*list, RemoveEntry(m_options.*list, index));
    });
}

void CDialogInputDataOption::RefillCalcFDs(int selection)
{
    m_calc->Fill(CalcFDLines(m_options.m_calcFDs), selection);
}

void CDialogInputDataOption::ConnectCalcFDList()
{
    std::vector<CCalcFD>& calcs = m_options.m_calcFDs;
    connect(m_calc->AddButton(), &QPushButton::clicked, this, [this, &calcs] {
        CDialogCalcFD dialog(m_ui, this);
        dialog.SetCalcFD(CCalcFD());
        if (m_run(dialog) == QDialog::Accepted)
            RefillCalcFDs(AppendEntry(calcs, dialog.CalcFD()));
    });
    connect(m_calc->EditButton(), &QPushButton::clicked, this, [this, &calcs] {
        const int index = m_calc->Current();
        if (index < 0 || static_cast<size_t>(index) >= calcs.size())
            return;
        CDialogCalcFD dialog(m_ui, this);
        dialog.SetCalcFD(calcs[static_cast<size_t>(index)]);
        if (m_run(dialog) != QDialog::Accepted)
            return;
        calcs[static_cast<size_t>(index)] = dialog.CalcFD();
        RefillCalcFDs(index);
    });
    connect(m_calc->DeleteButton(), &QPushButton::clicked, this, [this, &calcs] {
        const int index = m_calc->Current();
        if (index >= 0)
            RefillCalcFDs(RemoveEntry(calcs, index));
    });
}

void CDialogInputDataOption::accept()
{
    CFieldReader reader(m_ui);
    int64_t capacity = 0;
    if (!reader.IntInRange(m_capacity, kMinCapacity, kMaxCapacity, capacity))
        return;
    m_options.m_saveInternal = m_saveInternal->isChecked();
    m_options.m_keepInternal = m_keepInternal->isChecked();
    m_options.m_ring = m_ring->isChecked();
    m_options.m_capacity = capacity;
    m_options.m_saveCsv = m_saveCsv->isChecked();
    m_options.m_appendCsv = m_appendCsv->isChecked();
    WriteInputOptions(m_options, m_main);
    QDialog::accept();
}
