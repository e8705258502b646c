#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Encodes pictures on a thread of its own, one at a time, and hands each result back on the
// thread the encoder lives on, so that the thread serving the views (the UI thread in the
// desktop) only copies the picture.
class CFrameEncoder : public QObject
{
    Q_OBJECT
public:
    using Encode = std::function<QByteArray(const QImage&)>;

    explicit CFrameEncoder(Encode encode, QObject* parent = nullptr);
    // Waits for the picture in hand, if any; its result is dropped.
    ~CFrameEncoder() override;

    // Owner's thread: whether a picture is being encoded; Submit only when not.
    bool IsBusy() const { return m_busy; }
    void Submit(QImage image);

Q_SIGNALS:
    // The encoded picture and the encoding thread's CPU time for it.
    void encoded(const QByteArray& bytes, qint64 cpuNs);

private:
    void Run();
    void Deliver();

    const Encode m_encode;
    bool m_busy = false;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::optional<QImage> m_job;
    QByteArray m_result;
    int64_t m_resultNs = 0;
    bool m_stop = false;
    std::thread m_thread;
};
