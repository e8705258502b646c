#pragma once

#include "dialogs/DesignListDialog.h"

// "プロット結線情報一覧": the document's working connection list. Unlike the plot and bar
// lists it edits its entries itself, through the modal connection edit dialog, and OK takes
// the list as it stands: the plot IDs are checked when data input starts.
class CDialogConnectList : public CDesignListDialog
{
    Q_OBJECT

public:
    CDialogConnectList(const CEditContext& context, QWidget* parent = nullptr);

protected:
    std::vector<QStringList> Rows() const override;
    void RemoveEntry(int row) override;
    int MoveEntry(int row, int delta) override;
    void OnAdd() override;
    void OnChange() override;

private:
    // Runs the edit dialog on the selected connection in the given mode, with the list out of
    // sight meanwhile; true when it ended with OK.
    bool RunEdit(int32_t mode);

    bool m_wasVisible = false;
};
