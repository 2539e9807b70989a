// Writes a picture of each tab of the configuration window, as the README shows them, and
// with a second folder also the help's pictures of the window, its buttons and the
// properties dialog in each mode (tools/make_help_pictures.sh turns them into GIFs):
//     QT_QPA_PLATFORM=offscreen build/tools/config_screenshots docs [FOLDER]
// Beside the pictures, FOLDER/pictures.txt names the controls each shows; the pictures test
// compares it with the committed one, so a control added or removed asks for new pictures.
// tools/make_pictures.sh runs it and the rest.

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <fstream>
#include <iostream>
#include <sstream>

#include "config/config_window.h"
#include "config/props_dialog.h"
#include "config/qt_file_dialogs.h"
#include "model/presentation.h"
#include "platform/clock.h"
#include "storage/document_session.h"
#include "storage/presentation_file.h"
#include "support/recording_commands.h"
#include "support/temp_folder.h"

namespace {

// No show behind the window: no page on show, nothing to tell.
class NoShow final : public pagelark::ConfigEvents {
  public:
    void ConfigShown() override {}
    std::string CurrentLocation() const override { return {}; }
    void ShowInStage(const std::string&) override {}
    void ConfigClosed(bool) override {}
};

// One line a picture: its file name, then the object names of the controls it shows, sorted.
std::ostringstream manifest;

bool Save(QWidget& widget, const QString& file) {
    QStringList names;
    for (const QWidget* child : widget.findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_") && child->isVisibleTo(&widget))
            names << name;
    }
    names.sort();
    names.removeDuplicates();
    manifest << file.section('/', -1).toStdString() << ":";
    for (const QString& name : names)
        manifest << " " << name.toStdString();
    manifest << "\n";
    if (widget.grab().save(file)) return true;
    std::cerr << "cannot write " << file.toStdString() << "\n";
    return false;
}

int WriteManifest(const char* folder) {
    std::ofstream out(std::string(folder) + "/pictures.txt", std::ios::binary);
    out << manifest.str();
    return out.flush() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pagelark;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: config_screenshots FOLDER [HELP-FOLDER]\n";
        return 2;
    }
    const testing::TempFolder folder;
    Show playing;
    Presentation& presentation = playing.presentation;
    playing.document.CurrentFile = "/srv/kiosk/Lobby.tso";
    presentation.HomeURL = "https://intranet.example.org/";
    presentation.Pages = {{"https://intranet.example.org/news"},
                          {"https://intranet.example.org/menu", false, std::chrono::seconds{20}},
                          {"https://weather.example.org/today"}};
    presentation.Include = {"https://intranet.example.org/", "https://weather.example.org/"};
    presentation.Exclude = {"https://intranet.example.org/admin"};
    DocumentSession session(folder.File("registry"), RegistryAccess::ReadWrite);
    MachineSettings machine;
    machine.EMail = "kiosk@example.org";
    machine.AutoReboot = true;
    machine.RebootHour = 4;
    machine.RebootMinute = 30;
    ToolbarButtons buttons;
    CreateButtonLists(buttons);
    for (ToolbarButton& button : buttons.ToolRunButtons)
        button.Visible = true;
    for (ToolbarButton& button : buttons.ToolNavButtons)
        button.Visible = true;
    const HelpDocumentList help{};
    const std::string startupFolder = folder.path() + "/";
    DocumentContext context{session.settings, session.files, machine, buttons, help, startupFolder};
    QtFileDialogs dialogs{[] { return nullptr; }};
    const SystemClock clock;
    NoShow show;
    testing::RecordingCommands commands;
    ConfigWindowWidget window(ConfigContext{[&playing]() -> const Show& { return playing; },
                                            context,
                                            dialogs,
                                            clock,
                                            show,
                                            commands,
                                            nullptr,
                                            {},
                                            {},
                                            {}});
    window.Open();
    const char* const names[kConfigTabs] = {"general",  "pages",  "include",  "exclude", "tool-run",
                                            "tool-nav", "reboot", "schedule", "about"};
    for (int tab = 1; tab <= kConfigTabs; ++tab) {
        window.SelectTab(tab);
        QApplication::processEvents();
        if (!Save(window, QString("%1/config-%2.png").arg(argv[1], names[tab - 1]))) return 1;
        // The help's list buttons are those of the page list.
        if (argc == 3 && tab == 2) {
            for (const char* button : {"Insert", "Delete", "Up", "Down", "Grab", "View", "Props"}) {
                auto* b = window.findChild<QPushButton*>(QString("cmdList") + button);
                if (b == nullptr || !Save(*b, QString("%1/button-%2.png").arg(argv[2], button)))
                    return 1;
            }
        }
    }
    if (argc == 2) return WriteManifest(argv[1]);
    for (const char* button : {"cmdOK", "cmdCancel"}) {
        auto* b = window.findChild<QPushButton*>(button);
        if (b == nullptr || !Save(*b, QString("%1/button-%2.png").arg(argv[2], button))) return 1;
    }
    WorkingLists lists = FillLists(presentation, buttons);
    const struct {
        PropsMode mode;
        int index;
        const char* name;
    } modes[] = {{PropsMode::Page, 2, "page"},       {PropsMode::Include, 1, "include"},
                 {PropsMode::Exclude, 1, "exclude"}, {PropsMode::ToolRun, 5, "toolrun"},
                 {PropsMode::ToolNav, 7, "toolnav"}, {PropsMode::UrlBox, 0, "urlbox"}};
    for (const auto& d : modes) {
        PropsDialog dialog(d.mode, lists, d.index, {dialogs, startupFolder, [] {}}, &window);
        dialog.show();
        QApplication::processEvents();
        if (!Save(dialog, QString("%1/props-%2.png").arg(argv[2], d.name))) return 1;
    }
    return WriteManifest(argv[1]);
}
