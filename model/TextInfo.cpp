#include "model/TextInfo.h"

#include "model/RecordValue.h"
#include "model/TextPlacement.h"
#include "pipeline/DocData.h"
#include "platform/Archive.h"

#include <cfloat>

CTextInfo::CTextInfo()
    : m_format(QStringLiteral("%g"))
    , m_font(DefaultFont())
{
}

LOGFONTW CTextInfo::DefaultFont()
{
    // What the system reports back for a font created from these values.
    LOGFONTW f;
    f.lfHeight = 15;
    f.lfCharSet = 128;  // SHIFTJIS_CHARSET
    f.lfQuality = 1;    // DRAFT_QUALITY
    f.SetFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}

void CTextInfo::ExchangeSaved(CArchive& ar)
{
    ar.Exchange(m_fdNo);
    ExchangeEnum(ar, m_displayKind);
    ExchangeEnum(ar, m_logicalKind);
    ExchangeEnum(ar, m_valueKind);
    ar.Exchange(m_format);
    ar.Exchange(m_textColor);
    ar.Exchange(m_backColor);
    ar.Exchange(m_opaque);
    m_font.Serialize(ar);
    ExchangeEnum(ar, m_anchor);
    ar.Exchange(m_distance);
    ar.Exchange(m_prefix);
    ar.Exchange(m_suffix);
    ar.Exchange(m_multiplier);
    ar.Exchange(m_adder);
}

void CTextInfo::Serialize(CArchive& ar)
{
    ExchangeTransactional(ar, *this, [&ar](CTextInfo& object) { object.ExchangeSaved(ar); });
}

void CTextInfo::UpdateFromRecord(const CDocData& record)
{
    double v = m_value;
    switch (m_logicalKind) {
    case LogicalKind::Number: {
        const std::optional<QString> text = MappedFdText(record, m_fdNo);
        if (!text)
            return;
        m_text = *text;
        if (const std::optional<double> parsed = ParseFdNumber(m_text))
            v = *parsed * m_multiplier + m_adder;
        break;
    }
    case LogicalKind::DateTime: {
        const std::optional<QString> text = MappedFdText(record, m_fdNo);
        if (!text)
            return;
        m_text = *text;
        if (const std::optional<double> date = ParseFdDateTime(m_text))
            v = *date;
        break;
    }
    case LogicalKind::InputCount:
        v = record.m_row;
        m_text = QString::number(record.m_row);
        break;
    }

    m_value = AccumulateValue(m_valueKind, m_value, v);
    m_history.Add(FormatText());
}

void CTextInfo::ResetRunState(int32_t ringOn, int64_t capacity)
{
    m_text.clear();
    m_value = AccumulationStart(m_valueKind, 0.0);
    m_history.RemoveAll();
    m_history.SetRing(ringOn != 0, capacity);
}

QPoint CTextInfo::PlaceText(QPoint point, QSize extent) const
{
    return ::PlaceText(m_anchor, m_distance, point, extent);
}
