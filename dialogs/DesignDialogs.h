#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>

#include <memory>

class CEditDialog;

// The list dialog of a design list, and the modeless edit dialog that its add and change
// hand over to (plots and bars; connections edit inside their list). Null where a kind has
// none.
std::unique_ptr<QDialog> CreateListDialog(DesignKind kind, const CEditContext& context, QWidget* parent);
CEditDialog* CreateEditDialog(DesignKind kind, const CEditContext& context, QWidget* parent);
