#include "dialogs/DialogAxisCopy.h"
#include "dialogs/DialogAxisEdit.h"
#include "dialogs/DialogPlotEdit.h"
#include "dialogs/DialogPlotEditOthers.h"
#include "model/VantrelDoc.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace C = PlotEditControl;

namespace {

// Plots 3 and 7 in the working list, plot 7 under edit.
struct Editing
{
    CVantrelDoc doc;
    CScriptedInteraction ui;
    std::vector<int32_t> hints;

    explicit Editing(int32_t mode = EditMode::PlotChange)
    {
        doc.m_workPlots.resize(2);
        doc.m_workPlots[0].m_id = 3;
        doc.m_workPlots[1].m_id = 7;
        doc.m_workPlots[1].m_color = 0x00112233;
        doc.m_selectedIndex = 1;
        doc.m_editMode = mode;
    }

    CEditContext Context(DialogRunner run = {})
    {
        return {&doc, &ui, [this](int32_t hint) { hints.push_back(hint); }, std::move(run)};
    }

    const CPlotInfo& Plot() const { return doc.m_workPlots[1]; }
};

void Click(CDialogPlotEdit& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button->click();
    }
    FAIL() << text.toStdString();
}

} // namespace

TEST(DialogPlotEdit, RefusedFieldsShowTheirMessageFocusTheFieldAndWriteNothing)
{
    struct Case
    {
        int control;
        QString text, message, caption;
    };
    const Case cases[] = {
        {C::Size, QStringLiteral("1001"), QStringLiteral("0 から 1000 までの整数を入力してください。"), {}},
        {C::Id, QString(), QStringLiteral("整数を入力してください。"), {}},
        {C::Id, QStringLiteral("3"), QStringLiteral("IDが重複しています."), QStringLiteral("ID重複チェック")},
    };
    for (const Case& c : cases) {
        Editing e;
        CDialogPlotEdit dialog(e.Context());
        dialog.show();
        dialog.Edit(C::LineWidth)->setText(QStringLiteral("9"));
        dialog.Edit(c.control)->setText(c.text);
        Click(dialog, QStringLiteral("適用"));

        ASSERT_EQ(e.ui.calls.size(), 1u) << c.message.toStdString();
        EXPECT_EQ(e.ui.calls[0].text, c.message);
        EXPECT_EQ(e.ui.calls[0].caption, c.caption);
        EXPECT_EQ(e.ui.calls[0].icon, MessageIcon::Information);
        EXPECT_EQ(dialog.focusWidget(), dialog.Control(c.control)) << c.message.toStdString();
        EXPECT_EQ(e.Plot().m_lineWidth, 1) << "nothing written";
        EXPECT_TRUE(e.hints.empty());
    }
}

TEST(DialogPlotEdit, ApplyWritesAndCancelRestoresTheOpeningState)
{
    Editing e;
    const CPlotInfo before = e.Plot();
    CDialogPlotEdit dialog(e.Context());
    bool ended = false;
    QObject::connect(&dialog, &CEditDialog::editEnded, [&ended] { ended = true; });

    dialog.Edit(C::Id)->setText(QStringLiteral("8"));
    dialog.ShapeList()->setCurrentIndex(6);
    dialog.MovingRadio()->setChecked(true);
    dialog.Edit(C::Axis1StartValue)->setText(QStringLiteral("-2.5"));
    dialog.Edit(C::Comment)->setText(QStringLiteral("新"));
    Click(dialog, QStringLiteral("適用"));
    EXPECT_EQ(e.hints, std::vector<int32_t>{EditHint::SelectedOrApplied});
    EXPECT_EQ(e.Plot().m_id, 8);
    EXPECT_EQ(e.Plot().m_shape, PlotShape::Plus);
    EXPECT_EQ(e.Plot().m_originKind, OriginKind::Moving);
    EXPECT_EQ(e.Plot().m_axes[0].m_startValue, -2.5);
    EXPECT_EQ(e.Plot().m_comment, QStringLiteral("新"));

    // A colour, a second Apply, and a queued Apply still waiting when Cancel comes.
    e.ui.colorAnswers = {0x00445566};
    Click(dialog, QStringLiteral("色..."));
    dialog.Axis2Box()->setChecked(true);
    Click(dialog, QStringLiteral("適用"));
    EXPECT_EQ(e.Plot().m_axisCount, 2);
    Click(dialog, QStringLiteral("キャンセル"));
    QCoreApplication::processEvents();

    EXPECT_TRUE(ended);
    EXPECT_EQ(PlotEditValuesOf(e.Plot()), PlotEditValuesOf(before));
    EXPECT_EQ(e.Plot().m_color, before.m_color);
    EXPECT_EQ(e.hints.size(), 2u);
}

