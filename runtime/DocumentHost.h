#pragma once

#include <QString>

#include <cstdint>

class CVantrelDoc;
class CViewInfo;

// What the pipeline and the state file need from the application: its documents in
// template order and document order, opening a document file, closing every document
// without asking, and the main window's placement. The desktop shell and the CLI each
// implement it. Templates and documents are 0-based here; template 0 is the scroll
// document (".t1"), template 1 the stretch document (".t2").
//
// The workers read the document lists while a run goes on; the application keeps them
// unchanged meanwhile (every command that opens or closes a document is disabled).
class IDocumentHost
{
public:
    virtual ~IDocumentHost() = default;

    virtual int32_t TemplateCount() const = 0;
    virtual int32_t DocumentCount(int32_t templateIndex) const = 0;
    virtual CVantrelDoc* Document(int32_t templateIndex, int32_t documentIndex) const = 0;

    // Opens a document file, its type chosen by the extension, with its frame and view.
    // Reports a failure to the user itself and returns false.
    virtual bool OpenDocument(const QString& path) = 0;
    // Closes every document without asking to save changes.
    virtual void CloseAllDocuments() = 0;

    // The main window's normal-position rectangle, and moving it there without repainting.
    virtual CViewInfo MainWindowPlacement() const = 0;
    virtual void MoveMainWindow(const CViewInfo& rect) = 0;
};

// Every document of the host in template and document order.
template <typename Fn>
void ForEachDocument(const IDocumentHost* host, Fn&& fn)
{
    if (!host)
        return;
    const int32_t templates = host->TemplateCount();
    for (int32_t t = 0; t < templates; ++t) {
        const int32_t docs = host->DocumentCount(t);
        for (int32_t d = 0; d < docs; ++d) {
            if (CVantrelDoc* doc = host->Document(t, d))
                fn(*doc);
        }
    }
}
