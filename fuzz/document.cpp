// Scroll and stretch documents through the application's open path.

#include "fuzz/DocumentState.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Both document types share one layout; the extension only chooses the view kind.
    const QString path = fuzz::WriteInput(size % 2 ? "input.t1" : "input.t2", data, size);
    CVantrelDoc doc;
    FillDocument(doc);
    const QByteArray before = DocumentState(doc);
    CFileError error;
    if (!doc.OpenDocumentFile(path, &error)) {
        fuzz::Check(DocumentState(doc) == before, "a failed document read changed the document");
        fuzz::Check(!error.m_reason.isEmpty(), "a failed document read gave no reason");
        return 0;
    }
    // What was read stores into a file that reads back the same.
    CArchive ar;
    doc.Serialize(ar);
    CDocumentContent again;
    fuzz::Check(ReadDocumentBytes(ar.Bytes(), again), "a stored document does not read back");
    fuzz::Check(DocumentBytes(again) == ar.Bytes(), "a stored document reads back different");
    return 0;
}
