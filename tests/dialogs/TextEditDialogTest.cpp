#include "dialogs/DialogTextEdit.h"
#include "dialogs/TextInfoList.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const QString kBadFormat = QStringLiteral("書式が不正です.");

} // namespace

TEST(DialogTextEdit, FormatMustSuitTheChosenKinds)
{
    struct Case
    {
        LogicalKind logical;
        ValueKind value;
        const char* format;
        bool accepted;
    };
    const Case cases[] = {
        {LogicalKind::Number, ValueKind::String, "%.3f", false},
        {LogicalKind::Number, ValueKind::String, "%s", true},
        {LogicalKind::DateTime, ValueKind::String, "%10s", true},
        {LogicalKind::Number, ValueKind::String, "%s%s", false},
        {LogicalKind::DateTime, ValueKind::Instant, "%Y/%m/%d %H:%M:%S(%a)", true},
        {LogicalKind::DateTime, ValueKind::Max, "%.3f", false},
        {LogicalKind::Number, ValueKind::Instant, "%.3f", true},
        {LogicalKind::InputCount, ValueKind::Min, "%g", true},
        {LogicalKind::Number, ValueKind::Instant, "%s", false},
        {LogicalKind::Number, ValueKind::Instant, "%.1f %.1f", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CScriptedInteraction ui;
        CDialogTextEdit dialog(ui);
        dialog.LogicalKindButton(int(c.logical))->setChecked(true);
        dialog.ValueKindButton(int(c.value))->setChecked(true);
        dialog.FormatBox()->setEditText(QString::fromLatin1(c.format));
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(dialog.Text().m_format, QString::fromLatin1(c.format));
        EXPECT_EQ(dialog.Text().m_logicalKind, c.logical);
        if (c.accepted) {
            EXPECT_TRUE(ui.calls.empty());
        } else {
            ASSERT_EQ(ui.calls.size(), 1u);
            EXPECT_EQ(ui.calls[0].text, kBadFormat);
            EXPECT_EQ(ui.calls[0].caption, QStringLiteral("入力チェック"));
            EXPECT_EQ(ui.calls[0].icon, MessageIcon::Information);
            EXPECT_EQ(dialog.focusWidget(), dialog.FormatBox());
        }
    }
}

TEST(DialogTextEdit, FieldsAreReadInFullBeforeAnyIsWritten)
{
    CScriptedInteraction ui;
    CDialogTextEdit dialog(ui);
    CTextInfo start;
    start.m_fdNo = 4;
    start.m_displayKind = static_cast<DisplayKind>(7); // no button for it: kept
    dialog.SetText(start);
    EXPECT_EQ(dialog.FormatBox()->count(), 10);
    EXPECT_EQ(dialog.FormatBox()->currentText(), QStringLiteral("%g"));

    dialog.FdNoEdit()->setText(QStringLiteral("9"));
    dialog.PrefixEdit()->setText(QStringLiteral("温度"));
    dialog.AdderEdit()->setText(QStringLiteral("1e400"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("数字を入力してください。")});
    EXPECT_EQ(dialog.Text().m_fdNo, 4);
    EXPECT_TRUE(dialog.Text().m_prefix.isEmpty());

    dialog.AdderEdit()->setText(QStringLiteral("-0.5"));
    dialog.DistanceEdit()->setText(QStringLiteral("2147483648"));
    dialog.accept();
    EXPECT_EQ(ui.Messages().back(), QStringLiteral("0 から 2147483647 までの整数を入力してください。"));
    EXPECT_EQ(dialog.focusWidget(), dialog.DistanceEdit());

    dialog.DistanceEdit()->setText(QStringLiteral("0"));
    dialog.AnchorButton(int(TextAnchor::BottomRight))->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CTextInfo& t = dialog.Text();
    EXPECT_EQ(t.m_fdNo, 9);
    EXPECT_EQ(t.m_distance, 0);
    EXPECT_EQ(t.m_adder, -0.5);
    EXPECT_EQ(t.m_prefix, QStringLiteral("温度"));
    EXPECT_EQ(t.m_anchor, TextAnchor::BottomRight);
    EXPECT_EQ(static_cast<int>(t.m_displayKind), 7);
}

TEST(DialogTextEdit, ChosenFontAndColoursReachTheListOnlyOnOk)
{
    CScriptedInteraction ui;
    LOGFONTW big = CTextInfo::DefaultFont();
    big.lfHeight = -30;
    std::vector<CTextInfo> texts(1);
    bool accept = false;
    const auto script = Script<CDialogTextEdit>([&](CDialogTextEdit& d) {
        ui.fontAnswers = {FontChoice{big, 0x00FF00}};
        ui.colorAnswers = {0x0000FF};
        d.FontButton()->click();
        d.BackColorButton()->click();
        d.TransparentCheck()->click();
        EXPECT_EQ(d.Text().m_font, big);
        EXPECT_EQ(d.Text().m_opaque, 0);
        if (accept)
            d.accept();
        else
            d.reject();
    });
    CTextInfoList list(ui, script, [&] { return &texts; }, [] { return 0; });
    list.Fill(0);

    list.EditButton()->click();
    EXPECT_EQ(texts[0].m_font, CTextInfo::DefaultFont());
    EXPECT_EQ(texts[0].m_textColor, 255u);
    EXPECT_EQ(texts[0].m_backColor, 16777215u);
    EXPECT_EQ(texts[0].m_opaque, 1);

    accept = true;
    list.EditButton()->click();
    EXPECT_EQ(texts[0].m_font, big);
    EXPECT_EQ(texts[0].m_textColor, 0x00FF00u);
    EXPECT_EQ(texts[0].m_backColor, 0x0000FFu);
    EXPECT_EQ(texts[0].m_opaque, 0);
}
