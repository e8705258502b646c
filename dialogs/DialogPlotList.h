#pragma once

#include "dialogs/DesignListDialog.h"

// "プロット情報一覧": the document's working plot list. "追加..." and "変更..." end the
// dialog so that the document opens the plot edit dialog; OK refuses while some plot's
// moving origin leads nowhere.
class CDialogPlotList : public CDesignListDialog
{
    Q_OBJECT

public:
    CDialogPlotList(const CEditContext& context, QWidget* parent = nullptr);

protected:
    std::vector<QStringList> Rows() const override;
    void RemoveEntry(int row) override;
    int MoveEntry(int row, int delta) override;
    void EntryRemoved() override;
    void OnAdd() override;
    void OnChange() override;
    void OnOk() override;
};
