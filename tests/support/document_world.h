#pragma once
// A presentation with all that loading and saving it takes: a settings store and a documents
// folder in a private temporary folder, and the help documents under /tmp/t/.

#include <memory>
#include <string>

#include "ini/ini_store.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "platform/windows_only/shares.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "storage/document.h"
#include "storage/file_utils.h"
#include "storage/presentation_file.h"
#include "support/store_files.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

struct DocumentWorld {
    DocumentWorld() { settings.SetDocumentsFolder(temp.path()); }

    TempFolder temp;
    StoreFiles fake{temp.File("registry")};
    Registry registry{fake};
    IniStore iniFiles;
    std::unique_ptr<ShareConnector> shares = SystemShareConnector();
    FileUtils files{*shares, iniFiles};
    Presentation p;
    Document d;  // the file p is edited in
    Settings settings{iniFiles, registry};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help = BuildHelpDocuments("/tmp/t/");
    std::string startupFolder = "/kiosk/";
    DocumentContext context{settings, files, machine, buttons, help, startupFolder};
};

}  // namespace pagelark::testing
