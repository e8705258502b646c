#pragma once

// What the bar list dialog shows and decides: its column headers, the cell texts of a bar,
// and the bar that "追加..." appends.

#include "platform/UserInteraction.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CBarInfo;

namespace BarListForm {

// The nine headers; the ideographic spaces widen their columns.
QStringList Headers();
// The nine cell texts of one bar, in column order.
QStringList RowTexts(const CBarInfo& bar);

// With s = max + min of the red, green and blue components, each component c becomes s - c.
COLORREF ComplementaryColor(COLORREF color);

// "追加...": appends a copy of the selected bar (a default bar when nothing valid is
// selected) with a new ID, pixel width 6 and the complementary colour, at the same position.
// Returns the new index.
int AddBar(std::vector<CBarInfo>& bars, int selectedIndex);

} // namespace BarListForm
