#pragma once
// A presentation with all that loading and saving it takes: a registry in memory whose
// documents folder is a private temporary folder, and the help documents under /tmp/t/.

#include <memory>
#include <string>

#include "document/file_utils.h"
#include "document/presentation.h"
#include "document/presentation_file.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/settings.h"
#include "document/toolbar_buttons.h"
#include "platform/shares.h"
#include "support/fake_registry.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

struct DocumentWorld {
    DocumentWorld() {
        fake.Put(RegRoot::CurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 "Personal", temp.path());
    }

    TempFolder temp;
    FakeRegistry fake;
    Registry registry{fake};
    ProfileStore profiles;
    std::unique_ptr<ShareConnector> shares = SystemShareConnector();
    FileUtils files{*shares, profiles};
    Presentation p;
    Settings settings{profiles, registry, p.CurrentFile};
    MachineSettings machine;
    ToolbarButtons buttons;
    HelpDocumentList help = BuildHelpDocuments("/tmp/t/");
    std::string startupFolder = "/kiosk/";
    DocumentContext context{settings, files, machine, buttons, help, startupFolder, 0};
};

}  // namespace pagelark::testing
