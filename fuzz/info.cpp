// Design info files through the application's open path.

#include "fuzz/DocumentState.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::WriteInput("input.vnf", data, size);
    CVantrelDoc doc;
    FillDocument(doc);
    const QByteArray before = DocumentState(doc);
    CFileError error;
    if (!doc.OpenInfoFile(path, &error)) {
        fuzz::Check(DocumentState(doc) == before, "a failed info read changed the document");
        fuzz::Check(!error.m_reason.isEmpty(), "a failed info read gave no reason");
        return 0;
    }
    CArchive ar;
    StoreDesign(ar, doc.m_plots, doc.m_connects, doc.m_bars);
    CDesignLists again;
    fuzz::Check(ReadInfoBytes(ar.Bytes(), again), "a stored info file does not read back");
    fuzz::Check(InfoBytes(again) == ar.Bytes(), "a stored info file reads back different");
    return 0;
}
