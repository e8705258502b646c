#pragma once

#include "model/Enums.h"
#include "model/LineInfo.h"

#include <QLine>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CArchive;
class CPlotInfo;

// A polyline through the current positions of a list of plots.
class CConnectInfo
{
public:
    CConnectInfo();
    CConnectInfo(const CConnectInfo&) = default;
    CConnectInfo& operator=(const CConnectInfo&) = default;
    CConnectInfo(CConnectInfo&&) noexcept = default;
    CConnectInfo& operator=(CConnectInfo&&) noexcept = default;
    virtual ~CConnectInfo() = default;

    // A failed load throws and leaves the connection as it was.
    virtual void Serialize(CArchive& ar);

    // Validity before data input; on failure message holds the first problem found.
    bool Check(const std::vector<CPlotInfo>& plots, QString* message = nullptr) const;
    // The live polyline in pixels; stops at the first pair that cannot be drawn.
    std::vector<QLine> Segments(const std::vector<CPlotInfo>& plots, double scale) const;
    // Joins the plots' axis 1 start points, as the editing views show it.
    std::vector<QLine> EditSegments(const std::vector<CPlotInfo>& plots, double scale) const;

    int32_t m_id = 0;
    DisplayKind m_displayKind = DisplayKind::Latest;
    std::vector<int32_t> m_plotIds;
    int32_t m_closed = 0;
    CLineInfo m_line;
    QString m_comment;

private:
    void ExchangeSaved(CArchive& ar);
};
