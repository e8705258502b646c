#include "model/LineInfo.h"

#include "platform/Archive.h"

void CLineInfo::Serialize(CArchive& ar)
{
    // Load into a copy so that a short file leaves the line as it was.
    CLineInfo v(*this);
    ar.Exchange(v.m_show);
    ExchangeEnum(ar, v.m_style);
    ar.Exchange(v.m_color);
    ar.Exchange(v.m_width);
    ar.Exchange(v.m_length);
    if (ar.IsLoading())
        *this = v;
}
