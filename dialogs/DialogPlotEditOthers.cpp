#include "dialogs/DialogPlotEditOthers.h"

CDialogPlotEditOthers::CDialogPlotEditOthers(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("プロット情報その他編集"));
}
