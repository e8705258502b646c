#pragma once

// The text display list of the plot and bar other-settings dialogs: its headers and the
// cell texts of one display.

#include "platform/UserInteraction.h"

#include <QString>
#include <QStringList>

#include <optional>

class CTextInfo;

namespace TextListForm {

constexpr int kColumnCount = 13;
// Cells shown as a patch of colour rather than text.
constexpr int kTextColorColumn = 5;
constexpr int kBackColorColumn = 6;

QStringList Headers();
// One text per column, in column order.
QStringList CellTexts(const CTextInfo& text);
// The colour a colour column is painted in; none for the other columns.
std::optional<COLORREF> CellColor(const CTextInfo& text, int column);

} // namespace TextListForm
