#pragma once

// What the axis dialogs decide: field reading order and bounds, the checks of OK, the date
// range of a date-time axis, the date and time pickers' values, and the moves and copies of
// axes between working plots.

#include "model/AxisInfo.h"
#include "model/TextInfo.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

class CPlotInfo;

// Entries of the drop-down lists several design dialogs share; the index is the stored value.
QStringList LineStyleNames();
QStringList TickSideNames();
// Formats offered for text displays and tick labels; any other text may be typed.
QStringList FormatChoices();

// The first field or check that stopped an OK: where the focus goes and what the message says.
// Field-reading messages have no caption.
template <typename FieldT>
struct FormFailure
{
    FieldT field;
    QString message;
    QString caption;
};

namespace AxisForm {

// The wide dialog edits a plot axis; the narrow one only the drawing of a bar axis.
enum class Variant { Wide, Narrow };

// In reading order.
enum class Field {
    LogicalKind,
    ValueKind,
    AutoRange,
    LatestRows,
    LogScale,
    ShowAxisLine,
    AxisLineStyle,
    AxisLineWidth,
    ShowTicks,
    TickStyle,
    TickLength,
    TickWidth,
    TickStart,
    TickEnd,
    TickDivisions,
    TickSide,
    ShowSubTicks,
    SubTickStyle,
    SubTickLength,
    SubTickWidth,
    SubTickDivisions,
    SubTickSide,
    ShowLabels,
    Unit,
    LatestRowCount,
    Multiplier,
    Adder,
    LabelSettings, // the "ラベル設定..." button, focused when the label format is refused
};

constexpr int32_t kMaxLineWidth = 100;
constexpr int32_t kMaxTickLength = 1000;
constexpr int32_t kMinDivisions = 1;
constexpr int32_t kMaxDivisions = 100;
constexpr int64_t kMinRowCount = 1;
constexpr int64_t kMaxRowCount = 4294967295;
// The count is stored as int32: a larger one is kept as the largest, never wrapped to a
// negative count that would switch the display off.
constexpr int32_t kMaxStoredRowCount = std::numeric_limits<int32_t>::max();

// What the fields show. A choice of -1 means nothing is chosen (a stored value outside the
// list); OK then keeps the stored value.
struct Values
{
    int logicalKind = 0;
    int valueKind = 0;
    bool autoRange = false;
    bool latestRows = false;
    bool logScale = false;
    bool showAxisLine = false;
    int axisLineStyle = 0;
    QString axisLineWidth;
    bool showTicks = false;
    int tickStyle = 0;
    QString tickLength;
    QString tickWidth;
    QString tickStart;
    QString tickEnd;
    QString tickDivisions;
    int tickSide = 0;
    bool showSubTicks = false;
    int subTickStyle = 0;
    QString subTickLength;
    QString subTickWidth;
    QString subTickDivisions;
    int subTickSide = 0;
    bool showLabels = false;
    QString unit;
    QString latestRowCount;
    QString multiplier;
    QString adder;

    bool operator==(const Values&) const = default;
};

using Failure = FormFailure<Field>;

// The fields as they show the axis: integers "%d", reals "%.15g".
Values Load(const CAxisInfo& axis);
// Index of a stored value in a list of count entries, -1 when outside it.
int ChoiceIndex(int32_t stored, int count);

// Reads every field in order and runs the checks of OK. The axis is written only when
// everything passes; otherwise it is left exactly as it was.
std::optional<Failure> Apply(const Values& values, Variant variant, CAxisInfo& axis);

// Opening the wide dialog: with ticks hidden the tick range follows the axis range. Returns
// whether the date range still has to be set up (the axis is not a date-time axis).
bool OpenWide(CAxisInfo& axis);

// What the date controls show after the logical kind changed (or on opening).
struct DateStep
{
    bool buttonsEnabled = false;
    QString startText; // "開始:…", empty unless a date-time axis
    QString endText;
    // Set when this step initialised the range: the tick start and end fields get these texts.
    std::optional<QString> tickStartText;
    std::optional<QString> tickEndText;
};
// The first switch to a date-time axis starts the range now and ends it a day later; later
// switches keep whatever range the axis has.
DateStep LogicalKindStep(bool dateTimeChecked, bool& rangeNotInitialised, CAxisInfo& axis, double now);

// The label kinds "ラベル設定..." of the wide dialog hands to the label dialog.
void SetLabelKinds(CAxisInfo& axis, bool dateTimeChecked);

} // namespace AxisForm

namespace LabelForm {

enum class Field { Format, Anchor, Distance };
using Failure = FormFailure<Field>;

constexpr int kAnchorCount = 9;
constexpr int64_t kMaxDistance = std::numeric_limits<int32_t>::max();

struct Values
{
    QString format;
    int anchor = 1; // -1: none chosen, keep the stored anchor
    QString distance;
};

Values Load(const CTextInfo& text);
// Reads the anchor and distance, then checks the format against the label's kinds; writes
// the text settings only when everything passes.
std::optional<Failure> Apply(const Values& values, CTextInfo& text);

} // namespace LabelForm

namespace DateForm {

// Automation dates as local date and time, to the second.
double FromDateTime(const QDateTime& local);

struct Picked
{
    QDate date;
    QTime time;
};
// The pickers' values for an automation date; nullopt for a value outside the years
// 100 to 9999.
std::optional<Picked> Split(double value);
// Day of the date picker with the time of day of the time picker. Days before 1899-12-30
// are negative and the time of day then counts away from zero, as automation dates have it.
double Join(const QDate& date, const QTime& time);

// "開始:%Y/%m/%d %H:%M:%S" and "終了:…".
QString StartText(double value);
QString EndText(double value);

} // namespace DateForm

namespace AxisCopy {

enum class Point { Start = 0, End = 1, Middle = 2 };
enum class Axes { Axis1 = 0, Axis2 = 1, Both = 2 };

QPointF PointOf(const CAxisInfo& axis, Point point);

// Translates one axis of the plot so that its source point lies on the target point of the
// other (or the same) axis. False when the plot lacks the axes.
bool Move(CPlotInfo& plot, int sourceAxis, Point sourcePoint, int targetAxis, Point targetPoint);

// Copies whole axes from the source plot into the edited plot. Both source axes go onto both
// target axes (a plot copied onto itself stays as it is); one source axis goes onto one or
// both target axes. False when an index or an axis is missing.
bool Copy(std::vector<CPlotInfo>& plots, int edited, int source, Axes from, Axes to);

// The source plot choices: every working plot's ID as "%d", in list order.
QStringList PlotIds(const std::vector<CPlotInfo>& plots);

} // namespace AxisCopy
