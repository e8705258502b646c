#pragma once

#include "pipeline/FieldRow.h"
#include "platform/Archive.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

// Archive forms of the element kinds a CBuffer holds.
void SerializeElement(CArchive& ar, FieldRow& row); // int32 FD count, then archive strings
inline void SerializeElement(CArchive& ar, double& v) { ar.Exchange(v); }
inline void SerializeElement(CArchive& ar, QString& v) { ar.Exchange(v); }
// Smallest archive form of one element, for count checks before allocation.
template <typename T> constexpr int64_t MinElementBytes();
template <> constexpr int64_t MinElementBytes<FieldRow>() { return 4; }
template <> constexpr int64_t MinElementBytes<double>() { return 8; }
template <> constexpr int64_t MinElementBytes<QString>() { return 1; }

// Store with an optional ring mode. Logical index 0 is the oldest element.
template <typename T>
class CBuffer
{
public:
    CBuffer() = default;
    CBuffer(const CBuffer&) = default;
    CBuffer(CBuffer&&) noexcept = default;
    CBuffer& operator=(const CBuffer&) = default;
    CBuffer& operator=(CBuffer&&) noexcept = default;
    virtual ~CBuffer() = default;

    int64_t GetCount() const { return static_cast<int64_t>(m_data.size()); }
    bool IsFull() const { return GetCount() == m_maxCount; }

    const T& GetAt(int64_t i) const
    {
        Q_ASSERT(i >= 0 && i < GetCount());
        return m_data[static_cast<size_t>(PhysicalIndex(i))];
    }

    void Add(const T& value) { AddImpl(value); }
    void Add(T&& value) { AddImpl(std::move(value)); }

    void RemoveAll()
    {
        m_data.clear();
        m_next = 0;
    }

    void SetRing(bool enable, int64_t newMax)
    {
        if (!enable)
            return; // leaving ring mode while keeping elements is not possible
        MakeConsistent(); // the rules below hold for consistent stores only
        const int64_t count = GetCount();
        if (m_ring && newMax < m_maxCount && count <= newMax) {
            m_maxCount = newMax;
            if (count == newMax)
                m_next = 0;
            return;
        }
        Unwrap();
        // Shrinking keeps the oldest.
        if (count > newMax)
            m_data.erase(m_data.begin() + static_cast<std::ptrdiff_t>(std::max<int64_t>(newMax, 0)), m_data.end());
        m_ring = 1;
        m_maxCount = newMax;
        Settle();
    }

    // Takes new ring settings as they are, without the rules of SetRing: the elements keep
    // their logical order, and a ring keeps only the newest that its capacity holds, as if
    // they had been added under the new settings.
    void StoreRingSettings(bool ring, int64_t maxCount)
    {
        Unwrap();
        m_ring = ring ? 1 : 0;
        m_maxCount = maxCount;
        Settle();
    }

    // Whether the ring invariants hold: a ring that is not full holds its elements in
    // arrival order with the write position at their count; a full one has the position of
    // its oldest element; outside ring mode the position stays 0.
    bool IsConsistent() const
    {
        const int64_t count = GetCount();
        if (!m_ring)
            return m_next == 0;
        if (count < m_maxCount)
            return m_next == count;
        return count == m_maxCount && m_next >= 0 && m_next < count;
    }

    // Brings a store whose settings were changed behind its back (an older state file) into
    // the consistent form: oldest first from the write position, then as StoreRingSettings.
    void MakeConsistent()
    {
        if (!IsConsistent())
            StoreRingSettings(m_ring != 0, m_maxCount);
    }

    // Element count, elements in physical order, ring flag, capacity, write position.
    // A failed load leaves the store as it was and rethrows: a damaged state file must not
    // destroy the recorded data.
    virtual void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            if (m_data.size() > static_cast<size_t>(INT32_MAX))
                throw std::length_error("store too large for an archive");
            ar.WriteInt32(static_cast<int32_t>(m_data.size()));
            const int64_t total = GetCount();
            int64_t done = 0;
            for (T& e : m_data) {
                SerializeElement(ar, e);
                if ((++done & (kProgressStep - 1)) == 0 && ar.HasProgress())
                    ar.Progress(done, total);
            }
            if (ar.HasProgress())
                ar.Progress(total, total);
            ar.WriteInt32(m_ring);
            ar.WriteInt64(m_maxCount);
            ar.WriteInt64(m_next);
            return;
        }
        CBuffer loaded;
        const int32_t count = ar.ReadCount(MinElementBytes<T>());
        // Grow with what is actually read: a count that fits the bytes left may still
        // promise far more elements than memory would take at once.
        loaded.m_data.reserve(static_cast<size_t>(std::min<int32_t>(count, 1 << 16)));
        for (int32_t i = 0; i < count; ++i) {
            T e{};
            SerializeElement(ar, e);
            loaded.m_data.push_back(std::move(e));
            if (((i + 1) & (kProgressStep - 1)) == 0 && ar.HasProgress())
                ar.Progress(i + 1, count);
        }
        if (ar.HasProgress())
            ar.Progress(count, count);
        loaded.m_ring = ar.ReadInt32();
        loaded.m_maxCount = ar.ReadInt64();
        loaded.m_next = ar.ReadInt64();
        // Files written after the ring settings were changed without touching the elements
        // hold more elements than the capacity or a write position that does not fit; they
        // are read into the consistent form rather than refused.
        loaded.MakeConsistent();
        *this = std::move(loaded);
    }

    std::vector<T> m_data;
    int32_t m_ring = 0;
    int64_t m_maxCount = 100;
    int64_t m_next = 0;

private:
    // Elements between two progress reports; a power of two.
    static constexpr int64_t kProgressStep = 1024;

    // Elements into logical order: from the write position to the end, then those before it
    // (for a full ring the oldest first; a position outside the elements means physical
    // order). The position becomes 0.
    void Unwrap()
    {
        const int64_t count = GetCount();
        // Rotated in place: the store may hold millions of rows.
        if (m_next > 0 && m_next < count)
            std::rotate(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(m_next), m_data.end());
        m_next = 0;
    }

    // After Unwrap: a ring drops its oldest elements beyond the capacity and takes the write
    // position the invariants give.
    void Settle()
    {
        if (!m_ring)
            return;
        const int64_t keep = std::max<int64_t>(m_maxCount, 0);
        if (GetCount() > keep)
            m_data.erase(m_data.begin(), m_data.end() - static_cast<std::ptrdiff_t>(keep));
        m_next = GetCount() == m_maxCount ? 0 : GetCount();
    }

    int64_t PhysicalIndex(int64_t i) const
    {
        if (m_ring && IsFull()) {
            const int64_t p = i + m_next;
            return p >= m_maxCount ? p - m_maxCount : p;
        }
        return i;
    }

    template <typename V>
    void AddImpl(V&& value)
    {
        if (!m_ring) {
            m_data.push_back(std::forward<V>(value));
            return;
        }
        if (m_maxCount < 1)
            return; // a ring without room keeps nothing
        if (IsFull()) {
            // Loading and SetRing keep the position inside a full ring; this guards the
            // members written directly.
            if (m_next < 0 || m_next >= GetCount())
                m_next = 0;
            m_data[static_cast<size_t>(m_next)] = std::forward<V>(value);
        } else {
            m_data.push_back(std::forward<V>(value));
        }
        if (++m_next >= m_maxCount)
            m_next = 0;
    }
};
