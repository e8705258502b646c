#pragma once

#include "platform/Archive.h"

#include <QString>

#include <cstdint>
#include <vector>

class CDocData;

// Smallest stored size of each design class (empty strings and lists), for checking a
// count against the bytes left before anything is allocated.
constexpr int64_t kMinTextInfoBytes = 147;
constexpr int64_t kMinAxisInfoBytes = 372;
constexpr int64_t kMinPlotInfoBytes = 105;
constexpr int64_t kMinConnectInfoBytes = 37;
constexpr int64_t kMinBarInfoBytes = 425;
constexpr int64_t kMinViewInfoBytes = 16;

// Writes a list's element count as the files hold it: a uint32 before the elements.
void WriteListCount(CArchive& ar, size_t count);

// Counted lists: loading builds the new list aside and replaces the old one only when every
// element was read, so a damaged file throws with the list unchanged.
void SerializeStringList(CArchive& ar, std::vector<QString>& list);
void SerializeIdList(CArchive& ar, std::vector<int32_t>& list);

template <typename T>
void SerializeObjectList(CArchive& ar, std::vector<T>& list, int64_t minElementBytes)
{
    if (ar.IsStoring()) {
        WriteListCount(ar, list.size());
        for (T& e : list)
            e.Serialize(ar);
        return;
    }
    const int32_t count = ar.ReadCount(minElementBytes);
    std::vector<T> loaded;
    loaded.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        T e;
        e.Serialize(ar);
        loaded.push_back(std::move(e));
    }
    list = std::move(loaded);
}

// The data prefix filter of plots and bars: with target prefixes a record must start with
// one of them (the ignore list is then not consulted); otherwise it must not start with an
// ignored one. The first FD is compared before any FD number conversion.
bool AcceptsRecord(const std::vector<QString>& includePrefixes,
                   const std::vector<QString>& ignorePrefixes, const CDocData& record);
