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
        const int64_t count = GetCount();
        if (m_ring && newMax < m_maxCount && count <= newMax) {
            m_maxCount = newMax;
            if (count == newMax)
                m_next = 0;
            return;
        }
        // Oldest first for a full ring; a ring that is not full is already in order. Rotated
        // in place: the store may hold millions of rows.
        if (m_next > 0 && m_next < count)
            std::rotate(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(m_next), m_data.end());
        // Shrinking keeps the oldest; a ring that already held more than its capacity (its
        // settings were changed without touching the elements) keeps them when it grows.
        const bool shrink = m_ring ? newMax < m_maxCount : true;
        if (shrink && count > newMax) {
            m_data.erase(m_data.begin() + static_cast<std::ptrdiff_t>(std::max<int64_t>(newMax, 0)), m_data.end());
            m_next = 0;
        } else {
            m_next = count == newMax ? 0 : count;
        }
        m_ring = 1;
        m_maxCount = newMax;
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
            for (T& e : m_data)
                SerializeElement(ar, e);
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
        }
        loaded.m_ring = ar.ReadInt32();
        loaded.m_maxCount = ar.ReadInt64();
        loaded.m_next = ar.ReadInt64();
        // Every reachable state keeps the write position within 0 .. count; anything else
        // would index outside the store once the ring is full.
        if (loaded.m_next < 0 || loaded.m_next > loaded.GetCount())
            ar.Fail(QStringLiteral("write position %1 outside a store of %2 elements")
                        .arg(loaded.m_next)
                        .arg(loaded.GetCount()));
        *this = std::move(loaded);
    }

    std::vector<T> m_data;
    int32_t m_ring = 0;
    int64_t m_maxCount = 100;
    int64_t m_next = 0;

private:
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
        if (IsFull() && !m_data.empty()) {
            // m_next comes from a file too: never index outside the store
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
