#pragma once

#include "model/AxisInfo.h"
#include "model/Enums.h"
#include "model/LineInfo.h"
#include "model/TextInfo.h"
#include "pipeline/Buffer.h"
#include "platform/UserInteraction.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CArchive;
class CDocData;

// A marker whose position follows one or two FD values through its axes, optionally riding
// on another plot's position.
class CPlotInfo
{
public:
    CPlotInfo();
    CPlotInfo(const CPlotInfo&) = default;
    CPlotInfo& operator=(const CPlotInfo&) = default;
    CPlotInfo(CPlotInfo&&) noexcept = default;
    CPlotInfo& operator=(CPlotInfo&&) noexcept = default;
    virtual ~CPlotInfo() = default;

    // Saved fields only, in their fixed order. A failed load throws and leaves the plot as
    // it was; run-time fields are never touched. A stored plot with fewer than two axes is
    // refused as damaged.
    virtual void Serialize(CArchive& ar);

    // An ignored record changes nothing, m_firstRecord included.
    void UpdateFromRecord(const CDocData& record);
    void ResetRunState();
    // Origin of the axes from their geometry; false when two axes do not cross (axis 1's
    // origin is then its start point).
    bool ComputeOrigin();

    // The plots whose displacements make up this plot's position, this plot first and the
    // fixed one last; nullopt for a self reference, a missing or unusable target, or a loop.
    std::optional<std::vector<const CPlotInfo*>> GetOriginChain(const std::vector<CPlotInfo>& plots) const;
    // Current marker position in design coordinates; nullopt when the chain fails, some
    // plot of it has not received a record, or the position is not finite.
    std::optional<QPointF> GetPosition(const std::vector<CPlotInfo>& plots) const;
    // Position before the latest record.
    std::optional<QPointF> GetPreviousPosition(const std::vector<CPlotInfo>& plots) const;
    // Radius in pixels with variable size applied; may be zero or negative, and is zero for
    // a size value that is not finite.
    int32_t MarkerRadius() const;

    // Axis 1, and axis 2 when two are in use.
    int32_t UsedAxisCount() const;
    bool UsesLatestRows() const;
    bool UsesAutoRange() const;

    int32_t m_id = 0;
    DisplayKind m_displayKind = DisplayKind::Latest;
    PlotShape m_shape = PlotShape::Circle;
    int32_t m_size = 10; // pixels
    COLORREF m_color = 0;
    int32_t m_fill = 0;
    int32_t m_lineWidth = 1; // pixels
    int32_t m_variableSize = 0;
    int32_t m_sizeFdNo = 0;
    ValueKind m_sizeValueKind = ValueKind::Instant;
    double m_sizeBaseValue = 0.0;
    double m_sizeStepValue = 1.0;
    std::vector<QString> m_includePrefixes;
    std::vector<QString> m_ignorePrefixes;
    OriginKind m_originKind = OriginKind::Fixed;
    int32_t m_originPlotId = 0;
    int32_t m_axisCount = 1;
    std::vector<CAxisInfo> m_axes; // always two after construction; the second is kept unused
    std::vector<CTextInfo> m_texts;
    CLineInfo m_historyLine;
    QString m_comment;

    // Run-time state, not saved.
    int32_t m_firstRecord = 1;
    double m_sizeValue = 0.0;
    CBuffer<double> m_sizeHistory;

private:
    void ExchangeSaved(CArchive& ar);
    std::optional<QPointF> ChainPosition(const std::vector<CPlotInfo>& plots, bool previous) const;
};
