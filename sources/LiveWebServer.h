#pragma once

#include "sources/FrameEncoder.h"
#include "sources/WebAccess.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class CGatedTcpServer;
class QWebSocket;

// What the status page reports of the pipeline and its sources.
struct CLiveCounts
{
    int64_t m_linesReceived = 0;
    int64_t m_rowsStored = 0;
    int64_t m_discardedLines = 0;
    int32_t m_connectedSources = 0;
};

// A read-only web view of one display: a page, the current picture as PNG, a WebSocket that
// pushes each new picture, and a status in JSON. Lives on the thread whose event loop serves
// it; only NotifyRepaint may be called from another thread.
//
// A viewer gets the next picture only after it has said it took the previous one, so a slow
// viewer gets fewer pictures and the server never queues them.
class CLiveWebServer : public QAbstractHttpServer
{
    Q_OBJECT
public:
    static constexpr int32_t kMaxViewers = 64;
    static constexpr int32_t kDefaultFramesPerSecond = 10;
    static constexpr int32_t kJpegQuality = 85;

    // Returns a copy of what the view shows now; a null image when it shows nothing.
    using FrameGrabber = std::function<QImage()>;
    using CountsSource = std::function<CLiveCounts()>;

    CLiveWebServer(FrameGrabber grabber, CountsSource counts, QObject* parent = nullptr);
    ~CLiveWebServer() override;

    // Once per server. False with the reason when the access is not allowed or the address
    // cannot be listened on.
    bool Start(const CWebAccess& access, QString* error);
    const CWebAccess& Access() const { return m_access; }
    // The port listened on (the one the system chose for port 0).
    quint16 Port() const;

    void SetFramesPerSecond(int32_t fps);
    // Any thread: the view shows something new.
    void NotifyRepaint();

    int32_t ViewerCount() const { return int32_t(m_viewers.size()); }
    int64_t FramesSent() const { return m_framesSent; }
    // Encoded pictures since the start; the time this thread spent copying them from the
    // view, and the encoding thread's CPU time.
    int64_t FramesEncoded() const { return m_framesEncoded; }
    int64_t GrabNanoseconds() const { return m_grabNs; }
    int64_t EncodeNanoseconds() const { return m_encodeNs; }

    // The picture the WebSocket sends: JPEG, several times smaller and faster to encode than
    // PNG for a picture-backed display.
    static QByteArray EncodeLiveFrame(const QImage& image);
    static QByteArray EncodePng(const QImage& image);

Q_SIGNALS:
    void viewerCountChanged(int count);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Viewer
    {
        QWebSocket* m_socket = nullptr;
        bool m_waiting = false;    // sent a picture it has not confirmed yet
        int64_t m_lastSerial = 0;  // the picture it was sent last
    };

    // The status a request is refused with, or 0.
    int Refusal(const QHttpServerRequest& request, bool upgrade) const;
    void OnNewWebSocket();
    void RemoveViewer(QWebSocket* socket);
    Viewer* FindViewer(QWebSocket* socket);
    void OnRepaint();
    // Has a new picture encoded when the view changed, a viewer is ready and the rate allows,
    // then sends the newest one to every viewer that is ready for it.
    void Pump();
    void OnEncoded(const QByteArray& frame, qint64 cpuNs);
    void SendNewest();
    QByteArray StatusJson() const;

    FrameGrabber m_grabber;
    CountsSource m_counts;
    CFrameEncoder m_encoder{&CLiveWebServer::EncodeLiveFrame};
    CWebAccess m_access;
    CGatedTcpServer* m_listener = nullptr;
    std::vector<Viewer> m_viewers;
    std::atomic<bool> m_repaintQueued{false};
    bool m_dirty = true;
    QByteArray m_frame;
    int64_t m_frameSerial = 0;
    int32_t m_minIntervalMs = 1000 / kDefaultFramesPerSecond;
    QElapsedTimer m_clock;
    qint64 m_nextFrameMs = std::numeric_limits<qint64>::min() / 2; // when the next picture may be made
    QTimer m_rateTimer;
    int64_t m_framesSent = 0;
    int64_t m_framesEncoded = 0;
    int64_t m_encodeNs = 0;
    int64_t m_grabNs = 0;
    bool m_upgradeAnswered = false;
    int64_t m_repaints = 0;
    QByteArray m_png;
    int64_t m_pngRepaints = -1;
};
