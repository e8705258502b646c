#pragma once

#include <cstdint>

class CArchive;

// Normal-position rectangle of a view's frame window; an empty rectangle stores no placement.
class CViewInfo
{
public:
    CViewInfo() = default;
    CViewInfo(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : m_left(left), m_top(top), m_right(right), m_bottom(bottom) {}
    CViewInfo(const CViewInfo&) = default;
    CViewInfo& operator=(const CViewInfo&) = default;
    virtual ~CViewInfo() = default;

    // Four int32, 16 bytes.
    virtual void Serialize(CArchive& ar);

    bool IsEmpty() const { return m_right <= m_left || m_bottom <= m_top; }
    bool operator==(const CViewInfo& other) const
    {
        return m_left == other.m_left && m_top == other.m_top && m_right == other.m_right
            && m_bottom == other.m_bottom;
    }

    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_right = 0;
    int32_t m_bottom = 0;
};
