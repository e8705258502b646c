#include "forms/ConnectForm.h"

#include "model/ConnectInfo.h"
#include "model/PlotInfo.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <set>

namespace ConnectForm {

QStringList Headers()
{
    return {
        QStringLiteral(" ID "),
        QStringLiteral(" 表示種別 "),
        QStringLiteral(" 結線プロットID "),
        QStringLiteral("始点と終点"),
        QStringLiteral("コメント\u3000\u3000\u3000"),
    };
}

QString PlotIdsText(const std::vector<int32_t>& ids)
{
    QStringList items;
    for (int32_t id : ids)
        items << QString::number(id);
    return items.join(QStringLiteral(", "));
}

QStringList RowTexts(const CConnectInfo& connect)
{
    return {
        QString::number(connect.m_id),
        connect.m_displayKind == DisplayKind::Latest ? QStringLiteral("最新表示") : QStringLiteral("履歴表示"),
        PlotIdsText(connect.m_plotIds),
        connect.m_closed ? QStringLiteral("結ぶ") : QStringLiteral("開放"),
        connect.m_comment,
    };
}

int32_t NextConnectId(const std::vector<CConnectInfo>& connects)
{
    if (connects.empty())
        return 0;
    const auto highest = std::max_element(connects.begin(), connects.end(),
                                          [](const CConnectInfo& a, const CConnectInfo& b) { return a.m_id < b.m_id; });
    if (highest->m_id < std::numeric_limits<int32_t>::max())
        return highest->m_id + 1;
    std::set<int32_t> used;
    for (const CConnectInfo& c : connects)
        used.insert(c.m_id);
    int32_t id = 0;
    while (used.count(id))
        ++id;
    return id;
}

int AddConnect(std::vector<CConnectInfo>& connects, int selectedIndex)
{
    CConnectInfo connect;
    if (selectedIndex >= 0 && size_t(selectedIndex) < connects.size())
        connect = connects[size_t(selectedIndex)];
    connect.m_id = NextConnectId(connects);
    connects.push_back(std::move(connect));
    return static_cast<int>(connects.size()) - 1;
}

CConnectEditValues EditValuesOf(const CConnectInfo& connect)
{
    return {connect.m_id, connect.m_closed, connect.m_displayKind, connect.m_line.m_style, connect.m_line.m_width,
            connect.m_comment};
}

CConnectEditOutcome ApplyConnectEdit(std::vector<CConnectInfo>& connects, int32_t index,
                                     const CConnectEditValues& values)
{
    if (index < 0 || size_t(index) >= connects.size())
        return {};
    if (CEditOutcome refused = CheckUniqueId(connects, index, values.id, ConnectEditControl::Id); !refused.ok)
        return refused;
    CConnectInfo& c = connects[size_t(index)];
    c.m_id = values.id;
    c.m_closed = values.closed;
    c.m_displayKind = values.displayKind;
    c.m_line.m_style = values.style;
    c.m_line.m_width = values.width;
    c.m_comment = values.comment;
    return {true, {}, {}, 0};
}

QStringList PlotIdLines(const std::vector<int32_t>& ids)
{
    QStringList lines;
    for (int32_t id : ids)
        lines << QString::number(id);
    return lines;
}

CPlotIdButtons PlotIdButtonsFor(int selected, int count)
{
    if (selected < 0 || selected >= count)
        return {};
    return {true, true, selected != 0, selected != count - 1};
}

QStringList PlotIdChoices(const std::vector<CPlotInfo>& plots)
{
    QStringList choices;
    for (const CPlotInfo& p : plots)
        choices << QString::number(p.m_id);
    return choices;
}

bool ReadPlotId(const QString& text, int32_t& out)
{
    // Anchored as a whole: a trailing line break does not pass, nor do non-ASCII digits.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("(-)?([1-9]?[0-9]*|0)")));
    if (!pattern.match(text).hasMatch())
        return false;
    const bool negative = text.startsWith(u'-');
    // The magnitude may reach 2147483648 only for a negative ID.
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
    int64_t magnitude = 0;
    for (QChar ch : QStringView(text).mid(negative ? 1 : 0)) {
        magnitude = magnitude * 10 + (ch.unicode() - u'0');
        if (magnitude > limit)
            return false;
    }
    out = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

} // namespace ConnectForm
