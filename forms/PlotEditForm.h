#pragma once

// What the plot edit dialog decides: the values its fields hold, and the checks and writes of
// Apply on the working plot.

#include "forms/EditPattern.h"
#include "model/Enums.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class CAxisInfo;
class CPlotInfo;

// The dialog's controls by number; the views fill some of them by these numbers, and a check
// that fails names the one to focus.
namespace PlotEditControl {
constexpr int Id = 1004;
constexpr int Latest = 1006;
constexpr int History = 1009;
constexpr int Size = 1015;
constexpr int Shape = 1018;
constexpr int ColorButton = 1019;
constexpr int ColorSwatch = 1020;
constexpr int Fixed = 1029;
constexpr int Moving = 1030;
constexpr int OriginPlotId = 1031;
constexpr int Axis1FdNo = 1033;
constexpr int Axis2Enabled = 1037;
constexpr int Axis2FdNo = 1041;
constexpr int Fill = 1046;
constexpr int Comment = 1052;
constexpr int LineWidth = 1057;
constexpr int Apply = 1058;
constexpr int Others = 1064;
constexpr int Axis1Others = 1067;
constexpr int Axis2Others = 1070;
constexpr int AxisCopyMove = 1073;
constexpr int Axis1StartX = 1138;
constexpr int Axis1StartY = 1139;
constexpr int Axis1StartValue = 1140;
constexpr int Axis1EndX = 1141;
constexpr int Axis1EndY = 1144;
constexpr int Axis1EndValue = 1146;
constexpr int Axis2StartX = 1148;
constexpr int Axis2StartY = 1150;
constexpr int Axis2StartValue = 1152;
constexpr int Axis2EndX = 1154;
constexpr int Axis2EndY = 1156;
constexpr int Axis2EndValue = 1158;
} // namespace PlotEditControl

struct CPlotEditAxisValues
{
    int32_t fdNo = 0;
    double startX = 0;
    double startY = 0;
    double startValue = 0;
    double endX = 0;
    double endY = 0;
    double endValue = 0;

    bool operator==(const CPlotEditAxisValues&) const = default;
};

// One axis's fields as loaded from the axis, and written back into it.
CPlotEditAxisValues PlotEditAxisValuesOf(const CAxisInfo& axis);
void WritePlotEditAxis(CAxisInfo& axis, const CPlotEditAxisValues& values);

// The fields of the dialog, as read.
struct CPlotEditValues
{
    int32_t id = 0;
    int32_t size = 0;
    int32_t fill = 0;
    int32_t lineWidth = 0;
    DisplayKind displayKind = DisplayKind::Latest;
    PlotShape shape = PlotShape::Circle;
    OriginKind originKind = OriginKind::Fixed;
    int32_t originPlotId = 0;
    std::array<CPlotEditAxisValues, 2> axes;
    bool axis2Enabled = false;
    QString comment;

    bool operator==(const CPlotEditValues&) const = default;
};

// The fields as the dialog loads them from a plot.
CPlotEditValues PlotEditValuesOf(const CPlotInfo& plot);

using CPlotEditOutcome = CEditOutcome;

// Apply and OK on the working plot at index: the checks against the other plots and the
// plot's stored axes, the write, the origin, and last the comment. A check that fails writes
// nothing; axes that do not cross leave everything but the comment written.
CPlotEditOutcome ApplyPlotEdit(std::vector<CPlotInfo>& plots, int32_t index, const CPlotEditValues& values);
