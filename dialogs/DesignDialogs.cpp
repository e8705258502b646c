#include "dialogs/DesignDialogs.h"

#include "dialogs/DialogBarEdit.h"
#include "dialogs/DialogBarList.h"
#include "dialogs/DialogConnectList.h"
#include "dialogs/DialogPlotEdit.h"
#include "dialogs/DialogPlotList.h"

std::unique_ptr<QDialog> CreateListDialog(DesignKind kind, const CEditContext& context, QWidget* parent)
{
    switch (kind) {
    case DesignKind::Plot:
        return std::make_unique<CDialogPlotList>(context, parent);
    case DesignKind::Connect:
        return std::make_unique<CDialogConnectList>(context, parent);
    case DesignKind::Bar:
        return std::make_unique<CDialogBarList>(context, parent);
    }
    return nullptr;
}

CEditDialog* CreateEditDialog(DesignKind kind, const CEditContext& context, QWidget* parent)
{
    switch (kind) {
    case DesignKind::Plot:
        return new CDialogPlotEdit(context, parent);
    case DesignKind::Bar:
        return new CDialogBarEdit(context, parent);
    case DesignKind::Connect:
        break;
    }
    return nullptr;
}
