#include "sources/LiveWebServer.h"

#include "sources/RequestGate.h"

#include <QBuffer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QWebSocket>

#include <algorithm>
#include <utility>

namespace {

// A viewer only ever says it took a picture; anything longer is not ours.
constexpr quint64 kMaxViewerMessage = 1024;

// "Try again later", for an upgrade that raced another one to the last free place.
constexpr auto kCloseBusy = QWebSocketProtocol::CloseCode(1013);

struct Header
{
    QByteArray m_name;
    QByteArray m_value;
};

void Respond(QHttpServerResponder responder, const QHttpServerRequest& request, int status, const QByteArray& mime,
             const QByteArray& body, const std::vector<Header>& extra = {})
{
    responder.writeStatusLine(QHttpServerResponder::StatusCode(status));
    responder.writeHeader("Content-Type", mime);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    // The token may stand in the address; it must not travel on to anyone else.
    responder.writeHeader("Referrer-Policy", "no-referrer");
    for (const Header& h : extra)
        responder.writeHeader(h.m_name, h.m_value);
    responder.writeBody(request.method() == QHttpServerRequest::Method::Head ? QByteArray() : body);
}

void RespondStatus(QHttpServerResponder responder, const QHttpServerRequest& request, int status,
                   const std::vector<Header>& extra = {})
{
    Respond(std::move(responder), request, status, "text/plain; charset=utf-8", HttpStatusText(status) + '\n', extra);
}

QByteArray PageBytes()
{
    QFile page(QStringLiteral(":/web/index.html"));
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

QByteArray Encode(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return QByteArray();
    return bytes;
}

} // namespace

CLiveWebServer::CLiveWebServer(FrameGrabber grabber, CountsSource counts, QObject* parent)
    : QAbstractHttpServer(parent), m_grabber(std::move(grabber)), m_counts(std::move(counts))
{
    // The page lives in the core library, which an executable only pulls in piece by piece.
    Q_INIT_RESOURCE(web);
    m_clock.start();
    m_rateTimer.setSingleShot(true);
    connect(&m_rateTimer, &QTimer::timeout, this, &CLiveWebServer::Pump);
    connect(&m_encoder, &CFrameEncoder::encoded, this, &CLiveWebServer::OnEncoded);
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &CLiveWebServer::OnNewWebSocket);
}

CLiveWebServer::~CLiveWebServer()
{
    for (Viewer& viewer : m_viewers) {
        viewer.m_socket->disconnect(this);
        viewer.m_socket->abort();
        delete viewer.m_socket;
    }
}

bool CLiveWebServer::Start(const CWebAccess& access, QString* error)
{
    const QString problem = CheckWebAccess(access);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    auto* listener = new CGatedTcpServer(this);
    if (!listener->listen(access.m_address, access.m_port)) {
        if (error)
            *error = QStringLiteral("cannot listen on %1 port %2: %3")
                         .arg(access.m_address.toString())
                         .arg(access.m_port)
                         .arg(listener->errorString());
        delete listener;
        return false;
    }
    m_access = access;
    m_access.m_port = listener->serverPort();
    m_listener = listener;
    bind(listener);
    return true;
}

quint16 CLiveWebServer::Port() const
{
    return m_listener ? m_listener->serverPort() : 0;
}

void CLiveWebServer::SetFramesPerSecond(int32_t fps)
{
    m_minIntervalMs = 1000 / std::clamp(fps, 1, 1000);
}

void CLiveWebServer::NotifyRepaint()
{
    // Many repaints between two turns of the event loop make one.
    if (m_repaintQueued.exchange(true, std::memory_order_acq_rel))
        return;
    QMetaObject::invokeMethod(this, &CLiveWebServer::OnRepaint, Qt::QueuedConnection);
}

void CLiveWebServer::OnRepaint()
{
    m_repaintQueued.store(false, std::memory_order_release);
    m_dirty = true;
    ++m_repaints;
    Pump();
}

