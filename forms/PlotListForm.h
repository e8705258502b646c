#pragma once

// What the plot list dialog shows and decides: its column headers, the cell texts of a plot,
// the plot that "追加..." appends, and the origin chain check of its OK.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CAxisInfo;
class CPlotInfo;

namespace PlotListForm {

// The twelve headers; the ideographic spaces widen their columns.
QStringList Headers();
// The twelve cell texts of one plot, in column order.
QStringList RowTexts(const CPlotInfo& plot);

// "FD番号%d,論理値%gから%g".
QString AxisBasicText(const CAxisInfo& axis);
// The logical-kind part of the axis summary ("数値(*%g+%g)", "日時", "入力数", or empty);
// the bar list shows it alone.
QString AxisLogicalText(const CAxisInfo& axis);
// Logical kind, value kind, automatic range, latest rows and logarithmic scale, in that order.
QString AxisOtherText(const CAxisInfo& axis);
// "固定", or the variable size with its FD, base and step values and value kind.
QString SizeText(const CPlotInfo& plot);

// "追加...": appends a copy of the selected plot (a default plot when nothing valid is
// selected) with a new ID, both axes moved by +50, and its origin computed; two axes that do
// not cross get a fixed right-angled geometry at axis 1's start. Returns the new index.
int AddPlot(std::vector<CPlotInfo>& plots, int selectedIndex);
// One greater than the largest ID among the plots, 0 for none. When that would pass the
// int32 range, the smallest unused non-negative ID, so that the ID stays unique.
int32_t NextPlotId(const std::vector<CPlotInfo>& plots);

// The first plot, in list order, whose origin chain fails; -1 when every chain passes.
int FirstFailingOriginChain(const std::vector<CPlotInfo>& plots);
// The message of a failing chain, naming the plot's ID; shown titled kCheckTitle.
QString OriginChainMessage(int32_t id);
inline const QString kCheckTitle = QStringLiteral("入力チェック");

} // namespace PlotListForm
