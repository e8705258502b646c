#pragma once

// The table operations and texts of the FD list and FD entry dialogs, kept free of widgets.

#include "fields/FDInfo.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Largest table the dialog operations build. Each entry becomes a list line, and a count
// near the int32 limit would exhaust memory instead of growing the table.
constexpr int32_t kMaxFDEntries = 1000000;

// List line of entry index: "FD%d\t<無変換>" or "FD%d\t→ FD%d\t", then "\t, " and each
// description, or "\t, <説明文無し>".
QString FDListLineText(int32_t index, const CFDInfo& entry);
QStringList FDListLines(const CFDInfos& infos);

// A refused dialog action: the message box to show and the edit that gets the focus.
struct FDListProblem
{
    enum class Field { Count, Start, End, NewStart };
    Field field;
    QString message;
    QString caption;
};

// "個にする": grows the table with identity entries or cuts it to count entries.
std::optional<FDListProblem> SetFDCount(CFDInfos& infos, int32_t count);

// "変更する": entries start..end read FD new start, new start + 1, ...; the table first
// grows with identity entries to hold end. Nothing changes when a problem is returned.
std::optional<FDListProblem> RenumberFDs(CFDInfos& infos, int32_t start, int32_t end, int32_t newStart);

// "変換無しにする": every entry reads its own number.
void ClearFDConversion(CFDInfos& infos);

// Message box texts after "CSV出力..." and "CSV入力...".
QString FDListExportMessage(bool ok, const QString& errorText);
QString FDListImportMessage(bool ok, const QString& errorText);
