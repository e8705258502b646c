#include "app/PreRunCheck.h"

#include "model/VantrelDoc.h"

std::optional<CPreRunFailure> CheckConnections(const std::vector<CCheckedDocument>& docs)
{
    for (size_t i = 0; i < docs.size(); ++i) {
        const CCheckedDocument& d = docs[i];
        for (const CConnectInfo& connect : d.m_doc->m_connects) {
            QString error;
            if (connect.Check(d.m_doc->m_plots, &error))
                continue;
            QString message = d.m_title;
            if (d.m_frameTitle)
                message += QStringLiteral("ドキュメントの「") + *d.m_frameTitle + QStringLiteral("」画面において\n");
            else
                message += QStringLiteral("ドキュメントにおいて\n");
            return CPreRunFailure{i, message + error};
        }
    }
    return std::nullopt;
}
