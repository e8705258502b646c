#include "dialogs/DialogFDList.h"

#include "dialogs/DialogFDEdit.h"
#include "dialogs/FieldReader.h"
#include "forms/FieldRead.h"
#include "platform/UserInteraction.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr int32_t kMaxField = std::numeric_limits<int32_t>::max();
const QString kCsvFilter = QStringLiteral("csvファイル(*.csv)|*.csv||");

// The wait cursor while a file is written or read; gone before the message box shows.
class CWaitCursor
{
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

QLabel* Text(const QString& text)
{
    return new QLabel(text);
}

} // namespace

CDialogFDList::CDialogFDList(CFDInfos infos, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_infos(std::move(infos))
{
    setWindowTitle(QStringLiteral("FD番号変換一覧"));
    const Fields initial;
    m_list = new CWideList;
    m_list->setAccessibleName(windowTitle());
    m_count = NumberEdit(FieldRead::FormatInt(initial.count));
    m_start = NumberEdit(FieldRead::FormatInt(initial.start));
    m_end = NumberEdit(FieldRead::FormatInt(initial.end));
    m_newStart = NumberEdit(FieldRead::FormatInt(initial.newStart));
    m_setCount = new QPushButton(QStringLiteral("個にする"));
    m_renumber = new QPushButton(QStringLiteral("変更する"));
    m_edit = new QPushButton(QStringLiteral("編集する..."));
    m_clear = new QPushButton(QStringLiteral("変換無しにする"));
    m_export = new QPushButton(QStringLiteral("&CSV出力..."));
    m_import = new QPushButton(QStringLiteral("CS&V入力..."));

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(BuddyLabel(QStringLiteral("設定する&FD数を"), m_count));
    countRow->addWidget(m_count);
    countRow->addWidget(m_setCount);
    countRow->addStretch(1);

    auto* renumberRow = new QHBoxLayout;
    renumberRow->addWidget(BuddyLabel(QStringLiteral("F&D番号"), m_start));
    renumberRow->addWidget(m_start);
    renumberRow->addWidget(BuddyLabel(QStringLiteral("から"), m_end));
    renumberRow->addWidget(m_end);
    renumberRow->addWidget(BuddyLabel(QStringLiteral("を、FD番号"), m_newStart));
    renumberRow->addWidget(m_newStart);
    renumberRow->addWidget(Text(QStringLiteral("からに")));
    renumberRow->addWidget(m_renumber);
    renumberRow->addStretch(1);
    // "から" alone says little to a screen reader.
    m_start->setAccessibleName(QStringLiteral("開始FD番号"));
    m_end->setAccessibleName(QStringLiteral("終了FD番号"));
    m_newStart->setAccessibleName(QStringLiteral("変更後の開始FD番号"));

    auto* actions = new QGridLayout;
    actions->addWidget(Text(QStringLiteral("選択しているFD番号の情報を")), 0, 0);
    actions->addWidget(m_edit, 0, 1);
    actions->addWidget(Text(QStringLiteral("全FD番号を")), 1, 0);
    actions->addWidget(m_clear, 1, 1);
    actions->addWidget(Text(QStringLiteral("FD番号変換リストを")), 2, 0);
    actions->addWidget(m_export, 2, 1);
    actions->addWidget(m_import, 2, 2);
    actions->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(countRow);
    layout->addLayout(renumberRow);
    layout->addLayout(actions);
    layout->addWidget(OkCancelButtons(this));
    resize(560, 440);

    QWidget* order[] = {m_list, m_count, m_setCount, m_start, m_end, m_newStart,
                        m_renumber, m_edit, m_clear, m_export, m_import};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_setCount, &QPushButton::clicked, this, &CDialogFDList::OnSetCount);
    connect(m_renumber, &QPushButton::clicked, this, &CDialogFDList::OnRenumber);
    connect(m_edit, &QPushButton::clicked, this, &CDialogFDList::OnEdit);
    connect(m_clear, &QPushButton::clicked, this, &CDialogFDList::OnClear);
    connect(m_export, &QPushButton::clicked, this, &CDialogFDList::OnExport);
    connect(m_import, &QPushButton::clicked, this, &CDialogFDList::OnImport);
    Refill(0);
}

