#include "dialogs/DialogFDEdit.h"
#include "dialogs/DialogFDList.h"
#include "dialogs/DialogStr.h"
#include "forms/FieldRead.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

CFDInfos Table()
{
    CFDInfos t;
    t.m_entries = {CFDInfo(0), CFDInfo(3, {QStringLiteral("温度"), QStringLiteral("外気")})};
    return t;
}

std::vector<int32_t> Targets(const CFDInfos& t)
{
    std::vector<int32_t> out;
    for (const CFDInfo& e : t.m_entries)
        out.push_back(e.m_targetFD);
    return out;
}

void SetFields(CDialogFDList& d, const char* count, const char* start, const char* end, const char* newStart)
{
    d.CountEdit()->setText(QString::fromLatin1(count));
    d.StartEdit()->setText(QString::fromLatin1(start));
    d.EndEdit()->setText(QString::fromLatin1(end));
    d.NewStartEdit()->setText(QString::fromLatin1(newStart));
}

} // namespace

TEST(DialogFDList, ListLinesAndButtonsFollowTheTable)
{
    CScriptedInteraction ui;
    CDialogFDList dialog(Table(), ui);
    EXPECT_EQ(Lines(dialog.List()), QStringList({QStringLiteral("FD0\t<無変換>\t, <説明文無し>"),
                                                 QStringLiteral("FD1\t→ FD3\t\t, 温度\t, 外気")}));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(dialog.CountEdit()->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog.EndEdit()->text(), QStringLiteral("1"));

    CDialogFDList empty(CFDInfos(), ui);
    EXPECT_EQ(empty.List()->count(), 0);
    for (QPushButton* b : {empty.RenumberButton(), empty.EditButton(), empty.ClearButton(), empty.ExportButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(empty.SetCountButton()->isEnabled());
    EXPECT_TRUE(empty.ImportButton()->isEnabled());
    empty.CountEdit()->setText(QStringLiteral("3"));
    empty.SetCountButton()->click();
    EXPECT_EQ(Targets(empty.Result()), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_TRUE(empty.RenumberButton()->isEnabled());
    EXPECT_TRUE(ui.calls.empty());
}

TEST(DialogFDList, SetCountAndRenumberWithTheirLimits)
{
    CScriptedInteraction ui;
    CDialogFDList dialog(Table(), ui);

    SetFields(dialog, "0", "0", "1", "0");
    dialog.SetCountButton()->click();
    EXPECT_TRUE(dialog.Result().m_entries.empty());
    EXPECT_FALSE(dialog.ClearButton()->isEnabled());

    SetFields(dialog, "3", "2", "4", "10");
    dialog.SetCountButton()->click();
    dialog.RenumberButton()->click();
    EXPECT_EQ(Targets(dialog.Result()), (std::vector<int32_t>{0, 1, 10, 11, 12}));
    EXPECT_EQ(dialog.List()->item(4)->text(), QStringLiteral("FD4\t→ FD12\t\t, <説明文無し>"));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_TRUE(ui.calls.empty());

    struct Refusal
    {
        const char *count, *start, *end, *newStart;
        QPushButton* button;
        QString message;
        QString caption;
    };
    const QString fieldRange = FieldRead::RangeMessage(0, 2147483647);
    const Refusal refusals[] = {
        // Every action reads all four fields first.
        {"5", "0", "-1", "0", dialog.SetCountButton(), fieldRange, QString()},
        {"2147483648", "0", "1", "0", dialog.SetCountButton(), fieldRange, QString()},
        {"1x", "0", "1", "0", dialog.RenumberButton(), FieldRead::kInteger, QString()},
        {"2147483647", "0", "1", "0", dialog.SetCountButton(), FieldRead::RangeMessage(0, 1000000),
         QStringLiteral("入力チェック")},
        {"5", "4", "2", "0", dialog.RenumberButton(), QStringLiteral("終了FD番号が開始FD番号より小さいです."),
         QStringLiteral("チェック")},
        {"5", "0", "5", "2147483647", dialog.RenumberButton(), FieldRead::RangeMessage(0, 2147483642),
         QStringLiteral("入力チェック")},
    };
    for (const Refusal& r : refusals) {
        ui.calls.clear();
        SetFields(dialog, r.count, r.start, r.end, r.newStart);
        r.button->click();
        ASSERT_EQ(ui.Messages(), QStringList{r.message}) << r.count << " " << r.end;
        EXPECT_EQ(ui.calls[0].caption, r.caption);
        EXPECT_EQ(Targets(dialog.Result()), (std::vector<int32_t>{0, 1, 10, 11, 12}));
    }

    ui.calls.clear();
    SetFields(dialog, "5", "1", "1", "7");
    dialog.RenumberButton()->click();
    dialog.ClearButton()->click();
    EXPECT_EQ(Targets(dialog.Result()), (std::vector<int32_t>{0, 1, 2, 3, 4}));

    // OK reads the fields too.
    dialog.NewStartEdit()->setText(QStringLiteral("-3"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Messages(), QStringList{fieldRange});
    dialog.NewStartEdit()->setText(QStringLiteral("3"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DialogFDList, EditRunsTheEntryDialogOnTheSelectedLine)
{
    CScriptedInteraction ui;
    CDialogFDList dialog(Table(), ui);
    dialog.List()->setCurrentRow(1);
    int entryDialogs = 0;
    dialog.SetDialogRunner(Both(
        Script<CDialogFDEdit>([&](CDialogFDEdit& d) {
            ++entryDialogs;
            EXPECT_EQ(d.TargetEdit()->text(), QStringLiteral("3"));
            EXPECT_EQ(d.Descriptions()->Current(), 0);
            d.Descriptions()->List()->setCurrentRow(1);
            d.Descriptions()->EditButton()->click(); // "外気" -> "   "
            d.Descriptions()->AddButton()->click();  // refused empty, then "湿度"
            d.Descriptions()->List()->setCurrentRow(0);
            d.Descriptions()->DeleteButton()->click();
            EXPECT_EQ(d.Descriptions()->Current(), 0);
            d.TargetEdit()->setText(QStringLiteral("-1"));
            d.accept();
            EXPECT_NE(d.result(), QDialog::Accepted);
            d.TargetEdit()->setText(QStringLiteral("2147483647"));
            d.accept();
        }),
        Script<CDialogStr>([](CDialogStr& d) {
            if (d.String().isEmpty()) {
                d.accept(); // the empty text is refused
                EXPECT_NE(d.result(), QDialog::Accepted);
                d.Edit()->setText(QStringLiteral("湿度"));
            } else {
                EXPECT_EQ(d.Edit()->text(), QStringLiteral("外気"));
                d.Edit()->setText(QStringLiteral("   "));
            }
            d.accept();
        })));
    dialog.EditButton()->click();

    EXPECT_EQ(entryDialogs, 1);
    EXPECT_EQ(ui.Messages(), QStringList({QStringLiteral("文字が入力されていません"),
                                          FieldRead::RangeMessage(0, 2147483647)}));
    EXPECT_EQ(ui.calls[0].caption, QStringLiteral("入力チェック"));
    EXPECT_EQ(dialog.Result().m_entries[1],
              CFDInfo(2147483647, {QStringLiteral("   "), QStringLiteral("湿度")}));
    EXPECT_EQ(dialog.List()->currentRow(), 1);
    EXPECT_EQ(dialog.List()->item(1)->text(), QStringLiteral("FD1\t→ FD2147483647\t\t,    \t, 湿度"));

    // A cancelled entry dialog changes nothing.
    dialog.SetDialogRunner(Script<CDialogFDEdit>([](CDialogFDEdit& d) {
        d.TargetEdit()->setText(QStringLiteral("9"));
        d.reject();
    }));
    dialog.EditButton()->click();
    EXPECT_EQ(dialog.Result().m_entries[1].m_targetFD, 2147483647);
}

TEST(DialogFDList, ExportAndImportReportTheirOutcome)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    const QString missing = dir.filePath(QStringLiteral("no/such/list.csv"));
    CScriptedInteraction ui;
    CDialogFDList dialog(Table(), ui);

    ui.fileAnswers = {file, missing, std::nullopt};
    dialog.ExportButton()->click();
    dialog.ExportButton()->click();
    dialog.ExportButton()->click(); // chooser cancelled: no message
    EXPECT_EQ(ReadAll(file), QByteArray("0\r\n3,\x89\xb7\x93x,\x8aO\x8b" "C\r\n"));
    const FileDialogRequest& save = ui.calls[0].file;
    EXPECT_EQ(ui.calls[0].kind, CScriptedInteraction::Call::Kind::SaveFile);
    EXPECT_EQ(save.title, QStringLiteral("リストを保存するcsvファイルを指定してください"));
    EXPECT_EQ(save.filter, QStringLiteral("csvファイル(*.csv)|*.csv||"));
    EXPECT_EQ(save.defaultExtension, QStringLiteral("csv"));
    EXPECT_EQ(save.initialName, QStringLiteral("*.csv"));
    EXPECT_EQ(save.flags, uint32_t{FileDialogOverwritePrompt | FileDialogPathMustExist});
    EXPECT_EQ(ui.Messages(), QStringList({QStringLiteral("保存しました."),
                                          QStringLiteral("保存できませんでした.出力CSVファイルオープンエラー\n(%1)").arg(missing)}));
    EXPECT_EQ(ui.calls[1].icon, MessageIcon::Information);
    EXPECT_EQ(ui.calls[3].icon, MessageIcon::Stop);

    const QString empty = dir.filePath(QStringLiteral("empty.csv"));
    const QString negative = dir.filePath(QStringLiteral("negative.csv"));
    WriteAll(empty, QByteArray());
    WriteAll(negative, QByteArray("4\r\n5abc,x\r\n-1\r\n"));
    ui.calls.clear();
    ui.fileAnswers = {empty, negative, file};
    dialog.ClearButton()->click();
    for (int i = 0; i < 3; ++i)
        dialog.ImportButton()->click();
    EXPECT_EQ(ui.calls[0].kind, CScriptedInteraction::Call::Kind::OpenFile);
    EXPECT_EQ(ui.calls[0].file.title, QStringLiteral("リストを読み込むcsvファイルを指定してください"));
    EXPECT_EQ(ui.calls[0].file.flags, uint32_t{FileDialogFileMustExist | FileDialogHideReadOnly});
    EXPECT_EQ(ui.Messages(), QStringList({QStringLiteral("開けませんでした.ゼロ件でした．"),
                                          QStringLiteral("開けませんでした.3行目の先頭フィールドが負の整数でした．"),
                                          QStringLiteral("読み込みました.")}));
    EXPECT_EQ(ui.calls[1].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.calls[5].icon, MessageIcon::Information);
    EXPECT_EQ(dialog.Result(), Table());
    EXPECT_EQ(Lines(dialog.List()), QStringList({QStringLiteral("FD0\t<無変換>\t, <説明文無し>"),
                                                 QStringLiteral("FD1\t→ FD3\t\t, 温度\t, 外気")}));
}

TEST(DialogStr, EnterIsOkAndEscapeCancels)
{
    CScriptedInteraction ui;
    CDialogStr dialog(ui);
    dialog.show();
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("文字が入力されていません")});
    EXPECT_TRUE(dialog.isVisible());
    dialog.Edit()->setText(QStringLiteral("  "));
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.String(), QStringLiteral("  "));

    dialog.show();
    dialog.Edit()->setText(QStringLiteral("x"));
    QTest::keyClick(dialog.Edit(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.String(), QStringLiteral("  "));
}
