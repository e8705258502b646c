#include "app/DocTemplate.h"

#include <QStringList>

CDocTemplate CDocTemplate::FromString(ViewKind kind, const QString& templateString)
{
    const QStringList parts = templateString.split(QLatin1Char('\n'));
    const auto part = [&parts](int i) { return i < parts.size() ? parts.at(i) : QString(); };
    CDocTemplate t;
    t.m_kind = kind;
    t.m_docName = part(1);
    t.m_fileNewName = part(2);
    t.m_filterName = part(3);
    t.m_extension = part(4);
    t.m_fileTypeId = part(5);
    return t;
}

QString CDocTemplate::Filter() const
{
    return m_filterName + QLatin1Char('|') + QLatin1Char('*') + m_extension + QLatin1Char('|');
}

bool CDocTemplate::Matches(const QString& path) const
{
    return !m_extension.isEmpty() && path.endsWith(m_extension, Qt::CaseInsensitive);
}

const std::vector<CDocTemplate>& DocTemplates()
{
    static const std::vector<CDocTemplate> templates = {
        CDocTemplate::FromString(ViewKind::Scroll,
                                 QStringLiteral("\nScroll\nScrollType\nScroll Document(.t1)\n.t1\n"
                                                "Vantrel.ScrollDocument\nVantrel.ScrollDocument")),
        CDocTemplate::FromString(ViewKind::Stretch,
                                 QStringLiteral("\nStretch\nStretchType\nStretch Document(.t2)\n.t2\n"
                                                "Vantrel.StretchDocument\nVantrel.StretchDocument")),
    };
    return templates;
}

int TemplateIndexOf(const QString& path)
{
    const std::vector<CDocTemplate>& templates = DocTemplates();
    for (size_t i = 0; i < templates.size(); ++i) {
        if (templates[i].Matches(path))
            return int(i);
    }
    return -1;
}
