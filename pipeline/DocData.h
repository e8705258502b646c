#pragma once

#include "pipeline/FieldRow.h"

#include <cstdint>
#include <utility>

class CFDInfos;

// Update hints of records and views; the same numbers travel to the views.
enum UpdateHint : int32_t {
    UpdateHintNone = 0,
    Apply = 1,
    ResetAndApply = 2,
    UpdateHint3 = 3,
    UpdateHint4 = 4,
    ApplyAndRepaint = 5,
    UpdateHint6 = 6,
};

// The record queued to a document.
class CDocData
{
public:
    CDocData() = default;
    CDocData(int32_t type, int32_t row, FieldRow fields, const CFDInfos* fdInfos)
        : m_type(type), m_row(row), m_fields(std::move(fields)), m_pFDInfos(fdInfos) {}
    CDocData(const CDocData&) = default;
    CDocData(CDocData&&) noexcept = default;
    CDocData& operator=(const CDocData&) = default;
    CDocData& operator=(CDocData&&) noexcept = default;
    virtual ~CDocData() = default;

    int32_t m_type = Apply;
    int32_t m_row = -1;
    FieldRow m_fields;
    const CFDInfos* m_pFDInfos = nullptr;
};
