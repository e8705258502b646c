#pragma once

#include "render/UpdateHint.h"

#include <QString>

#include <vector>

// A document type: the document class is always CVantrelDoc, the view class follows the kind.
// The fields are the parts of the historic seven-part template string.
struct CDocTemplate
{
    ViewKind m_kind = ViewKind::Scroll;
    QString m_docName;     // "Scroll": untitled documents are "Scroll1", "Scroll2", ...
    QString m_fileNewName; // shown when the user chooses the type of a new document
    QString m_filterName;  // "Scroll Document(.t1)"
    QString m_extension;   // ".t1"
    QString m_fileTypeId;  // "Vantrel.ScrollDocument"

    static CDocTemplate FromString(ViewKind kind, const QString& templateString);
    // "Scroll Document(.t1)|*.t1|" for a file chooser's filter.
    QString Filter() const;
    bool Matches(const QString& path) const;
};

// The two templates in their registration order, which the state file's document counts follow.
const std::vector<CDocTemplate>& DocTemplates();
// The template of a file by its extension (any letter case); -1 for neither.
int TemplateIndexOf(const QString& path);
