#include "dialogs/DialogCalcFD.h"

#include "dialogs/DialogParts.h"
#include "fields/CalcFDForm.h"
#include "platform/UserInteraction.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The help lines as the user reads them ("&&" is the and-operator, not a mnemonic).
const char16_t* const kHelpLines[] = {
    u"＜数式について＞…全て半角英数字",
    u"四則演算　：　+、　-、　*、　/　…　但し、単項演算未対応",
    u"括弧　：　(　)　…　入れ子可能",
    u"対応関数　：　sin( 数式 )、　cos( 数式 )、　tan( 数式 )、　sqrt( 数式 )、　PI( )…円周率を返す、　asin( 数式 )、　acos( 数式 )、　atan( 数式 )、　atan2( 数式y, 数式x )",
    u"FD( 整数 )…入力CSVの対象FDを数値にして返す。引数はFDインデックス（0はじまり）、　log( 数式 )、　log10( 数式 )、　pow( 数式x, 数式y )…xのy乗を返す",
    u"＜条件式について＞…全て半角英数字で数式と以下の演算子の組合わせ",
    u"演算子（優先順位が低い順）　：　||、　&&、　==、　!=、　>、　<、　>=、　<=　…　「==と!=」、　「>と<、>=、<=」は同じ優先順位",
};

QLabel* Plain(const QString& text)
{
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

CDialogCalcFD::CDialogCalcFD(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("CSV計算FD追加"));
    for (QLineEdit*& edit : m_edits) {
        edit = new QLineEdit;
        edit->setMinimumWidth(360);
    }

    auto* group = new QGroupBox(QStringLiteral("条件式と数式2個を入力してください"));
    auto* grid = new QGridLayout(group);
    int row = 0;
    const auto fieldRow = [&](const QString& before, QLineEdit* edit, const QString& after) {
        grid->addWidget(BuddyLabel(before, edit), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(Plain(after), row, 2);
        ++row;
    };
    const auto textRow = [&](const QString& text) { grid->addWidget(Plain(text), row++, 0, 1, 3); };
    fieldRow(QStringLiteral("&if ( "), m_edits[0], QStringLiteral(")"));
    textRow(QStringLiteral("{ "));
    fieldRow(QStringLiteral("  &FD値="), m_edits[1], QStringLiteral("; "));
    textRow(QStringLiteral("} "));
    textRow(QStringLiteral("else"));
    textRow(QStringLiteral("{ "));
    fieldRow(QStringLiteral("  F&D値="), m_edits[2], QStringLiteral("; "));
    textRow(QStringLiteral("} "));
    grid->setColumnStretch(1, 1);
    // The labels are read out by what the fields hold.
    m_edits[0]->setAccessibleName(QStringLiteral("条件式"));
    m_edits[1]->setAccessibleName(QStringLiteral("条件が真のときの数式"));
    m_edits[2]->setAccessibleName(QStringLiteral("条件が偽のときの数式"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    for (const char16_t* line : kHelpLines)
        layout->addWidget(Plain(QString::fromUtf16(line)));
    layout->addWidget(OkCancelButtons(this));
    setTabOrder(m_edits[0], m_edits[1]);
    setTabOrder(m_edits[1], m_edits[2]);
    SetCalcFD(m_calc);
}

void CDialogCalcFD::SetCalcFD(const CCalcFD& calc)
{
    m_calc = calc;
    for (size_t i = 0; i < m_edits.size(); ++i)
        m_edits[i]->setText(calc.m_expr[i]);
}

void CDialogCalcFD::accept()
{
    for (size_t i = 0; i < m_edits.size(); ++i)
        m_calc.m_expr[i] = m_edits[i]->text();
    if (const auto problem = CheckCalcFD(m_calc)) {
        m_ui.MessageBox(problem->message, problem->caption, MessageIcon::Stop, MessageButtons::Ok);
        Edit(problem->exprIndex)->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}
