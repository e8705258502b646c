#pragma once

#include "model/AxisInfo.h"
#include "model/Enums.h"
#include "model/LineInfo.h"
#include "model/TextInfo.h"

#include <QLine>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CArchive;
class CDocData;

// A thick line from its axis's start point that grows along the axis with the axis value.
class CBarInfo
{
public:
    CBarInfo();
    CBarInfo(const CBarInfo&) = default;
    CBarInfo& operator=(const CBarInfo&) = default;
    CBarInfo(CBarInfo&&) noexcept = default;
    CBarInfo& operator=(CBarInfo&&) noexcept = default;
    virtual ~CBarInfo() = default;

    // Saved fields only, in their fixed order. A failed load throws and leaves the bar as it
    // was; run-time fields are never touched.
    virtual void Serialize(CArchive& ar);

    void UpdateFromRecord(const CDocData& record);
    // The axis and texts keep their latest value only.
    void ResetRunState();
    void SetOriginToStart();

    // The bar with live data, in pixels; nullopt before the first accepted record and while
    // the value is not finite.
    std::optional<QLine> BarSegment(double scale) const;
    // The bar at its initial value, as the editing views show it.
    QLine EditSegment(double scale) const;
    // Pixel point of the axis start, where the texts are anchored.
    QPoint StartPixel(double scale) const;

    // Reference direction flips when a value's direction differs from it by more than this.
    static constexpr double kFlipAngle = 0.174;

    int32_t m_id = 0;
    int32_t m_reserved = 0;
    CAxisInfo m_axis;
    BarAnchor m_anchor = BarAnchor::Center;
    double m_initialValue = 0.0;
    CLineInfo m_line;
    std::vector<QString> m_includePrefixes;
    std::vector<QString> m_ignorePrefixes;
    std::vector<CTextInfo> m_texts;
    QString m_comment;

    // Run-time state, not saved.
    int32_t m_firstRecord = 1;

private:
    void ExchangeSaved(CArchive& ar);
};
