#include "cli/HeadlessHost.h"

#include "runtime/Main.h"
#include "runtime/StateFile.h"

#include "cli/Json.h"
#include "model/DocumentFiles.h"

#include <QFileInfo>

int32_t CHeadlessHost::DocumentCount(int32_t templateIndex) const
{
    return templateIndex >= 0 && templateIndex < 2 ? static_cast<int32_t>(m_docs[templateIndex].size()) : 0;
}

CVantrelDoc* CHeadlessHost::Document(int32_t templateIndex, int32_t documentIndex) const
{
    if (documentIndex < 0 || documentIndex >= DocumentCount(templateIndex))
        return nullptr;
    return m_docs[templateIndex][size_t(documentIndex)].get();
}

bool CHeadlessHost::OpenDocument(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const int t = suffix == QLatin1String("t1") ? 0 : suffix == QLatin1String("t2") ? 1 : -1;
    if (t < 0) {
        std::fprintf(stderr, "%s: not a document file\n", qUtf8Printable(path));
        return false;
    }
    auto doc = std::make_unique<CVantrelDoc>();
    CFileError error;
    if (!doc->OpenDocumentFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(error.Text()));
        return false;
    }
    m_docs[t].push_back(std::move(doc));
    return true;
}

void CHeadlessHost::CloseAllDocuments()
{
    m_docs[0].clear();
    m_docs[1].clear();
}

CVantrelDoc& CHeadlessHost::NewDocument(int32_t templateIndex)
{
    m_docs[templateIndex].push_back(std::make_unique<CVantrelDoc>());
    return *m_docs[templateIndex].back();
}

QByteArray JsonStringArray(const FieldRow& fields)
{
    QByteArray out;
    out.append('[');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(JsonString(fields.at(i)));
    }
    out.append(']');
    return out;
}

void CJsonRecordWriter::OnDocData(CVantrelDoc&, const CDocData& item)
{
    m_buffer.append("{\"row\":");
    m_buffer.append(QByteArray::number(item.m_row));
    m_buffer.append(",\"fields\":");
    m_buffer.append(JsonStringArray(item.m_fields));
    m_buffer.append("}\n");
    if (m_buffer.size() >= (1 << 16))
        Flush();
}

bool CJsonRecordWriter::Flush()
{
    if (!m_buffer.isEmpty()) {
        if (std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), m_out) != size_t(m_buffer.size()))
            m_failed = true;
        m_buffer.clear();
    }
    return !m_failed;
}

bool ApplyStateFileOption(CMain& main, const QString& path, QString& error)
{
    if (path.isEmpty())
        return true;
    CStateRecord record;
    if (!ReadStateFile(path, record, &error))
        return false;
    ApplyStateRecord(main, std::move(record));
    return true;
}
