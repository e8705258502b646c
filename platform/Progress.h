#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// Told how far a long operation got (done of total, in the operation's own units); returns
// false to stop it. An empty callback listens to nothing and never stops anything.
using ProgressCallback = std::function<bool(int64_t done, int64_t total)>;

// Calls a progress callback every step units and at the end only: a call per row would cost
// more than the row itself.
class CProgressTicker
{
public:
    CProgressTicker(ProgressCallback callback, int64_t total, int64_t step = 1024)
        : m_callback(std::move(callback)), m_total(total), m_step(step > 0 ? step : 1)
    {
    }

    // False once the callback asked to stop.
    bool Tick(int64_t done)
    {
        if (!m_callback || (done - m_last < m_step && done != m_total))
            return true;
        m_last = done;
        return m_callback(done, m_total);
    }

    // Asks regardless of the step (a phase whose units do not advance).
    bool Ask(int64_t done) const { return !m_callback || m_callback(done, m_total); }

private:
    ProgressCallback m_callback;
    int64_t m_total;
    int64_t m_step;
    int64_t m_last = 0;
};
