#pragma once

// What the bar edit dialog decides: the values its fields hold, and the check and writes of
// Apply on the working bar.

#include "forms/EditPattern.h"
#include "model/Enums.h"

#include <QString>

#include <cstdint>
#include <vector>

class CBarInfo;

// The dialog's controls by number; the views fill some of them by these numbers, and a check
// that fails names the one to focus.
namespace BarEditControl {
constexpr int Id = 1004;
constexpr int Instant = 1008;
constexpr int Max = 1012;
constexpr int Min = 1109;
constexpr int ColorButton = 1019;
constexpr int ColorSwatch = 1020;
constexpr int AnchorEnd = 1032;
constexpr int FdNo = 1033;
constexpr int Comment = 1052;
constexpr int PixelWidth = 1057;
constexpr int Apply = 1058;
constexpr int Others = 1064;
constexpr int AxisOthers = 1067;
constexpr int AnchorCenter = 1104;
constexpr int AnchorStart = 1105;
constexpr int StartX = 1138;
constexpr int StartY = 1139;
constexpr int StartValue = 1140;
constexpr int EndX = 1141;
constexpr int EndY = 1144;
constexpr int EndValue = 1146;
constexpr int InitialValue = 1178;
} // namespace BarEditControl

// The fields of the dialog, as read.
struct CBarEditValues
{
    int32_t id = 0;
    int32_t pixelWidth = 0;
    ValueKind valueKind = ValueKind::Instant;
    BarAnchor anchor = BarAnchor::Center;
    int32_t fdNo = 0;
    double startX = 0;
    double startY = 0;
    double startValue = 0;
    double endX = 0;
    double endY = 0;
    double endValue = 0;
    QString comment;
    double initialValue = 0;

    bool operator==(const CBarEditValues&) const = default;
};

// The fields as the dialog loads them from a bar.
CBarEditValues BarEditValuesOf(const CBarInfo& bar);

// Apply and OK on the working bar at index: the ID check against the other bars, the write,
// the axis start as the bar's origin, and the comment. A refused ID writes nothing.
CEditOutcome ApplyBarEdit(std::vector<CBarInfo>& bars, int32_t index, const CBarEditValues& values);
