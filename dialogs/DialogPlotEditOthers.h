#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>

// "プロット情報その他編集" (placeholder until the dialog is built). Works on the working plot
// at the document's selection index; runs modally.
class CDialogPlotEditOthers : public QDialog
{
    Q_OBJECT

public:
    CDialogPlotEditOthers(const CEditContext& context, QWidget* parent = nullptr);

private:
    CEditContext m_context;
};
