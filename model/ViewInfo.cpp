#include "model/ViewInfo.h"

#include "platform/Archive.h"

void CViewInfo::Serialize(CArchive& ar)
{
    // Read into locals so that a truncated record leaves the placement as it was.
    int32_t v[4] = {m_left, m_top, m_right, m_bottom};
    for (int32_t& x : v)
        ar.Exchange(x);
    m_left = v[0];
    m_top = v[1];
    m_right = v[2];
    m_bottom = v[3];
}
