// Writes a picture of each tab of the configuration window, as the README shows them:
//     QT_QPA_PLATFORM=offscreen build/tools/config_screenshots docs

#include <QApplication>
#include <QTabWidget>
#include <iostream>

#include "config/config_window.h"
#include "config/qt_file_dialogs.h"
#include "document/document_session.h"
#include "document/presentation.h"
#include "document/presentation_file.h"
#include "platform/clock.h"
#include "support/temp_folder.h"

int main(int argc, char** argv) {
    using namespace pagelark;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: config_screenshots FOLDER\n";
        return 2;
    }
    const testing::TempFolder folder;
    Presentation presentation;
    presentation.CurrentFile = "/srv/kiosk/Lobby.tso";
    presentation.HomeURL = "https://intranet.example.org/";
    presentation.Pages = {{"https://intranet.example.org/news"},
                          {"https://intranet.example.org/menu", false, 20},
                          {"https://weather.example.org/today"}};
    presentation.Include = {"https://intranet.example.org/", "https://weather.example.org/"};
    presentation.Exclude = {"https://intranet.example.org/admin"};
    DocumentSession session(presentation.CurrentFile, folder.File("registry"));
    MachineSettings machine;
    machine.EMail = "kiosk@example.org";
    machine.AutoReboot = true;
    machine.RebootHour = 4;
    machine.RebootMinute = 30;
    ToolbarButtons buttons;
    CreateButtonLists(buttons);
    for (auto* list : {&buttons.ToolRunButtons[0], &buttons.ToolNavButtons[0]})
        list->Visible = true;
    const HelpDocumentList help{};
    const std::string startupFolder = folder.path() + "/";
    DocumentEvents events;
    DocumentContext context{session.settings, session.files, machine, buttons, help,
                            startupFolder,    events,        0};
    QtFileDialogs dialogs;
    const SystemClock clock;
    ConfigWindowWidget window(ConfigContext{presentation, context, dialogs, clock, {}, {}});
    window.Open();
    const char* const names[kConfigTabs] = {"general",  "pages",    "include", "exclude",
                                            "tool-run", "tool-nav", "reboot",  "about"};
    for (int tab = 1; tab <= kConfigTabs; ++tab) {
        window.SelectTab(tab);
        QApplication::processEvents();
        const QString file = QString("%1/config-%2.png").arg(argv[1], names[tab - 1]);
        if (!window.grab().save(file)) {
            std::cerr << "cannot write " << file.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
