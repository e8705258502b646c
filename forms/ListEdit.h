#pragma once

// The rules that every Add... / Edit... / Delete list of the dialogs shares.

#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

// Line to select after a list is refilled: the requested one clamped to the list, or -1
// when the list is empty (then Edit... and Delete are disabled).
inline int ClampSelection(int requested, int count)
{
    return count <= 0 ? -1 : std::clamp(requested, 0, count - 1);
}

// Delete: removes entry index; the selection stays at that index, clamped. An index
// outside the list removes nothing.
template <typename List>
int RemoveEntry(List& list, int index)
{
    const int count = static_cast<int>(list.size());
    if (index < 0 || index >= count)
        return ClampSelection(index, count);
    list.erase(list.begin() + index);
    return ClampSelection(index, count - 1);
}

// Add: appends the entry; the new last line is selected.
template <typename List, typename Entry>
int AppendEntry(List& list, Entry&& entry)
{
    list.push_back(std::forward<Entry>(entry));
    return static_cast<int>(list.size()) - 1;
}

// Lines to measure for a list's horizontal extent. Measuring text is slow (a table of a
// million FD lines would take many seconds), so beyond limit lines only those that are
// longest by a rough width estimate are measured: full-width characters count double and
// a tab as a whole tab stop.
std::vector<int> WidestLineCandidates(const QStringList& lines, int limit);
