#pragma once

#include "model/DocumentFeed.h"
#include "model/VantrelDoc.h"
#include "model/ViewInfo.h"
#include "runtime/DocumentHost.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <memory>
#include <vector>

class CMain;

// The application without windows: the two document templates and their documents.
// Failures to open a document go to standard error.
class CHeadlessHost : public IDocumentHost
{
public:
    int32_t TemplateCount() const override { return 2; }
    int32_t DocumentCount(int32_t templateIndex) const override;
    CVantrelDoc* Document(int32_t templateIndex, int32_t documentIndex) const override;
    bool OpenDocument(const QString& path) override;
    void CloseAllDocuments() override;
    CViewInfo MainWindowPlacement() const override { return {}; }
    void MoveMainWindow(const CViewInfo&) override {}

    CVantrelDoc& NewDocument(int32_t templateIndex);

private:
    std::vector<std::unique_ptr<CVantrelDoc>> m_docs[2];
};

// A headless view: writes every record its document applied as one JSON line
// {"row":R,"fields":[...]} to a stream. Runs on the document's worker, which is the only
// thread that writes until the run has stopped.
class CJsonRecordWriter : public IDocumentNotifier
{
public:
    explicit CJsonRecordWriter(std::FILE* out)
        : m_out(out) {}
    ~CJsonRecordWriter() override { Flush(); }

    void OnDocData(CVantrelDoc& doc, const CDocData& item) override;
    // False when a write failed since the start.
    bool Flush();

private:
    std::FILE* m_out;
    QByteArray m_buffer;
    bool m_failed = false;
};

// Starts the pipeline from a state file, when a path is given; false with the reason when
// the file cannot be read.
bool ApplyStateFileOption(CMain& main, const QString& path, QString& error);

// One JSON array of strings.
QByteArray JsonStringArray(const FieldRow& fields);
