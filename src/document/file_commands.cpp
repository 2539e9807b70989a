#include "document/file_commands.h"

#include "document/file_utils.h"
#include "document/presentation.h"
#include "document/presentation_file.h"
#include "document/product.h"
#include "document/settings.h"
#include "platform/text.h"

namespace pagelark {
namespace {

std::string LowerExtension() {
    return ToLower(kPresentationExtension);
}

// Nothing counts as saved unless the file was written; the operator learns where and why not.
bool SaveTo(Presentation& presentation, DocumentContext& context, FileDialogs& dialogs,
            const std::string& path) {
    std::string error;
    if (SavePresentation(presentation, context, path, error)) return true;
    dialogs.ShowError("The presentation could not be saved to \"" + path +
                      "\": " + (error.empty() ? std::string("unknown error") : error));
    return false;
}

}  // namespace

FileCommandResult FileCommand(FileCommandId command, Presentation& presentation,
                              DocumentContext& context, FileDialogs& dialogs) {
    if ((command == FileCommandId::New || command == FileCommandId::Open) &&
        presentation.Modified) {
        switch (dialogs.AskSaveChanges("Save changes to \"" + presentation.CurrentFile + "\"?")) {
            case Answer::Yes:
                // Replacing the model after a failed or cancelled save would lose the changes.
                if (!FileCommand(FileCommandId::Save, presentation, context, dialogs).done)
                    return {};
                break;
            case Answer::No:
                break;
            case Answer::Cancel:
                return {};
        }
    }
    if (command == FileCommandId::Save && presentation.CurrentFile.empty())
        command = FileCommandId::SaveAs;

    const std::string filter(kPresentationFilter);
    switch (command) {
        case FileCommandId::New:
            presentation.CurrentFile =
                context.settings.DocumentsFolder() + "NoName." + LowerExtension();
            NewPresentation(presentation, context.events);
            break;
        case FileCommandId::Open: {
            const std::string path = dialogs.OpenFileDialog("", "", filter, 0, "File Open");
            if (path.empty()) return {};
            presentation.CurrentFile = path;
            LoadPresentation(presentation, context, path);
            break;
        }
        case FileCommandId::Save:
            if (!SaveTo(presentation, context, dialogs, presentation.CurrentFile)) return {};
            break;
        case FileCommandId::SaveAs: {
            const std::string path =
                dialogs.SaveFileDialog("", FileNamePart(presentation.CurrentFile), filter, 0,
                                       "." + LowerExtension(), "File Save As");
            if (path.empty()) return {};
            if (!SaveTo(presentation, context, dialogs, path)) return {};
            break;
        }
    }
    return {true, presentation.CurrentFile + " - " + std::string(kProductName)};
}

}  // namespace pagelark
