// The JSON that "vantrel-cli pack" reads, into each of the three file kinds it writes.

#include "cli/DesignJson.h"
#include "cli/JsonReader.h"
#include "cli/StateJson.h"
#include "fuzz/FuzzSupport.h"
#include "model/DocumentFiles.h"
#include "platform/Archive.h"
#include "runtime/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CJsonValue json;
    QString error;
    if (!ParseJson(fuzz::Bytes(data, size), json, &error)) {
        fuzz::Check(!error.isEmpty(), "a JSON error without a reason");
        return 0;
    }
    // Whatever pack accepts must make a file the application reads.
    CDocumentContent content;
    if (DocumentFromJson(json, content, &error)) {
        CDocumentContent back;
        fuzz::Check(ReadDocumentBytes(DocumentBytes(content), back), "a packed document does not read");
    }
    CDesignLists design;
    if (InfoFromJson(json, design, &error)) {
        CDesignLists back;
        fuzz::Check(ReadInfoBytes(InfoBytes(design), back), "a packed info file does not read");
    }
    CStateRecord record;
    if (StateFromJson(json, record, &error)) {
        CArchive ar;
        record.Store(ar);
        CArchive in(ar.Bytes());
        CStateRecord back;
        try {
            back.Load(in);
        } catch (const CArchiveError&) {
            fuzz::Fail("a packed state file does not read");
        }
    }
    return 0;
}
