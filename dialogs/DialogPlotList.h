#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>

// "プロット情報一覧" (placeholder until the list is built).
class CDialogPlotList : public QDialog
{
    Q_OBJECT

public:
    CDialogPlotList(const CEditContext& context, QWidget* parent = nullptr);

private:
    CEditContext m_context;
};
