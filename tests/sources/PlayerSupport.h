#pragma once

// A pipeline whose documents record what reaches their views, and a log of a player's
// progress received on this thread, for the player tests with and without windows.

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "runtime/Main.h"
#include "tests/runtime/RunSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>

#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

struct CSeenRecord
{
    int32_t hint;
    int32_t row;
    QString text; // the FDs joined with commas
    int32_t firstAfterReset;
    bool operator==(const CSeenRecord&) const = default;
};
inline void PrintTo(const CSeenRecord& r, std::ostream* os)
{
    *os << "{" << r.hint << ", " << r.row << ", " << r.text.toStdString() << ", " << r.firstAfterReset << "}";
}

// Records on the document worker itself: no UI thread has to serve it.
class CListNotifier : public IDocumentNotifier
{
public:
    void OnDocData(CVantrelDoc& doc, const CDocData& item) override
    {
        std::lock_guard lock(m_lock);
        m_seen.push_back({item.m_type, item.m_row, item.m_fields.toStringList().join(QLatin1Char(',')),
                          doc.m_firstAfterReset});
    }
    std::vector<CSeenRecord> Seen() const
    {
        std::lock_guard lock(m_lock);
        return m_seen;
    }
    QStringList Texts() const
    {
        QStringList out;
        for (const CSeenRecord& r : Seen())
            out.append(r.text);
        return out;
    }

private:
    mutable std::mutex m_lock;
    std::vector<CSeenRecord> m_seen;
};

// Serves queued signals until done() holds; false when time ran out.
template <typename Done>
bool ServeUntil(Done&& done, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct CProgressEntry
{
    int kind; // a CCsvFilePlayer::Progress, or 1 and 0 for the end of a replay batch or not
    qint64 count;
    quint64 batch;
    bool operator==(const CProgressEntry&) const = default;
};
inline void PrintTo(const CProgressEntry& e, std::ostream* os)
{
    *os << "{" << e.kind << ", " << e.count << ", " << e.batch << "}";
}

class CProgressLog : public QObject
{
public:
    std::vector<CProgressEntry> m_entries;
    bool Has(int kind, quint64 batch) const
    {
        for (const CProgressEntry& e : m_entries) {
            if (e.kind == kind && e.batch == batch)
                return true;
        }
        return false;
    }
    // Connects a player's progress(kind-ish, count, batch) queued, as a window would.
    template <typename Player, typename First>
    void Listen(Player* player, void (Player::*signal)(First, qint64, quint64))
    {
        QObject::connect(
            player, signal, this,
            [this](First kind, qint64 count, quint64 batch) { m_entries.push_back({int(kind), count, batch}); },
            Qt::QueuedConnection);
    }
};

class CPlayerRig
{
public:
    CPlayerRig() { m_main.m_pApp = &m_host; }

    CListNotifier& AddDocument(int templateIndex = 0)
    {
        m_notifiers.push_back(std::make_unique<CListNotifier>());
        m_host.AddDocument(templateIndex).m_notifier = m_notifiers.back().get();
        return *m_notifiers.back();
    }
    // Rows "r1", "r2", ...
    void Store(int rows)
    {
        for (int r = 1; r <= rows; ++r)
            m_main.m_internalData.Add(FieldRow{QStringLiteral("r%1").arg(r)});
    }

    std::vector<std::unique_ptr<CListNotifier>> m_notifiers;
    CFakeHost m_host;
    CMain m_main;
};
