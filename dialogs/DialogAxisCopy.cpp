#include "dialogs/DialogAxisCopy.h"

#include "forms/AxisForm.h"
#include "model/VantrelDoc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* Choices(const QStringList& entries, int selected, const QString& name)
{
    auto* box = new QComboBox;
    box->addItems(entries);
    box->setCurrentIndex(selected);
    box->setAccessibleName(name);
    return box;
}

} // namespace

CDialogAxisCopy::CDialogAxisCopy(const CEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(QStringLiteral("軸情報のCopy or Move"));
    const CVantrelDoc& doc = *m_context.doc;
    const QStringList axes{QStringLiteral("軸1の"), QStringLiteral("軸2の")};
    m_boxes[MoveSourceAxis] = Choices(axes, 1, QStringLiteral("移動する軸"));
    m_boxes[MoveSourcePoint] = Choices({QStringLiteral("開始点を"), QStringLiteral("終了点を"), QStringLiteral("中央点を")},
                                       1, QStringLiteral("移動する軸の点"));
    m_boxes[MoveTargetAxis] = Choices(axes, 0, QStringLiteral("移動先の軸"));
    m_boxes[MoveTargetPoint] = Choices({QStringLiteral("開始点に"), QStringLiteral("終了点に"), QStringLiteral("中央点に")},
                                       0, QStringLiteral("移動先の点"));
    m_move = new QPushButton(QStringLiteral("移動する"));

    m_boxes[CopySourcePlot] = Choices(AxisCopy::PlotIds(doc.m_workPlots), doc.m_selectedIndex,
                                      QStringLiteral("プロット情報のID"));
    m_boxes[CopySourceAxes] = Choices({QStringLiteral("軸1を"), QStringLiteral("軸2を"), QStringLiteral("軸1と2を")},
                                      0, QStringLiteral("コピーする軸"));
    m_boxes[CopyTargetAxes] = Choices({QStringLiteral("軸1に"), QStringLiteral("軸2に"), QStringLiteral("軸1と2に")},
                                      1, QStringLiteral("コピー先の軸"));
    m_copy = new QPushButton(QStringLiteral("コピーする"));

    // Each row reads as a sentence that its button ends.
    auto* moveRow = new QHBoxLayout;
    for (int i = MoveSourceAxis; i <= MoveTargetPoint; ++i)
        moveRow->addWidget(m_boxes[i]);
    moveRow->addStretch(1);
    moveRow->addWidget(m_move);
    auto* copyRow = new QHBoxLayout;
    copyRow->addWidget(BuddyLabel(QStringLiteral("プロット情報のID"), m_boxes[CopySourcePlot]));
    copyRow->addWidget(m_boxes[CopySourcePlot]);
    copyRow->addWidget(new QLabel(QStringLiteral("の")));
    copyRow->addWidget(m_boxes[CopySourceAxes]);
    copyRow->addWidget(m_boxes[CopyTargetAxes]);
    copyRow->addStretch(1);
    copyRow->addWidget(m_copy);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(moveRow);
    layout->addLayout(copyRow);
    layout->addWidget(buttons);

    QWidget* order[] = {m_boxes[MoveSourceAxis], m_boxes[MoveSourcePoint], m_boxes[MoveTargetAxis],
                        m_boxes[MoveTargetPoint], m_move, m_boxes[CopySourcePlot], m_boxes[CopySourceAxes],
                        m_boxes[CopyTargetAxes], m_copy, buttons->button(QDialogButtonBox::Cancel)};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_boxes[CopySourceAxes], &QComboBox::currentIndexChanged, this, &CDialogAxisCopy::OnSourceAxesChanged);
    connect(m_move, &QPushButton::clicked, this, &CDialogAxisCopy::OnMove);
    connect(m_copy, &QPushButton::clicked, this, &CDialogAxisCopy::OnCopy);
}

void CDialogAxisCopy::OnSourceAxesChanged(int index)
{
    // Both source axes can only go onto both target axes.
    const bool both = index == int(AxisCopy::Axes::Both);
    if (both)
        m_boxes[CopyTargetAxes]->setCurrentIndex(int(AxisCopy::Axes::Both));
    m_boxes[CopyTargetAxes]->setEnabled(!both);
}

void CDialogAxisCopy::OnMove()
{
    std::vector<CPlotInfo>& plots = m_context.doc->m_workPlots;
    const int edited = m_context.doc->m_selectedIndex;
    if (edited < 0 || size_t(edited) >= plots.size())
        return;
    if (AxisCopy::Move(plots[size_t(edited)], m_boxes[MoveSourceAxis]->currentIndex(),
                       AxisCopy::Point(m_boxes[MoveSourcePoint]->currentIndex()),
                       m_boxes[MoveTargetAxis]->currentIndex(),
                       AxisCopy::Point(m_boxes[MoveTargetPoint]->currentIndex())))
        accept();
}

void CDialogAxisCopy::OnCopy()
{
    if (AxisCopy::Copy(m_context.doc->m_workPlots, m_context.doc->m_selectedIndex,
                       m_boxes[CopySourcePlot]->currentIndex(),
                       AxisCopy::Axes(m_boxes[CopySourceAxes]->currentIndex()),
                       AxisCopy::Axes(m_boxes[CopyTargetAxes]->currentIndex())))
        accept();
}
