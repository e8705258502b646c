#include "dialogs/DialogPlotEdit.h"

#include <QVBoxLayout>

CDialogPlotEdit::CDialogPlotEdit(const CEditContext& context, QWidget* parent)
    : CEditDialog(context, parent)
{
    setWindowTitle(QStringLiteral("プロット情報編集…SHIFT+マウスドラッグでサイズ指定可能"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateButtonRow());
}
