#include "platform/UserInteraction.h"

#include <gtest/gtest.h>

TEST(ScriptedInteraction, RecordsMessagesAndAnswersFromScriptThenDefaults)
{
    CScriptedInteraction ui;
    ui.messageAnswers = {MessageAnswer::No};
    EXPECT_EQ(ui.MessageBox(QStringLiteral("削除しますか?"), QString(), MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(ui.MessageBox(QStringLiteral("again"), QString(), MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
    ui.ShowError(QStringLiteral("CSVファイルをオープンできませんでした."));
    ASSERT_EQ(ui.calls.size(), 3u);
    EXPECT_EQ(ui.calls[2].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.Messages().last(), QStringLiteral("CSVファイルをオープンできませんでした."));
}

TEST(ScriptedInteraction, ChoosersCancelWhenUnscripted)
{
    CScriptedInteraction ui;
    ui.fileAnswers = {QStringLiteral("/tmp/a.csv")};
    FileDialogRequest request;
    request.title = QStringLiteral("出力するCSVファイル名を指定してください");
    EXPECT_EQ(ui.SaveFile(request), QStringLiteral("/tmp/a.csv"));
    EXPECT_EQ(ui.SaveFile(request), std::nullopt);
    EXPECT_EQ(ui.ChooseColor(0x00FF00), std::nullopt);
    EXPECT_EQ(ui.calls[0].file.title, request.title);
}
