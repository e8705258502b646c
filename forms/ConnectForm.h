#pragma once

// What the connection dialogs decide: the list's headers and cell texts, the connection that
// "追加..." appends, the edit dialog's fields and the checks and writes of its Apply, the
// button rule of its plot-ID list, and how the plot-ID picker reads its text.

#include "forms/EditPattern.h"
#include "model/Enums.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CConnectInfo;
class CPlotInfo;

// The edit dialog's and the picker's controls by number; a check that fails names the one to
// focus.
namespace ConnectEditControl {
constexpr int AddId = 1001;
constexpr int ChangeId = 1003;
constexpr int Id = 1004;
constexpr int DeleteId = 1005;
constexpr int Latest = 1006;
constexpr int Up = 1007;
constexpr int History = 1009;
constexpr int Down = 1011;
constexpr int Comment = 1052;
constexpr int LineStyle = 1054;
constexpr int ColorSwatch = 1055;
constexpr int ColorButton = 1056;
constexpr int LineWidth = 1057;
constexpr int Apply = 1058;
constexpr int Closed = 1106;
constexpr int PlotIds = 1107;
constexpr int PickerId = 1108;
} // namespace ConnectEditControl

// The fields of the edit dialog, as read.
struct CConnectEditValues
{
    int32_t id = 0;
    int32_t closed = 0;
    DisplayKind displayKind = DisplayKind::Latest;
    LineStyle style = LineStyle::Solid;
    int32_t width = 1;
    QString comment;

    bool operator==(const CConnectEditValues&) const = default;
};

using CConnectEditOutcome = CEditOutcome;

// The enabling of the plot-ID list's "変更...", "削除", "↑" and "↓".
struct CPlotIdButtons
{
    bool change = false;
    bool remove = false;
    bool up = false;
    bool down = false;
};

namespace ConnectForm {

// The five headers; the ideographic spaces widen the comment column.
QStringList Headers();
// The five cell texts of one connection, in column order.
QStringList RowTexts(const CConnectInfo& connect);
// "3, 5, 8"; empty for no IDs.
QString PlotIdsText(const std::vector<int32_t>& ids);

// One greater than the largest ID among the connections, 0 for none. When that would pass
// the int32 range, the smallest unused non-negative ID, so that the ID stays unique.
int32_t NextConnectId(const std::vector<CConnectInfo>& connects);
// "追加...": appends a copy of the selected connection (a default one when nothing valid is
// selected) with a new ID. Returns the new index.
int AddConnect(std::vector<CConnectInfo>& connects, int selectedIndex);

// The fields as the edit dialog loads them.
CConnectEditValues EditValuesOf(const CConnectInfo& connect);
// Apply and OK on the working connection at index: the duplicate-ID check against the other
// connections, then the write. A check that fails writes nothing.
CConnectEditOutcome ApplyConnectEdit(std::vector<CConnectInfo>& connects, int32_t index,
                                     const CConnectEditValues& values);

// The plot-ID list's lines, "%d" each.
QStringList PlotIdLines(const std::vector<int32_t>& ids);
// With selected = -1 for none.
CPlotIdButtons PlotIdButtonsFor(int selected, int count);

// The picker's choices: the IDs of the plots, "%d", in list order.
QStringList PlotIdChoices(const std::vector<CPlotInfo>& plots);
// The picker's text: an optional "-" followed by ASCII digits and nothing else; an empty text
// and a lone "-" are 0. A value outside the int32 range is refused like any other text.
bool ReadPlotId(const QString& text, int32_t& out);

inline const QString kPlotIdMessage = QStringLiteral("整数を入力してください.");
inline const QString kPlotIdTitle = QStringLiteral("IDチェック");

} // namespace ConnectForm
