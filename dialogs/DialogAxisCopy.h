#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// "軸情報のCopy or Move": moves an axis of the edited working plot so that one of its points
// lies on a point of an axis, or copies axes of any working plot onto the edited one. Works
// on the document's working list directly; ends with OK after a move or a copy.
class CDialogAxisCopy : public QDialog
{
    Q_OBJECT

public:
    enum Choice {
        MoveSourceAxis,
        MoveSourcePoint,
        MoveTargetAxis,
        MoveTargetPoint,
        CopySourcePlot,
        CopySourceAxes,
        CopyTargetAxes,
        ChoiceCount
    };

    explicit CDialogAxisCopy(const CEditContext& context, QWidget* parent = nullptr);

    QComboBox* Box(Choice choice) const { return m_boxes[choice]; }
    QPushButton* MoveButton() const { return m_move; }
    QPushButton* CopyButton() const { return m_copy; }

private:
    void OnSourceAxesChanged(int index);
    void OnMove();
    void OnCopy();

    CEditContext m_context;
    QComboBox* m_boxes[ChoiceCount] = {};
    QPushButton* m_move;
    QPushButton* m_copy;
};
