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

class RecordingEvents final : public DocumentEvents {
  public:
    bool EditorOpen() const override { return editorOpen; }
    void RefillEditor() override { ++refills; }
    void AfterSave() override { ++saves; }
    bool editorOpen = false;
    int refills = 0;
    int saves = 0;
};

struct DocumentWorld {
    DocumentWorld() { settings.SetDocumentsFolder(temp.path()); }

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
    RecordingEvents events;
    DocumentContext context{settings, files, machine, buttons, help, startupFolder, events};
};

}  // namespace pagelark::testing
