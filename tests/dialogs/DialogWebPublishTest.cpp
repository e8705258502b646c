#include "dialogs/DialogWebPublish.h"
#include "platform/UserInteraction.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the starts it is asked for and answers with a set result.
class CFakePublishing : public IWebPublishing
{
public:
    StartResult m_result = StartResult::Started;
    std::vector<CWebAccess> m_starts;
    bool m_publishing = false;

    StartResult StartPublishing(const CWebAccess& access, QString* error) override
    {
        m_starts.push_back(access);
        if (m_result == StartResult::CannotListen)
            *error = QStringLiteral("address in use");
        m_publishing = m_result == StartResult::Started;
        return m_result;
    }
    void StopPublishing() override { m_publishing = false; }
    bool IsPublishing() const override { return m_publishing; }
    CWebAccess PublishedAccess() const override { return m_starts.back(); }
    QString PublishedTitle() const override { return QStringLiteral("demo.t2"); }
    int32_t ViewerCount() const override { return 3; }
};

CWebAccess Access(const char* address, uint16_t port, const char* token)
{
    CWebAccess access;
    access.m_address = QHostAddress(QString::fromLatin1(address));
    access.m_port = port;
    access.m_token = QString::fromLatin1(token);
    return access;
}

} // namespace

TEST(DialogWebPublish, ValuesRoundTripAndFaultyFieldsAreRefusedBeforeAnyStart)
{
    CFakePublishing publishing;
    CScriptedInteraction ui;
    CDialogWebPublish dialog(publishing, ui);

    for (const CWebAccess& access : {Access("0.0.0.0", 0, "abc-DEF_12.3"), Access("::1", 65535, "")}) {
        dialog.SetValues(access);
        const CWebAccess read = dialog.Values();
        EXPECT_EQ(read.m_address, access.m_address);
        EXPECT_EQ(read.m_port, access.m_port);
        EXPECT_EQ(read.m_token, access.m_token);
    }
    EXPECT_EQ(ParseWebHost(QStringLiteral(" [::1] ")), QHostAddress(QHostAddress::LocalHostIPv6));
    EXPECT_EQ(ParseWebHost(QStringLiteral("localhost")), QHostAddress(QHostAddress::LocalHost));

    struct Case
    {
        const char* address;
        const char* token;
        const char* message;
    };
    const Case cases[] = {
        {"192.168.1.300", "", "アドレスが正しくありません。"},
        {"1.2.3", "", "アドレスが正しくありません。"},
        {"example.org", "", "アドレスが正しくありません。"},
        {"127.0.0.1", "short", "トークンは8〜128文字の英数字、'-'、'_'、'.' です。"},
        {"0.0.0.0", "with space", "トークンは8〜128文字の英数字、'-'、'_'、'.' です。"},
    };
    for (const Case& c : cases) {
        ui.calls.clear();
        dialog.AddressBox()->setEditText(QString::fromUtf8(c.address));
        dialog.TokenEdit()->setText(QString::fromUtf8(c.token));
        dialog.StartButton()->click();
        EXPECT_EQ(ui.Messages(), QStringList{QString::fromUtf8(c.message)}) << c.address << " " << c.token;
    }
    EXPECT_TRUE(publishing.m_starts.empty());
    EXPECT_EQ(dialog.StateLabel()->text(), QStringLiteral("停止中"));
}

TEST(DialogWebPublish, StartMakesUpATokenOffTheLoopbackAndShowsWhyItCouldNotListen)
{
    CFakePublishing publishing;
    CScriptedInteraction ui;
    CDialogWebPublish dialog(publishing, ui);
    std::vector<CWebAccess> saved;
    QObject::connect(&dialog, &CDialogWebPublish::published, [&](const CWebAccess& a) { saved.push_back(a); });

    // A port the system refuses: the message names it, nothing is remembered.
    publishing.m_result = IWebPublishing::StartResult::CannotListen;
    dialog.SetValues(Access("127.0.0.1", 8080, ""));
    dialog.StartButton()->click();
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("ポート 8080 で公開できません。\naddress in use")});
    EXPECT_EQ(ui.calls.back().icon, MessageIcon::Stop);
    EXPECT_TRUE(saved.empty());

    // Every interface and no token: one is made up, shown, used and remembered.
    publishing.m_result = IWebPublishing::StartResult::Started;
    dialog.SetValues(Access("0.0.0.0", 8080, ""));
    dialog.StartButton()->click();
    ASSERT_EQ(publishing.m_starts.size(), 2u);
    const QString token = publishing.m_starts.back().m_token;
    EXPECT_TRUE(IsValidAccessToken(token));
    EXPECT_EQ(dialog.TokenEdit()->text(), token);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.front().m_token, token);
    EXPECT_TRUE(dialog.UrlEdit()->text().endsWith(QStringLiteral(":8080/?token=") + token));
    EXPECT_EQ(dialog.StateLabel()->text(), QStringLiteral("公開中 (demo.t2)　閲覧者数 3"));
    EXPECT_FALSE(dialog.StartButton()->isEnabled() || dialog.AddressBox()->isEnabled());

    dialog.StopButton()->click();
    EXPECT_FALSE(publishing.m_publishing);
    EXPECT_EQ(dialog.StateLabel()->text(), QStringLiteral("停止中"));
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
}
