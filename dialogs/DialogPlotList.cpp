#include "dialogs/DialogPlotList.h"

CDialogPlotList::CDialogPlotList(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("プロット情報一覧"));
}
