#pragma once

// The documents of a benchmark, without the application around them.

#include "model/VantrelDoc.h"
#include "model/ViewInfo.h"
#include "runtime/DocumentHost.h"

#include <memory>
#include <vector>

class CBenchHost : public IDocumentHost
{
public:
    int32_t TemplateCount() const override { return 2; }
    int32_t DocumentCount(int32_t t) const override { return t == 0 ? int32_t(m_docs.size()) : 0; }
    CVantrelDoc* Document(int32_t, int32_t d) const override { return m_docs[size_t(d)].get(); }
    bool OpenDocument(const QString&) override { return false; }
    void CloseAllDocuments() override { m_docs.clear(); }
    CViewInfo MainWindowPlacement() const override { return {}; }
    void MoveMainWindow(const CViewInfo&) override {}

    std::vector<std::unique_ptr<CVantrelDoc>> m_docs;
};
