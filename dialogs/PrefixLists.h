#pragma once

#include "dialogs/DialogParts.h"

#include <QString>

#include <functional>
#include <vector>

class IUserInteraction;

// The target and ignore prefix lists of a plot or bar. "Add...", "Edit..." and "Delete" edit
// the strings in the string dialog, and every change goes into the entry's list at once.

// The list being edited, fetched afresh for every action (null: nothing to edit).
using PrefixSource = std::function<std::vector<QString>*()>;

// Shows the strings and selects the requested line, clamped.
void FillPrefixList(CListWithButtons* list, const PrefixSource& strings, int requested);
// Wires the three buttons. "Add..." starts with the selected string when
// addStartsWithSelection is set (the ignore list), with an empty one otherwise.
void WirePrefixList(CListWithButtons* list, IUserInteraction& ui, DialogRunner run, PrefixSource strings,
                    bool addStartsWithSelection);
