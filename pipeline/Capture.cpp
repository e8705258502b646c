#include "pipeline/Capture.h"

#include "pipeline/CsvFields.h"
#include "platform/SafeWrite.h"
#include "platform/TextFile.h"

QString CaptureLine(QStringView line, const FieldRow& fields, bool hasCalcFDs)
{
    if (!hasCalcFDs)
        return line.toString();
    return JoinCsvFields(fields);
}

bool ExportInternalCsv(const CBuffer<FieldRow>& data, const QString& path, QString& error,
                       const ProgressCallback& progress)
{
    error.clear();
    // The path is appended, not passed through arg(): it may hold '%'.
    // Written through a temporary: a full disk keeps the previous export whole.
    CSafeWrite file(path);
    if (!file.Open()) {
        error = QStringLiteral("出力CSVファイルオープンエラー\n(") + path + QLatin1Char(')');
        return false;
    }
    const auto writeFailed = [&] {
        file.Cancel();
        error = QStringLiteral("出力エラー\n(") + path + QLatin1Char(')');
        return false;
    };

    // Rows go out in chunks: one conversion per row would dominate for large stores.
    constexpr qsizetype kChunk = 64 * 1024;
    QString chunk;
    chunk.reserve(kChunk + 1024);
    const int64_t count = data.GetCount();
    CProgressTicker ticker(progress, count);
    const auto stopped = [&] {
        file.Cancel();
        return false;
    };
    if (!ticker.Ask(0))
        return stopped();
    for (int64_t i = 0; i < count; ++i) {
        chunk.append(JoinCsvFields(data.GetAt(i)));
        chunk.append(QLatin1Char('\n'));
        if (chunk.size() >= kChunk) {
            if (!file.Write(TextModeBytes(chunk)))
                return writeFailed();
            chunk.resize(0);
        }
        if (!ticker.Tick(i + 1))
            return stopped();
    }
    if (!chunk.isEmpty() && !file.Write(TextModeBytes(chunk)))
        return writeFailed();
    if (!file.Commit())
        return writeFailed();
    return true;
}
