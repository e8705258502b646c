#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>

#include <cstdint>

class QComboBox;

// "プロットID編集": asks for one plot ID, offering the IDs of the document's plots; any
// other integer may be typed, whether a plot has it or not.
class CDialogPlotID : public QDialog
{
    Q_OBJECT

public:
    CDialogPlotID(const CEditContext& context, int32_t initialId, QWidget* parent = nullptr);

    QComboBox* IdBox() const { return m_box; }
    // The ID that OK read.
    int32_t Id() const { return m_id; }

    void accept() override;

private:
    CEditContext m_context;
    QComboBox* m_box;
    int32_t m_id;
};
