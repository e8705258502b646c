#pragma once

// The editing pattern that the plot, connection and bar lists share: a working copy of the
// committed list, a modal list dialog over it, and for plots and bars a modeless edit dialog
// that the list dialog hands over to.

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>
#include <utility>
#include <vector>

class CVantrelDoc;

enum class DesignKind { Plot, Connect, Bar };

// How a list dialog ends.
namespace ListResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Add = 10;
constexpr int Change = 11;
} // namespace ListResult

// The views' update hints that the dialogs send.
namespace EditHint {
constexpr int32_t ListOpenedOrDeleted = 1;
constexpr int32_t ListEmpty = 3;
constexpr int32_t SelectedOrApplied = 4;
constexpr int32_t EditOpenedOrListClosed = 5;
} // namespace EditHint

using HintSink = std::function<void(int32_t)>;

struct CEditModes
{
    int32_t list;
    int32_t add;
    int32_t change;
};
CEditModes EditModesOf(DesignKind kind);
// The kind whose add or change mode the document is in, if any.
bool EditedKind(int32_t editMode, DesignKind& kind);

// The list command up to its dialog: a fresh working copy unless the list reopens after an
// edit dialog of the same kind, then the list mode and hint 1.
void BeginListCommand(CVantrelDoc& doc, DesignKind kind, const HintSink& hint);
// The list command after its dialog. Returns true when an edit dialog is to open: the mode is
// then add or change and the working list stays; the caller creates the dialog and sends
// hint 5. Otherwise OK commits (marks the document modified and empties its file path),
// anything else throws the working list away; the mode returns to None with hint 5.
bool EndListCommand(CVantrelDoc& doc, DesignKind kind, int result, const HintSink& hint);

// Refilling a list dialog: the row to select (the requested one when it lies in the list,
// the last row otherwise, -1 for an empty list).
int RowToSelect(int requested, int count);

struct CMoveButtons
{
    bool up = false;
    bool down = false;
};
// The enabling of "↑" and "↓" when row becomes selected in a list of count rows.
CMoveButtons MoveButtonsFor(int row, int count);

// "↑" (delta -1) and "↓" (delta +1): exchanges row with its neighbour and returns the row to
// select afterwards, or -1 when nothing moved (no row, or the first or last row).
template <typename T>
int MoveListEntry(std::vector<T>& list, int row, int delta)
{
    const int count = static_cast<int>(list.size());
    const int target = row + delta;
    if (row < 0 || row >= count || target < 0 || target >= count)
        return -1;
    std::swap(list[size_t(row)], list[size_t(target)]);
    return target;
}

// The entry at index, or null when index lies outside the list (-1: nothing selected).
template <typename T>
T* SelectedEntry(std::vector<T>& list, int32_t index)
{
    if (index < 0 || size_t(index) >= list.size())
        return nullptr;
    return &list[size_t(index)];
}

// Cancel of an edit dialog: the saved copy goes back over a changed entry; an added entry is
// removed and nothing stays selected.
template <typename T>
void CancelEntryEdit(std::vector<T>& list, int32_t& selectedIndex, bool added, const T& saved)
{
    if (!SelectedEntry(list, selectedIndex))
        return;
    if (added) {
        list.erase(list.begin() + selectedIndex);
        selectedIndex = -1;
    } else {
        list[size_t(selectedIndex)] = saved;
    }
}

// The ID that "追加..." gives a new entry: one greater than the largest ID in the list, 0 for
// an empty list. When the largest is already the int32 maximum, the smallest unused
// non-negative ID, so that IDs stay unique.
template <typename T>
int32_t NextEntryId(const std::vector<T>& list)
{
    if (list.empty())
        return 0;
    const auto highest = std::max_element(list.begin(), list.end(), [](const T& a, const T& b) { return a.m_id < b.m_id; });
    if (highest->m_id < std::numeric_limits<int32_t>::max())
        return highest->m_id + 1;
    std::set<int32_t> used;
    for (const T& entry : list)
        used.insert(entry.m_id);
    int32_t id = 0;
    while (used.count(id))
        ++id;
    return id;
}

// How Apply of an edit dialog ended: ok, or the message to show with its title and the
// control to focus.
struct CEditOutcome
{
    bool ok = false;
    QString message;
    QString title;
    int focus = 0;
};

// Apply's ID check: refused, focusing the ID field, when an entry other than the one at index
// already has the ID.
template <typename T>
CEditOutcome CheckUniqueId(const std::vector<T>& list, int32_t index, int32_t id, int idControl)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (i != size_t(index) && list[i].m_id == id)
            return {false, QStringLiteral("IDが重複しています."), QStringLiteral("ID重複チェック"), idControl};
    }
    return {true, {}, {}, 0};
}

// A prefix list as a list cell: each string in double quotes, joined by commas.
QString QuotedList(const std::vector<QString>& strings);