bool CDialogFDList::ReadFields(Fields& out)
{
    CFieldReader reader(m_ui);
    Fields f;
    reader.IntInRange(m_count, 0, kMaxField, f.count);
    reader.IntInRange(m_start, 0, kMaxField, f.start);
    reader.IntInRange(m_end, 0, kMaxField, f.end);
    reader.IntInRange(m_newStart, 0, kMaxField, f.newStart);
    if (!reader.Ok())
        return false;
    out = f;
    return true;
}

void CDialogFDList::Refill(int selection)
{
    const int row = m_list->Fill(FDListLines(m_infos), selection);
    for (QPushButton* b : {m_renumber, m_edit, m_clear, m_export})
        b->setEnabled(row >= 0);
}

QLineEdit* CDialogFDList::EditOf(FDListProblem::Field field) const
{
    switch (field) {
    case FDListProblem::Field::Count: return m_count;
    case FDListProblem::Field::Start: return m_start;
    case FDListProblem::Field::End: return m_end;
    case FDListProblem::Field::NewStart: return m_newStart;
    }
    return m_count;
}

void CDialogFDList::Show(const FDListProblem& problem)
{
    m_ui.MessageBox(problem.message, problem.caption, MessageIcon::Stop, MessageButtons::Ok);
    QLineEdit* edit = EditOf(problem.field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CDialogFDList::OnSetCount()
{
    Fields f;
    if (!ReadFields(f))
        return;
    if (static_cast<size_t>(f.count) == m_infos.m_entries.size())
        return;
    if (const auto problem = SetFDCount(m_infos, f.count)) {
        Show(*problem);
        return;
    }
    Refill(0);
}

void CDialogFDList::OnRenumber()
{
    Fields f;
    if (!ReadFields(f))
        return;
    if (const auto problem = RenumberFDs(m_infos, f.start, f.end, f.newStart)) {
        Show(*problem);
        return;
    }
    Refill(0);
}

void CDialogFDList::OnEdit()
{
    const int index = m_list->currentRow();
    if (index < 0 || static_cast<size_t>(index) >= m_infos.m_entries.size())
        return;
    CDialogFDEdit dialog(m_infos.m_entries[static_cast<size_t>(index)], m_ui, this);
    dialog.SetDialogRunner(m_run);
    if (m_run(dialog) != QDialog::Accepted)
        return;
    m_infos.m_entries[static_cast<size_t>(index)] = dialog.Result();
    Refill(index);
}

void CDialogFDList::OnClear()
{
    ClearFDConversion(m_infos);
    Refill(0);
}

void CDialogFDList::OnExport()
{
    FileDialogRequest request;
    request.filter = kCsvFilter;
    request.title = QStringLiteral("リストを保存するcsvファイルを指定してください");
    request.defaultExtension = QStringLiteral("csv");
    request.initialName = QStringLiteral("*.csv");
    request.flags = FileDialogOverwritePrompt | FileDialogPathMustExist;
    const std::optional<QString> path = m_ui.SaveFile(request);
    if (!path)
        return;
    QString errorText;
    bool ok = false;
    {
        CWaitCursor wait;
        ok = m_infos.WriteCsv(*path, errorText);
    }
    m_ui.MessageBox(FDListExportMessage(ok, errorText), QString(),
                    ok ? MessageIcon::Information : MessageIcon::Stop, MessageButtons::Ok);
}

void CDialogFDList::OnImport()
{
    FileDialogRequest request;
    request.filter = kCsvFilter;
    request.title = QStringLiteral("リストを読み込むcsvファイルを指定してください");
    request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
    const std::optional<QString> path = m_ui.OpenFile(request);
    if (!path)
        return;
    QString errorText;
    bool ok = false;
    {
        CWaitCursor wait;
        ok = m_infos.ReadCsv(*path, errorText);
    }
    m_ui.MessageBox(FDListImportMessage(ok, errorText), QString(),
                    ok ? MessageIcon::Information : MessageIcon::Stop, MessageButtons::Ok);
    Refill(0);
}

void CDialogFDList::accept()
{
    Fields f;
    if (ReadFields(f))
        QDialog::accept();
}
