#pragma once

#include "dialogs/DesignListDialog.h"

// "棒情報一覧": the document's working bar list. "追加..." and "変更..." end the dialog so that
// the document opens the bar edit dialog; OK has no checks.
class CDialogBarList : public CDesignListDialog
{
    Q_OBJECT

public:
    CDialogBarList(const CEditContext& context, QWidget* parent = nullptr);

protected:
    std::vector<QStringList> Rows() const override;
    void RemoveEntry(int row) override;
    int MoveEntry(int row, int delta) override;
    void EntryRemoved() override;
    void OnAdd() override;
    void OnChange() override;
};
