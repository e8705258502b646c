#include "app/Commands.h"
#include "app/PreRunCheck.h"
#include "model/VantrelDoc.h"

#include "tests/support/TestSupport.h"

TEST(Commands, EnablingFollowsBusyStoreAndEditMode)
{
    struct Case
    {
        Command id;
        CCommandState state;
        bool enabled;
    };
    const CCommandState idle{false, true, true, true};
    const CCommandState busy{true, false, true, false};
    const CCommandState stored{false, false, true, true};
    const CCommandState noDoc{false, false, false, false};
    const CCommandState editing{false, false, true, false};
    const Case cases[] = {
        {Command::SaveState, idle, true},          {Command::SaveState, busy, false},
        {Command::RestoreState, busy, false},      {Command::FileOpen, busy, false},
        {Command::FileNew, noDoc, true},           {Command::FileSave, noDoc, false},
        {Command::FileClose, busy, false},         {Command::About, busy, false},
        {Command::ClearInternal, idle, false},     {Command::ClearInternal, stored, true},
        {Command::InternalInput, idle, false},     {Command::InternalInput, stored, true},
        {Command::ExportInternalCsv, busy, false}, {Command::ExportInternalCsv, stored, true},
        {Command::TcpInput, idle, true},           {Command::CsvInput, busy, false},
        {Command::PlotList, idle, true},           {Command::PlotList, editing, false},
        {Command::InfoOpen, noDoc, false},         {Command::ChangePicture, busy, false},
        {Command::WindowManager, busy, true},      {Command::FDConversion, busy, false},
        {Command::MqttInput, idle, true},          {Command::MqttInput, busy, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCommandEnabled(c.id, c.state), c.enabled) << int(c.id);
}

TEST(Commands, StretchMenuWordsTwoCommandsItsOwnWay)
{
    EXPECT_EQ(CommandCaption(Command::InfoSave, MenuKind::Scroll), QStringLiteral("情報保存..."));
    EXPECT_EQ(CommandCaption(Command::InfoSave, MenuKind::Stretch), QStringLiteral("情報保存"));
    EXPECT_EQ(CommandCaption(Command::TcpInput, MenuKind::Scroll), QStringLiteral("通信入力処理..."));
    EXPECT_EQ(CommandCaption(Command::TcpInput, MenuKind::Stretch), QStringLiteral("通信入力..."));
    EXPECT_EQ(CommandStatusText(Command::SaveState), QStringLiteral("アプリケーションの状態をファイル保存"));
    EXPECT_EQ(CommandToolTip(Command::SaveState), QStringLiteral("退避"));
}

TEST(PreRunCheck, FirstBadConnectionNamesDocumentAndWindow)
{
    CVantrelDoc good;
    CVantrelDoc bad;
    CPlotInfo plot;
    plot.m_id = 1;
    bad.m_plots.push_back(plot);
    CConnectInfo connect;
    connect.m_plotIds = {1, 7};
    bad.m_connects.push_back(connect);

    const QString check = QStringLiteral("プロット結線するID7のプロット情報が存在しません．");
    auto failure = CheckConnections({{&good, QStringLiteral("a.t1"), QStringLiteral("a.t1")},
                                     {&bad, QStringLiteral("b.t2"), QStringLiteral("b.t2:2")}});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->m_index, 1u);
    EXPECT_EQ(failure->m_message, QStringLiteral("b.t2ドキュメントの「b.t2:2」画面において\n") + check);

    failure = CheckConnections({{&bad, QStringLiteral("Stretch1"), std::nullopt}});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->m_message, QStringLiteral("Stretch1ドキュメントにおいて\n") + check);

    EXPECT_FALSE(CheckConnections({{&good, QStringLiteral("a.t1"), std::nullopt}}));
}