TEST(DialogPlotEdit, CancelOfAnAddedPlotRemovesIt)
{
    Editing e(EditMode::PlotAdd);
    CDialogPlotEdit dialog(e.Context());
    Click(dialog, QStringLiteral("適用"));
    Click(dialog, QStringLiteral("キャンセル"));
    ASSERT_EQ(e.doc.m_workPlots.size(), 1u);
    EXPECT_EQ(e.doc.m_workPlots[0].m_id, 3);
    EXPECT_EQ(e.doc.m_selectedIndex, -1);
}

TEST(DialogPlotEdit, ColourAndOtherSettingsApplyAfterTheirHandler)
{
    Editing e;
    bool hiddenWhileOthersRan = false;
    CDialogPlotEdit* edit = nullptr;
    CDialogPlotEdit dialog(e.Context(Script<CDialogPlotEditOthers>([&](CDialogPlotEditOthers& d) {
        hiddenWhileOthersRan = !edit->isVisible();
        d.accept();
    })));
    edit = &dialog;
    dialog.show();

    e.ui.colorAnswers = {0x00ABCDEF, std::nullopt};
    Click(dialog, QStringLiteral("色..."));
    EXPECT_EQ(e.Plot().m_color, 0x00ABCDEFu) << "written at once";
    EXPECT_TRUE(e.hints.empty()) << "Apply is queued";
    dialog.Edit(C::Size)->setText(QStringLiteral("40")); // as a view would before the queue runs
    QCoreApplication::processEvents();
    EXPECT_EQ(e.hints, std::vector<int32_t>{EditHint::SelectedOrApplied});
    EXPECT_EQ(e.Plot().m_size, 40);

    Click(dialog, QStringLiteral("色...")); // cancelled
    QCoreApplication::processEvents();
    EXPECT_EQ(e.hints.size(), 1u);

    Click(dialog, QStringLiteral("その他..."));
    EXPECT_TRUE(hiddenWhileOthersRan);
    EXPECT_TRUE(dialog.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(e.hints.size(), 2u);
}

TEST(DialogPlotEdit, AxisDialogsComeBackIntoTheFieldsInFullAndApply)
{
    Editing e;
    e.doc.m_workPlots[0].m_axes[0].m_fdNo = 42;
    bool axisAccepted = false;
    const DialogRunner run = Both(Script<CDialogAxisEdit>([&](CDialogAxisEdit& d) {
                                      d.accept();
                                      axisAccepted = d.result() == QDialog::Accepted;
                                  }),
                                  Script<CDialogAxisCopy>([](CDialogAxisCopy& d) {
                                      QComboBox* plot = d.Box(CDialogAxisCopy::CopySourcePlot);
                                      plot->setCurrentIndex(plot->findText(QStringLiteral("3")));
                                      d.Box(CDialogAxisCopy::CopySourceAxes)->setCurrentIndex(0);
                                      d.Box(CDialogAxisCopy::CopyTargetAxes)->setCurrentIndex(0);
                                      d.CopyButton()->click();
                                  }));
    CDialogPlotEdit dialog(e.Context(run));
    dialog.show();

    // 10:33:50 on a date axis: "%g" would bring back 09:36.
    dialog.Edit(C::Axis1StartValue)->setText(QStringLiteral("46000.440162037"));
    Click(dialog, QStringLiteral("その他軸情報..."));
    ASSERT_TRUE(axisAccepted);
    EXPECT_EQ(dialog.Edit(C::Axis1StartValue)->text(), QStringLiteral("46000.440162037"));
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(e.Plot().m_axes[0].m_startValue, 46000.440162037);

    // The copied FD number reaches the field, so the Apply that follows keeps it.
    Click(dialog, QStringLiteral("軸CopyMove..."));
    EXPECT_EQ(dialog.Edit(C::Axis1FdNo)->text(), QStringLiteral("42"));
    QCoreApplication::processEvents();
    EXPECT_EQ(e.Plot().m_axes[0].m_fdNo, 42);
}
