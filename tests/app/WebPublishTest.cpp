#include "tests/app/AppSupport.h"
#include "tests/support/HttpTestClient.h"

#include "app/WebPublisher.h"
#include "dialogs/DialogWebPublish.h"
#include "views/ViewWidget.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <mutex>

TEST_F(AppTest, WebPublishServesTheCurrentViewOnTheLoopbackUntilItsWindowCloses)
{
    CVantrelApp& app = Start();
    CDocEntry* entry = NewDocument(0);
    ASSERT_TRUE(entry);
    {
        std::lock_guard lock(app.Main().m_storeLock);
        app.Main().m_internalData.Add(FieldRow{QStringLiteral("PV"), QStringLiteral("1")});
    }

    app.Frame().Action(Command::WebPublish)->trigger();
    CDialogWebPublish* dialog = app.Frame().WebPublishDialog();
    ASSERT_TRUE(dialog);
    CWebAccess asked;
    asked.m_port = 0; // the system picks a free one
    dialog->SetValues(asked);
    dialog->StartButton()->click();
    CWebPublisher& publisher = app.Frame().WebPublisher();
    ASSERT_TRUE(publisher.IsPublishing()) << m_ui.Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(publisher.PublishedView(), entry->Views().front());
    const quint16 port = publisher.PublishedAccess().m_port;
    ASSERT_NE(port, 0);
    EXPECT_EQ(dialog->UrlEdit()->text(), QStringLiteral("http://127.0.0.1:%1/").arg(port));
    CWebAccess remembered;
    remembered.m_port = 1;
    LoadWebAccess(app.Settings(), remembered);
    EXPECT_EQ(remembered.m_port, 0); // as asked, not as given

    const auto url = [port](const char* path) { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path))); };
    const CHttpReply status = HttpGet(url("/status"));
    EXPECT_EQ(status.m_status, 200);
    EXPECT_EQ(status.Json().value(QStringLiteral("rowsStored")).toInt(), 1);
    const CHttpReply frame = HttpGet(url("/frame.png"));
    ASSERT_EQ(frame.m_status, 200);
    EXPECT_EQ(QImage::fromData(frame.m_body, "PNG").size(), entry->Views().front()->Layers().Overlay().size());

    // The served window goes: the publication ends and the port is closed.
    ASSERT_TRUE(app.Docs().CloseDocument(*entry, false));
    EXPECT_FALSE(publisher.IsPublishing());
    EXPECT_EQ(dialog->StateLabel()->text(), QStringLiteral("停止中"));
    EXPECT_EQ(HttpGet(url("/status")).m_status, 0);

    // Nothing left to serve.
    m_ui.calls.clear();
    dialog->StartButton()->click();
    EXPECT_FALSE(publisher.IsPublishing());
    ASSERT_EQ(m_ui.calls.size(), 1u);
    EXPECT_TRUE(m_ui.calls.front().text.startsWith(QStringLiteral("公開する画面がありません。")));
}
