#pragma once

#include "pipeline/FieldRow.h"
#include "platform/Archive.h"

#include <QString>

#include <cstdint>
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

    const T& GetAt(int64_t i) const { return m_data[static_cast<size_t>(PhysicalIndex(i))]; }

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
        std::vector<T> r = Rotated();
        if (static_cast<int64_t>(r.size()) > newMax) {
            r.resize(static_cast<size_t>(std::max<int64_t>(newMax, 0)));
            m_next = 0;
        } else {
            m_next = static_cast<int64_t>(r.size()) == newMax ? 0 : static_cast<int64_t>(r.size());
        }
        m_data = std::move(r);
        m_ring = 1;
        m_maxCount = newMax;
    }

    // Element count, elements in physical order, ring flag, capacity, write position.
    // A failed load leaves the store as it was and rethrows.
    virtual void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
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
        loaded.m_data.resize(static_cast<size_t>(count));
        for (T& e : loaded.m_data)
            SerializeElement(ar, e);
        loaded.m_ring = ar.ReadInt32();
        loaded.m_maxCount = ar.ReadInt64();
        loaded.m_next = ar.ReadInt64();
        if (loaded.m_next < 0 || (loaded.m_ring && loaded.IsFull() && loaded.m_next >= loaded.GetCount() && loaded.GetCount() > 0))
            ar.Fail(QStringLiteral("impossible write position"));
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

    std::vector<T> Rotated() const
    {
        std::vector<T> r;
        r.reserve(m_data.size());
        const size_t start = m_next > 0 && m_next < GetCount() ? static_cast<size_t>(m_next) : 0;
        r.insert(r.end(), m_data.begin() + static_cast<std::ptrdiff_t>(start), m_data.end());
        r.insert(r.end(), m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(start));
        return r;
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
