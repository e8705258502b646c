#include "app/WebPublisher.h"

#include "dialogs/DialogInputCsvFile.h"
#include "dialogs/DialogInputMqtt.h"
#include "dialogs/DialogInputSocket.h"
#include "runtime/Main.h"
#include "sources/LineServer.h"
#include "sources/LiveWebServer.h"
#include "sources/MqttClient.h"
#include "views/ViewWidget.h"

#include <QMdiSubWindow>

#include <mutex>

CWebPublisher::CWebPublisher(CMain& main, std::function<CViewWidget*()> activeView, std::function<int32_t()> sources,
                             QObject* parent)
    : QObject(parent), m_main(main), m_activeView(std::move(activeView)), m_sources(std::move(sources))
{
}

CWebPublisher::~CWebPublisher()
{
    // Quietly: whoever listens may be going too.
    if (m_view)
        m_view->disconnect(this);
    m_server.reset();
}

IWebPublishing::StartResult CWebPublisher::StartPublishing(const CWebAccess& access, QString* error)
{
    if (m_server)
        return StartResult::Started;
    CViewWidget* view = m_activeView ? m_activeView() : nullptr;
    if (!view)
        return StartResult::NothingToPublish;

    // The server asks on the UI thread, where the view can only go between two of its calls.
    const QPointer<CViewWidget> guarded(view);
    const auto grab = [guarded] {
        QImage copy;
        if (guarded)
            guarded->Layers().PaintOverlay([&copy](const QImage& overlay) { copy = overlay.copy(); });
        return copy;
    };
    const auto counts = [this] {
        CLiveCounts c;
        c.m_linesReceived = m_main.QueuedLines() + m_main.DiscardedLines();
        {
            std::lock_guard lock(m_main.m_storeLock);
            c.m_rowsStored = m_main.m_internalData.GetCount();
        }
        c.m_discardedLines = m_main.DiscardedLines();
        c.m_connectedSources = m_sources ? m_sources() : 0;
        return c;
    };
    auto server = std::make_unique<CLiveWebServer>(grab, counts);
    if (!server->Start(access, error))
        return StartResult::CannotListen;
    connect(view, &CViewWidget::overlayRepainted, server.get(), &CLiveWebServer::NotifyRepaint);
    connect(server.get(), &CLiveWebServer::viewerCountChanged, this, &CWebPublisher::stateChanged);
    // By then the object is only a QObject: the pointer is dropped before anything reads it.
    connect(view, &QObject::destroyed, this, [this] {
        m_view.clear();
        StopPublishing();
    });
    m_view = view;
    m_server = std::move(server);
    Q_EMIT stateChanged();
    return StartResult::Started;
}

void CWebPublisher::StopPublishing()
{
    if (!m_server)
        return;
    if (m_view)
        m_view->disconnect(this);
    m_view = nullptr;
    // At once, so that a new start may listen on the same port.
    m_server.reset();
    Q_EMIT stateChanged();
}

CWebAccess CWebPublisher::PublishedAccess() const
{
    return m_server ? m_server->Access() : CWebAccess();
}

QString CWebPublisher::PublishedTitle() const
{
    for (QWidget* w = m_view; w; w = w->parentWidget()) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(w))
            return window->windowTitle();
    }
    return QString();
}

int32_t CWebPublisher::ViewerCount() const
{
    return m_server ? m_server->ViewerCount() : 0;
}

int32_t ConnectedSources(const QObject& frame)
{
    int32_t sources = 0;
    for (const CDialogInputSocket* window : frame.findChildren<CDialogInputSocket*>()) {
        if (!window->IsClosing())
            sources += window->Server().ConnectionCount();
    }
    for (const CDialogInputMqtt* window : frame.findChildren<CDialogInputMqtt*>()) {
        if (!window->IsClosing() && window->Client().IsConnected())
            ++sources;
    }
    for (const CDialogInputCsvFile* window : frame.findChildren<CDialogInputCsvFile*>()) {
        if (!window->IsClosing())
            ++sources;
    }
    return sources;
}
