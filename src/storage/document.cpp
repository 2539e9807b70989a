#include "storage/document.h"

#include "platform/file_io.h"

namespace pagelark {

void NewDocument(Document& document) {
    document.IsDefaultFile = false;
    document.Untitled = true;
    document.LoadProblem.clear();
    document.LoadProblemIsNote = false;
    document.DiskBytes.reset();
    document.EditorLoaded = false;
    document.Modified = false;
}

bool IsUntouchedStarter(const Document& document) {
    if (document.StarterFile.empty() || document.StarterFile != document.CurrentFile) return false;
    const ReadResult read = ReadWholeFile(document.StarterFile);
    return read.status == ReadStatus::Ok && read.data == document.StarterBytes;
}

void MarkModified(Document& document) {
    if (document.EditorLoaded) document.Modified = true;
}

}  // namespace pagelark
