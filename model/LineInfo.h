#pragma once

#include "model/Enums.h"
#include "platform/UserInteraction.h"

#include <cstdint>

class CArchive;

// Attributes of one kind of line: history polylines, bars, connection lines, axis lines,
// ticks and sub-ticks.
class CLineInfo
{
public:
    CLineInfo() = default;
    CLineInfo(int32_t width, int32_t length) : m_width(width), m_length(length) {}
    CLineInfo(const CLineInfo&) = default;
    CLineInfo& operator=(const CLineInfo&) = default;
    CLineInfo(CLineInfo&&) noexcept = default;
    CLineInfo& operator=(CLineInfo&&) noexcept = default;
    virtual ~CLineInfo() = default;

    // Five int32 in declaration order, 20 bytes.
    virtual void Serialize(CArchive& ar);

    bool operator==(const CLineInfo&) const = default;

    int32_t m_show = 0;
    LineStyle m_style = LineStyle::Solid;
    COLORREF m_color = 0;
    int32_t m_width = 1;  // pixels
    int32_t m_length = 0; // pixels; ticks and sub-ticks only
};
