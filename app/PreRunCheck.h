#pragma once

#include <QString>

#include <optional>
#include <vector>

class CVantrelDoc;

// A document as the pre-run check sees it: its title, and the title of its first view's
// window when it has a view.
struct CCheckedDocument
{
    const CVantrelDoc* m_doc = nullptr;
    QString m_title;
    std::optional<QString> m_frameTitle;
};

struct CPreRunFailure
{
    size_t m_index = 0; // which document failed
    QString m_message;
};

// Every connection of every document against its committed plots, in order; the first that
// fails gives the message naming the document (and its window, when it has one).
std::optional<CPreRunFailure> CheckConnections(const std::vector<CCheckedDocument>& docs);