void CLiveWebServer::Pump()
{
    const bool anyReady = std::any_of(m_viewers.begin(), m_viewers.end(), [](const Viewer& v) { return !v.m_waiting; });
    if (!anyReady)
        return;
    if ((m_dirty || m_frame.isEmpty()) && !m_encoder.IsBusy()) {
        const qint64 now = m_clock.elapsed();
        if (now < m_nextFrameMs) {
            if (!m_rateTimer.isActive())
                m_rateTimer.start(int(m_nextFrameMs - now));
        } else {
            // One picture per interval on average. A picture due earlier than it came keeps
            // up to half an interval of that lead, so pictures that follow data arriving at
            // the same rate do not lock onto waiting for the next free moment.
            m_nextFrameMs = std::max(m_nextFrameMs, now - m_minIntervalMs / 2) + m_minIntervalMs;
            m_dirty = false;
            QElapsedTimer grab;
            grab.start();
            QImage image = m_grabber ? m_grabber() : QImage();
            m_grabNs += grab.nsecsElapsed();
            if (!image.isNull())
                m_encoder.Submit(std::move(image));
        }
    }
    SendNewest();
}

void CLiveWebServer::OnEncoded(const QByteArray& frame, qint64 cpuNs)
{
    m_encodeNs += cpuNs;
    if (!frame.isEmpty()) {
        m_frame = frame;
        ++m_frameSerial;
        ++m_framesEncoded;
    }
    Pump();
}

void CLiveWebServer::SendNewest()
{
    if (m_frame.isEmpty())
        return;
    for (Viewer& viewer : m_viewers) {
        if (viewer.m_waiting || viewer.m_lastSerial == m_frameSerial)
            continue;
        viewer.m_waiting = true;
        viewer.m_lastSerial = m_frameSerial;
        viewer.m_socket->sendBinaryMessage(m_frame);
        ++m_framesSent;
    }
}

