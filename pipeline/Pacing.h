#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>

// How the workers pace themselves and how the UI thread waits for them.
//
// The workers poll with fixed pauses instead of waiting on events. Headless tools and
// benchmarks set every pause to zero (a pause of zero only yields) and run the same code.
struct CPacing
{
    int32_t afterLineUs = 5000;     // main worker, after each processed line
    int32_t idleUs = 10000;         // main worker, when the line queue is empty
    int32_t perReplayedRowUs = 3000; // main worker, after each replayed stored row
    int32_t perFeedItemUs = 3000;   // document worker, before each applied item
    int32_t feedIdleUs = 10000;     // document worker, when its queue is empty
    // Event-driven: idle workers wait until work arrives (or a stop) instead of polling,
    // and no pause follows a line or an item. The order of records and the hints the views
    // receive stay the same; only the waiting differs.
    bool m_waitForWork = false;

    static CPacing Default() { return {}; }
    static CPacing Unpaced() { return {0, 0, 0, 0, 0, false}; }
};

namespace vantrel_pacing_detail {
inline std::atomic<int32_t> g_afterLine{CPacing{}.afterLineUs};
inline std::atomic<int32_t> g_idle{CPacing{}.idleUs};
inline std::atomic<int32_t> g_replay{CPacing{}.perReplayedRowUs};
inline std::atomic<int32_t> g_feedItem{CPacing{}.perFeedItemUs};
inline std::atomic<int32_t> g_feedIdle{CPacing{}.feedIdleUs};
inline std::atomic<bool> g_waitForWork{CPacing{}.m_waitForWork};
// The UI thread's message pump; null when the waiting thread has no messages to serve.
inline std::atomic<void (*)()> g_pump{nullptr};
} // namespace vantrel_pacing_detail

// Process-wide; workers read it when they start, so change it only between runs.
inline void SetPacing(const CPacing& p)
{
    using namespace vantrel_pacing_detail;
    g_afterLine = p.afterLineUs;
    g_idle = p.idleUs;
    g_replay = p.perReplayedRowUs;
    g_feedItem = p.perFeedItemUs;
    g_feedIdle = p.feedIdleUs;
    g_waitForWork = p.m_waitForWork;
}

inline CPacing GetPacing()
{
    using namespace vantrel_pacing_detail;
    return {g_afterLine, g_idle, g_replay, g_feedItem, g_feedIdle, g_waitForWork};
}

inline void PauseUs(int32_t us)
{
    if (us <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

// Document workers block in a synchronous notification to the UI thread, so a UI thread
// that waits for a worker must keep serving its messages. The desktop shell installs its
// event processing here; tests install their own loop.
using MessagePump = void (*)();
inline void SetMessagePump(MessagePump pump) { vantrel_pacing_detail::g_pump = pump; }
inline MessagePump GetMessagePump() { return vantrel_pacing_detail::g_pump.load(); }

// Waits until done() holds, running the message pump between checks.
template <typename Done>
void WaitPumping(Done&& done)
{
    while (!done()) {
        if (MessagePump pump = vantrel_pacing_detail::g_pump.load())
            pump();
        if (done())
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// Ends a worker that may be blocked in a call to this thread: serves the messages until
// done() holds, then joins (which no longer blocks) and drops the thread object.
template <typename Done>
void JoinPumping(std::unique_ptr<std::thread>& thread, Done&& done)
{
    WaitPumping(std::forward<Done>(done));
    thread->join();
    thread.reset();
}
