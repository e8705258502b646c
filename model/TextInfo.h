#pragma once

#include "model/Enums.h"
#include "pipeline/Buffer.h"
#include "platform/LogFont.h"
#include "platform/UserInteraction.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>

class CArchive;
class CDocData;

// A text display: one FD's value as prefix + formatted value + suffix, placed around an
// anchor point. Also carries the appearance of an axis's tick labels.
class CTextInfo
{
public:
    CTextInfo();
    CTextInfo(const CTextInfo&) = default;
    CTextInfo& operator=(const CTextInfo&) = default;
    CTextInfo(CTextInfo&&) noexcept = default;
    CTextInfo& operator=(CTextInfo&&) noexcept = default;
    virtual ~CTextInfo() = default;

    // Saved fields only, in their fixed order. A failed load throws and leaves the display
    // as it was; run-time fields are never touched.
    virtual void Serialize(CArchive& ar);

    // A record without the display's FD (Number, DateTime) leaves the display untouched and
    // adds no history entry.
    void UpdateFromRecord(const CDocData& record);
    // ringOn = 0 keeps the history's ring mode and capacity as they are.
    void ResetRunState(int32_t ringOn, int64_t capacity);

    // The text for the current state; "Format Error" when the format does not suit its
    // argument.
    QString FormatText() const;
    // Whether the format suits the kinds, as the dialogs require it.
    bool IsFormatValid() const;
    // The description the editing views show in place of a value.
    QString SummaryText() const;
    // Top-left corner of a text with the given extent drawn for the anchor point.
    QPoint PlaceText(QPoint point, QSize extent) const;

    // The font a new display gets: height 15, Shift-JIS character set, draft quality,
    // face "ＭＳ Ｐゴシック".
    static LOGFONTW DefaultFont();

    int32_t m_fdNo = 0;
    DisplayKind m_displayKind = DisplayKind::Latest;
    LogicalKind m_logicalKind = LogicalKind::Number;
    ValueKind m_valueKind = ValueKind::Instant;
    QString m_format;
    COLORREF m_textColor = 255;      // red
    COLORREF m_backColor = 16777215; // white
    int32_t m_opaque = 1;
    LOGFONTW m_font;
    TextAnchor m_anchor = TextAnchor::TopCenter;
    int32_t m_distance = 10; // pixels
    QString m_prefix;
    QString m_suffix;
    double m_multiplier = 1.0;
    double m_adder = 0.0;

    // Run-time state, not saved.
    double m_value = 0.0;
    QString m_text; // latest FD text, or the row index for InputCount
    CBuffer<QString> m_history; // one formatted text per update, oldest first

private:
    void ExchangeSaved(CArchive& ar);
};
