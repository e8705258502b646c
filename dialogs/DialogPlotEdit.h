#pragma once

#include "dialogs/EditDialog.h"

// "プロット情報編集…SHIFT+マウスドラッグでサイズ指定可能" (placeholder until the dialog is built).
class CDialogPlotEdit : public CEditDialog
{
    Q_OBJECT

public:
    CDialogPlotEdit(const CEditContext& context, QWidget* parent = nullptr);

protected:
    bool ApplyFields() override { return true; }
    void CancelEdit() override {}
};
