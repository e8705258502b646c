#include "tests/app/AppSupport.h"

#include "app/WebPublisher.h"
#include "dialogs/DialogWebPublish.h"
#include "views/ViewWidget.h"

#include <QAction>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPushButton>
#include <QTimer>

#include <mutex>

namespace {

struct CReplyResult
{
    int m_status = 0;
    QNetworkReply::NetworkError m_error = QNetworkReply::NoError;
    QByteArray m_body;
};

CReplyResult Get(QNetworkAccessManager& net, quint16 port, const char* path)
{
    QNetworkReply* reply = net.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path)))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    CReplyResult result{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->error(), reply->readAll()};
    reply->deleteLater();
    return result;
}

} // namespace

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

    QNetworkAccessManager net;
    net.setProxy(QNetworkProxy::NoProxy);
    const CReplyResult status = Get(net, port, "/status");
    EXPECT_EQ(status.m_status, 200);
    EXPECT_EQ(QJsonDocument::fromJson(status.m_body).object().value(QStringLiteral("rowsStored")).toInt(), 1);
    const CReplyResult frame = Get(net, port, "/frame.png");
    ASSERT_EQ(frame.m_status, 200);
    EXPECT_EQ(QImage::fromData(frame.m_body, "PNG").size(), entry->Views().front()->Layers().Overlay().size());

    // The served window goes: the publication ends and the port is closed.
    ASSERT_TRUE(app.Docs().CloseDocument(*entry, false));
    EXPECT_FALSE(publisher.IsPublishing());
    EXPECT_EQ(dialog->StateLabel()->text(), QStringLiteral("停止中"));
    EXPECT_EQ(Get(net, port, "/status").m_error, QNetworkReply::ConnectionRefusedError);

    // Nothing left to serve.
    m_ui.calls.clear();
    dialog->StartButton()->click();
    EXPECT_FALSE(publisher.IsPublishing());
    ASSERT_EQ(m_ui.calls.size(), 1u);
    EXPECT_TRUE(m_ui.calls.front().text.startsWith(QStringLiteral("公開する画面がありません。")));
}
