#include "model/ConnectInfo.h"

#include "model/DesignLists.h"
#include "model/PixelMath.h"
#include "model/PlotInfo.h"
#include "platform/Archive.h"

#include <algorithm>

namespace {

const CPlotInfo* FindPlot(const std::vector<CPlotInfo>& plots, int32_t id)
{
    const auto it = std::find_if(plots.begin(), plots.end(), [id](const CPlotInfo& p) { return p.m_id == id; });
    return it == plots.end() ? nullptr : &*it;
}

std::optional<QPoint> LivePixel(const CPlotInfo& plot, const std::vector<CPlotInfo>& plots, double scale)
{
    const std::optional<QPointF> p = plot.GetPosition(plots);
    if (!p)
        return std::nullopt;
    return DesignToPixel(p->x(), p->y(), scale);
}

std::optional<QPoint> StartPixel(const CPlotInfo& plot, double scale)
{
    if (plot.m_axes.empty())
        return std::nullopt;
    return DesignToPixel(plot.m_axes[0].m_startX, plot.m_axes[0].m_startY, scale);
}

} // namespace

CConnectInfo::CConnectInfo()
{
    m_line.m_show = 1;
}

void CConnectInfo::ExchangeSaved(CArchive& ar)
{
    ar.Exchange(m_id);
    ExchangeEnum(ar, m_displayKind);
    SerializeIdList(ar, m_plotIds);
    ar.Exchange(m_closed);
    m_line.Serialize(ar);
    ar.Exchange(m_comment);
}

void CConnectInfo::Serialize(CArchive& ar)
{
    ExchangeTransactional(ar, *this, [&ar](CConnectInfo& object) { object.ExchangeSaved(ar); });
}

bool CConnectInfo::Check(const std::vector<CPlotInfo>& plots, QString* message) const
{
    for (size_t i = 1; i < m_plotIds.size(); ++i) {
        const CPlotInfo* a = FindPlot(plots, m_plotIds[i - 1]);
        const CPlotInfo* b = FindPlot(plots, m_plotIds[i]);
        if (!a || !b) {
            if (message) {
                *message = QStringLiteral("プロット結線するID%1のプロット情報が存在しません．")
                               .arg(a ? m_plotIds[i] : m_plotIds[i - 1]);
            }
            return false;
        }
        const CPlotInfo* latest = a->UsesLatestRows() ? a : b->UsesLatestRows() ? b : nullptr;
        if (latest) {
            if (message) {
                *message = QStringLiteral("プロット結線するID%1プロット情報が「最新行表示」軸を持っています．\n"
                                          "「最新行表示」データはプロット結線できません．")
                               .arg(latest->m_id);
            }
            return false;
        }
    }
    return true;
}

namespace {

// Segments between consecutive listed plots, and the closing one; stops at the first pair
// where a plot is missing or pixelOf gives no point.
template <typename PixelOf>
std::vector<QLine> ChainSegments(const std::vector<int32_t>& ids, bool closed, const std::vector<CPlotInfo>& plots,
                                 PixelOf pixelOf)
{
    std::vector<QLine> segments;
    auto pixel = [&](int32_t id) -> std::optional<QPoint> {
        const CPlotInfo* plot = FindPlot(plots, id);
        return plot ? pixelOf(*plot) : std::nullopt;
    };
    std::optional<QPoint> lastB;
    for (size_t i = 1; i < ids.size(); ++i) {
        const std::optional<QPoint> pa = pixel(ids[i - 1]);
        const std::optional<QPoint> pb = pa ? pixel(ids[i]) : std::nullopt;
        if (!pb)
            return segments;
        segments.emplace_back(*pa, *pb);
        lastB = pb;
    }
    if (closed && lastB) {
        if (const std::optional<QPoint> p = pixel(ids.front()))
            segments.emplace_back(*p, *lastB);
    }
    return segments;
}

} // namespace

std::vector<QLine> CConnectInfo::Segments(const std::vector<CPlotInfo>& plots, double scale) const
{
    return ChainSegments(m_plotIds, m_closed != 0, plots, [&](const CPlotInfo& plot) -> std::optional<QPoint> {
        if (plot.m_firstRecord || plot.UsesLatestRows())
            return std::nullopt;
        return LivePixel(plot, plots, scale);
    });
}

std::vector<QLine> CConnectInfo::EditSegments(const std::vector<CPlotInfo>& plots, double scale) const
{
    return ChainSegments(m_plotIds, m_closed != 0, plots,
                         [&](const CPlotInfo& plot) { return StartPixel(plot, scale); });
}
