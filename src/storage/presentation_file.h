#pragma once
// Reading and writing presentation files.

#include <string>

#include "help/help_paths.h"
#include "platform/file_io.h"
#include "platform/result.h"
#include "settings/settings.h"

namespace pagelark {

class FileUtils;
class Settings;
struct Document;
struct MachineSettings;
struct Presentation;
struct ToolbarButtons;

// Everything a load or save touches besides the presentation itself.
struct DocumentContext {
    Settings& settings;
    FileUtils& files;
    MachineSettings& machine;
    ToolbarButtons& buttons;
    const HelpDocumentList& helpDocuments;
    const std::string& startupFolder;
    // The machine settings in force before an edit: a setting the file carries goes back as the
    // file held it unless machine differs from these. None: machine is what is in force.
    const MachineSettings* inForce = nullptr;
};

// A presentation file read once: its text, and what the read found.
struct PresentationSource {
    SettingsFile file;
    ReadStatus status = ReadStatus::Missing;
    std::string error;  // the system's reason when status is not Ok
    // Just written as the starter: its options count, its pages only from the next load on.
    bool starter = false;
};
PresentationSource ReadPresentation(const std::string& path);

// The presentation the file holds, from its text alone; machine gives the defaults that follow
// a machine setting. Without pages, no page, include or exclude section is read.
Presentation ParsePresentation(const SettingsFile& file, const MachineSettings& machine,
                               bool pages = true);

// An existing empty .tso file receives the starter presentation, which source then holds.
bool GiveStarter(Document& document, DocumentContext& context, PresentationSource& source);

// A file that cannot be read, or that holds text but no presentation section, loads empty
// with the document's LoadProblem saying so.
void LoadPresentation(Presentation& presentation, Document& document, DocumentContext& context,
                      const PresentationSource& source);
// Reads the file, and never gives it the starter.
void LoadPresentation(Presentation& presentation, Document& document, DocumentContext& context,
                      const std::string& path);

// Saves to path, which becomes the document's CurrentFile: the presentation with the tool bar
// buttons and screen saver settings of the context, and every other setting the file held (see
// inForce); the settings store is not written. The old file is
// replaced only once the new one is safely written; on failure it stays, CurrentFile and
// Modified stay as they were, and the reason comes back.
Result<> SavePresentation(const Presentation& presentation, Document& document,
                          DocumentContext& context, const std::string& path);

// Writes the starter presentation to file: the help's home page and its three start pages.
// Remembered as this run's starter file when written.
bool WriteTemplatePresentation(Document& document, DocumentContext& context,
                               const std::string& file);

}  // namespace pagelark
