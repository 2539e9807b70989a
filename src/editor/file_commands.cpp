#include "editor/file_commands.h"

#include "model/product.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/setting_table.h"
#include "storage/presentation_file.h"

namespace pagelark {
namespace {

std::string LowerExtension() {
    return ToLower(kPresentationExtension);
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The edited document's own context: its buttons and settings, and those in force.
struct EditedContext {
    EditedContext(DocumentContext& live, EditedDocument& edited)
        : context{live.settings,      live.files,         edited.machine, edited.buttons,
                  live.helpDocuments, live.startupFolder, &live.machine} {}
    DocumentContext context;
};

// The file at path with the buttons and screen saver settings it holds; none replaces the
// edited document when the file is no presentation.
bool LoadInto(EditedDocument& edited, DocumentContext& context, FileDialogs& dialogs,
              const std::string& path) {
    EditedDocument opened = edited;
    EditedContext own(context, opened);
    opened.document.CurrentFile = path;
    PresentationSource source = ReadPresentation(path);
    GiveStarter(opened.document, own.context, source);
    LoadPresentation(opened.presentation, opened.document, own.context, source);
    if (!opened.document.LoadProblem.empty()) {
        dialogs.ShowError(Quoted(path) + " " + opened.document.LoadProblem + ".");
        return false;
    }
    ReadFileSettings(context.settings, source.file, opened.machine, opened.buttons);
    edited = std::move(opened);
    return true;
}

// Someone else wrote the file since it was loaded or saved here.
bool ChangedOnDisk(const Document& document) {
    const ReadResult now = ReadWholeFile(document.CurrentFile);
    if (now.status == ReadStatus::Missing) return false;
    return !document.DiskBytes || now.status != ReadStatus::Ok || now.data != *document.DiskBytes;
}

enum class Saved { Nothing, FileOnly, All };

// Nothing counts as saved unless it was written; the operator learns where and why not.
Saved SaveTo(EditedDocument& edited, DocumentContext& context, FileDialogs& dialogs,
             const std::string& path) {
    EditedContext own(context, edited);
    if (const Result<> saved =
            SavePresentation(edited.presentation, edited.document, own.context, path);
        !saved) {
        dialogs.ShowError("The presentation could not be saved to " + Quoted(path) + ": " +
                          saved.Error());
        return Saved::Nothing;
    }
    // The file holds the presentation, its buttons and the screen saver's settings.
    context.buttons = edited.buttons;
    CopyFileSettings(edited.machine, context.machine);
    // Unlocking (or locking) must not wait for the next start.
    context.machine.Locked = edited.machine.Locked;

    Settings& settings = context.settings;
    const bool defaultManaged = settings.Managed().Find("DefaultFile") != nullptr;
    Result<> written = WriteEditedMachineSettings(settings, edited.machine);
    if (written && edited.document.IsDefaultFile && !defaultManaged)
        written = settings.WriteMachineSetting("DefaultFile", path);
    if (!written) {
        dialogs.ShowError("The settings could not be saved to " + written.Error());
        return Saved::FileOnly;
    }
    context.machine = edited.machine;
    return Saved::All;
}

}  // namespace

FileCommandResult FileCommand(FileCommandId command, EditedDocument& edited,
                              DocumentContext& context, FileDialogs& dialogs,
                              const std::function<bool()>& keep) {
    Document& document = edited.document;
    // Set once the show took a save, the one asked for before New or Open included.
    bool showSaved = false;
    const auto result = [&showSaved](bool done, bool refill = false) {
        return FileCommandResult{done, refill, showSaved};
    };
    if ((command == FileCommandId::New || command == FileCommandId::Open) && document.Modified) {
        switch (dialogs.AskSaveChanges("Save changes to " + Quoted(document.CurrentFile) + "?")) {
            case Answer::Yes: {
                // Replacing the document after a failed or cancelled save would lose the changes.
                const FileCommandResult saved =
                    FileCommand(FileCommandId::Save, edited, context, dialogs, keep);
                if (!saved.done) return saved;
                showSaved = saved.showSaved;
                break;
            }
            case Answer::No:
                break;
            case Answer::Cancel:
                return {};
        }
    }
    if ((command == FileCommandId::Save || command == FileCommandId::SaveAs) && keep && !keep())
        return {};
    if (command == FileCommandId::Save) {
        const std::string& file = document.CurrentFile;
        // New's name may belong to a file nobody opened here: the dialog asks before
        // overwriting it. A note was told when the window opened.
        if (file.empty() || (document.Untitled && FileExists(file)) || document.LoadProblemIsNote) {
            command = FileCommandId::SaveAs;
        } else if (!document.LoadProblem.empty()) {
            dialogs.ShowError(Quoted(file) + " " + document.LoadProblem +
                              ": save the presentation under another name.");
            command = FileCommandId::SaveAs;
        } else if (ChangedOnDisk(document)) {
            switch (dialogs.AskReload(Quoted(file) +
                                      " was changed on disk since it was opened here. Reload it "
                                      "and drop the changes made here? No saves over it.")) {
                case Answer::Yes:
                    return result(false, LoadInto(edited, context, dialogs, file));
                case Answer::No:
                    break;
                case Answer::Cancel:
                    return {};
            }
        }
    }

    std::string path = document.CurrentFile;
    switch (command) {
        case FileCommandId::New:
            document.CurrentFile =
                context.settings.DocumentsFolder() + "NoName." + LowerExtension();
            NewPresentation(edited.presentation);
            NewDocument(document);
            return result(true, true);
        case FileCommandId::Open:
            path = dialogs.OpenFileDialog("", "", kPresentationFilter, "File Open");
            if (path.empty() || !LoadInto(edited, context, dialogs, path)) return result(false);
            return result(true, true);
        case FileCommandId::Save:
            break;
        case FileCommandId::SaveAs:
            path =
                dialogs.SaveFileDialog("", FileNamePart(document.CurrentFile), kPresentationFilter,
                                       "." + LowerExtension(), "File Save As");
            if (path.empty()) return result(false);
            break;
    }
    const Saved saved = SaveTo(edited, context, dialogs, path);
    showSaved = saved != Saved::Nothing;
    return result(saved == Saved::All);
}

}  // namespace pagelark
