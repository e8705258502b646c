#include "forms/ListEdit.h"

#include <numeric>

namespace {

int EstimatedWidth(const QString& line)
{
    int width = 0;
    for (const QChar c : line) {
        if (c == u'\t')
            width += 8;
        else
            width += c.unicode() >= 0x1100 ? 2 : 1;
    }
    return width;
}

} // namespace

std::vector<int> WidestLineCandidates(const QStringList& lines, int limit)
{
    std::vector<int> rows(static_cast<size_t>(lines.size()));
    std::iota(rows.begin(), rows.end(), 0);
    if (limit < 0 || lines.size() <= limit)
        return rows;
    std::vector<int> widths(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        widths[i] = EstimatedWidth(lines[static_cast<qsizetype>(i)]);
    std::nth_element(rows.begin(), rows.begin() + limit, rows.end(),
                     [&widths](int a, int b) { return widths[static_cast<size_t>(a)] > widths[static_cast<size_t>(b)]; });
    rows.resize(static_cast<size_t>(limit));
    return rows;
}
