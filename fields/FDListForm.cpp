#include "fields/FDListForm.h"

#include <limits>

namespace {

FDListProblem RangeProblem(FDListProblem::Field field, int64_t low, int64_t high)
{
    return {field, QStringLiteral("%1 から %2 までの整数を入力してください。").arg(low).arg(high),
            QStringLiteral("入力チェック")};
}

void GrowWithIdentity(CFDInfos& infos, size_t size)
{
    infos.m_entries.reserve(size);
    while (infos.m_entries.size() < size)
        infos.m_entries.emplace_back(static_cast<int32_t>(infos.m_entries.size()));
}

} // namespace

QString FDListLineText(int32_t index, const CFDInfo& entry)
{
    QString line = entry.m_targetFD == index
        ? QStringLiteral("FD%1\t<無変換>").arg(index)
        : QStringLiteral("FD%1\t→ FD%2\t").arg(index).arg(entry.m_targetFD);
    if (entry.m_descriptions.isEmpty()) {
        line += QStringLiteral("\t, <説明文無し>");
        return line;
    }
    for (const QString& d : entry.m_descriptions) {
        line += QStringLiteral("\t, ");
        line += d;
    }
    return line;
}

QStringList FDListLines(const CFDInfos& infos)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(infos.m_entries.size()));
    for (size_t i = 0; i < infos.m_entries.size(); ++i)
        lines.append(FDListLineText(static_cast<int32_t>(i), infos.m_entries[i]));
    return lines;
}

std::optional<FDListProblem> SetFDCount(CFDInfos& infos, int32_t count)
{
    if (count < 0 || count > kMaxFDEntries)
        return RangeProblem(FDListProblem::Field::Count, 0, kMaxFDEntries);
    const auto size = static_cast<size_t>(count);
    if (size < infos.m_entries.size())
        infos.m_entries.resize(size);
    else
        GrowWithIdentity(infos, size);
    return std::nullopt;
}

std::optional<FDListProblem> RenumberFDs(CFDInfos& infos, int32_t start, int32_t end, int32_t newStart)
{
    if (start > end)
        return FDListProblem{FDListProblem::Field::End, QStringLiteral("終了FD番号が開始FD番号より小さいです."),
                             QStringLiteral("チェック")};
    if (start < 0)
        return RangeProblem(FDListProblem::Field::Start, 0, kMaxFDEntries - 1);
    if (end >= kMaxFDEntries)
        return RangeProblem(FDListProblem::Field::End, 0, kMaxFDEntries - 1);
    // The last target must stay an int32: a wrapped target would be negative.
    const int64_t maxNewStart = int64_t{std::numeric_limits<int32_t>::max()} - (end - start);
    if (newStart < 0 || newStart > maxNewStart)
        return RangeProblem(FDListProblem::Field::NewStart, 0, maxNewStart);
    GrowWithIdentity(infos, static_cast<size_t>(end) + 1);
    for (int32_t i = start; i <= end; ++i)
        infos.m_entries[static_cast<size_t>(i)].m_targetFD = i - start + newStart;
    return std::nullopt;
}

void ClearFDConversion(CFDInfos& infos)
{
    for (size_t i = 0; i < infos.m_entries.size(); ++i)
        infos.m_entries[i].m_targetFD = static_cast<int32_t>(i);
}

QString FDListExportMessage(bool ok, const QString& errorText)
{
    return (ok ? QStringLiteral("保存しました.") : QStringLiteral("保存できませんでした.")) + errorText;
}

QString FDListImportMessage(bool ok, const QString& errorText)
{
    return (ok ? QStringLiteral("読み込みました.") : QStringLiteral("開けませんでした.")) + errorText;
}
