#include "sources/FrameEncoder.h"

#include <ctime>

namespace {

int64_t ThreadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

CFrameEncoder::CFrameEncoder(Encode encode, QObject* parent)
    : QObject(parent), m_encode(std::move(encode)), m_thread([this] { Run(); })
{
}

CFrameEncoder::~CFrameEncoder()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CFrameEncoder::Submit(QImage image)
{
    m_busy = true;
    {
        std::lock_guard lock(m_lock);
        m_job = std::move(image);
    }
    m_wake.notify_all();
}

void CFrameEncoder::Run()
{
    for (;;) {
        QImage image;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stop || m_job; });
            if (m_stop)
                return;
            image = std::move(*m_job);
            m_job.reset();
        }
        const int64_t start = ThreadCpuNs();
        QByteArray bytes = m_encode(image);
        const int64_t cpu = ThreadCpuNs() - start;
        {
            std::lock_guard lock(m_lock);
            m_result = std::move(bytes);
            m_resultNs = cpu;
        }
        // The result is read under the lock on the owner's thread, not carried by the event.
        QMetaObject::invokeMethod(this, &CFrameEncoder::Deliver, Qt::QueuedConnection);
    }
}

void CFrameEncoder::Deliver()
{
    QByteArray bytes;
    int64_t cpu = 0;
    {
        std::lock_guard lock(m_lock);
        bytes = std::move(m_result);
        m_result.clear();
        cpu = m_resultNs;
    }
    m_busy = false;
    Q_EMIT encoded(bytes, cpu);
}