void CLiveWebServer::OnNewWebSocket()
{
    while (hasPendingWebSocketConnections()) {
        QWebSocket* socket = nextPendingWebSocketConnection().release();
        socket->setParent(this);
        socket->setMaxAllowedIncomingFrameSize(kMaxViewerMessage);
        socket->setMaxAllowedIncomingMessageSize(kMaxViewerMessage);
        // Upgrades were counted when they were let through; several at once can still
        // pass the last free place.
        if (ViewerCount() >= kMaxViewers) {
            socket->close(kCloseBusy, QStringLiteral("too many viewers"));
            connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        connect(socket, &QWebSocket::textMessageReceived, this, [this, socket] {
            if (Viewer* viewer = FindViewer(socket)) {
                viewer->m_waiting = false;
                Pump();
            }
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { RemoveViewer(socket); });
        m_viewers.push_back({socket, false, 0});
        Q_EMIT viewerCountChanged(ViewerCount());
    }
    Pump();
}

CLiveWebServer::Viewer* CLiveWebServer::FindViewer(QWebSocket* socket)
{
    const auto it = std::find_if(m_viewers.begin(), m_viewers.end(), [socket](const Viewer& v) { return v.m_socket == socket; });
    return it == m_viewers.end() ? nullptr : &*it;
}

void CLiveWebServer::RemoveViewer(QWebSocket* socket)
{
    const auto it = std::find_if(m_viewers.begin(), m_viewers.end(), [socket](const Viewer& v) { return v.m_socket == socket; });
    if (it == m_viewers.end())
        return;
    m_viewers.erase(it);
    socket->deleteLater();
    Q_EMIT viewerCountChanged(ViewerCount());
}

int CLiveWebServer::Refusal(const QHttpServerRequest& request, bool upgrade) const
{
    if (m_access.m_address.isLoopback() && !IsLoopbackHostHeader(request.value("host")))
        return 403;
    const QByteArray query = request.url().query(QUrl::FullyEncoded).toUtf8();
    if (!IsTokenAccepted(m_access.m_token, {query, request.value("cookie"), request.value("authorization")}))
        return 401;
    // Nothing is ever written through this server.
    const QHttpServerRequest::Method method = request.method();
    if (method != QHttpServerRequest::Method::Get && method != QHttpServerRequest::Method::Head)
        return 405;
    if (upgrade) {
        if (request.url().path() != QLatin1String("/live"))
            return 404;
        if (ViewerCount() >= kMaxViewers)
            return 503;
    }
    return 0;
}

bool CLiveWebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    // An upgrade goes on to the WebSocket server when this returns true without answering;
    // false makes the server call missingHandler, which must not answer twice.
    const bool upgrade = request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    if (const int status = Refusal(request, upgrade); status != 0) {
        std::vector<Header> extra;
        if (status == 401)
            extra.push_back({"WWW-Authenticate", "Bearer"});
        else if (status == 405)
            extra.push_back({"Allow", "GET, HEAD"});
        RespondStatus(makeResponder(request, socket), request, status, extra);
        m_upgradeAnswered = upgrade;
        return !upgrade;
    }
    if (upgrade)
        return true;

    const QString path = request.url().path();
    if (path == QLatin1String("/")) {
        std::vector<Header> extra = {
            {"Content-Security-Policy",
             "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src blob: data:; connect-src 'self'"}};
        // A token shown in the address is kept in our cookie, so the page's own requests carry it.
        if (request.query().hasQueryItem(QStringLiteral("token")) && !m_access.m_token.isEmpty())
            extra.push_back({"Set-Cookie", QByteArray(kTokenCookie) + '=' + m_access.m_token.toUtf8()
                                               + "; Path=/; HttpOnly; SameSite=Strict"});
        Respond(makeResponder(request, socket), request, 200, "text/html; charset=utf-8", PageBytes(), extra);
    } else if (path == QLatin1String("/frame.png")) {
        // PNG takes tens of milliseconds at display sizes: a picture that has not changed
        // is not encoded again for every poll.
        if (m_png.isEmpty() || m_pngRepaints != m_repaints) {
            const QImage image = m_grabber ? m_grabber() : QImage();
            m_png = image.isNull() ? QByteArray() : EncodePng(image);
            m_pngRepaints = m_repaints;
        }
        if (m_png.isEmpty())
            RespondStatus(makeResponder(request, socket), request, 503);
        else
            Respond(makeResponder(request, socket), request, 200, "image/png", m_png);
    } else if (path == QLatin1String("/status")) {
        Respond(makeResponder(request, socket), request, 200, "application/json", StatusJson());
    } else {
        RespondStatus(makeResponder(request, socket), request, 404);
    }
    return true;
}

void CLiveWebServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    if (std::exchange(m_upgradeAnswered, false))
        return;
    RespondStatus(makeResponder(request, socket), request, 404);
}

QByteArray CLiveWebServer::StatusJson() const
{
    const CLiveCounts counts = m_counts ? m_counts() : CLiveCounts();
    QJsonObject status;
    status.insert(QStringLiteral("linesReceived"), qint64(counts.m_linesReceived));
    status.insert(QStringLiteral("rowsStored"), qint64(counts.m_rowsStored));
    status.insert(QStringLiteral("connectedSources"), counts.m_connectedSources);
    status.insert(QStringLiteral("viewers"), ViewerCount());
    status.insert(QStringLiteral("framesSent"), qint64(m_framesSent));
    status.insert(QStringLiteral("discardedLines"), qint64(counts.m_discardedLines));
    return QJsonDocument(status).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray CLiveWebServer::EncodeLiveFrame(const QImage& image)
{
    return Encode(image, "jpeg", kJpegQuality);
}

QByteArray CLiveWebServer::EncodePng(const QImage& image)
{
    return Encode(image, "png", -1);
}
