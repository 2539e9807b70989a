// pagelark-tso: shows and re-saves presentation files with the kiosk's own document code.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "core/screen_schedule.h"
#include "model/page_schedule.h"
#include "model/presentation.h"
#include "model/product.h"
#include "model/toolbar_buttons.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_io.h"
#include "platform/log.h"
#include "playlog/play_log.h"
#include "settings/registry_store.h"
#include "settings/setting_table.h"
#include "settings/settings.h"
#include "storage/document.h"
#include "storage/document_session.h"
#include "storage/file_utils.h"
#include "storage/presentation_file.h"
#include "tsotool/json.h"
#include "tsotool/next_day.h"
#include "tsotool/playlog_summary.h"

#ifndef PAGELARK_VERSION
#define PAGELARK_VERSION "unknown"
#endif

namespace pagelark {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: pagelark-tso show FILE        print the presentation as the kiosk loads it, as JSON\n"
    "       pagelark-tso save FILE OUT    load FILE as at start-up and save it to OUT\n"
    "       pagelark-tso next FILE [--at \"YYYY-MM-DD HH:MM\"]\n"
    "                                     the pages due and the screen's hours over the day from\n"
    "                                     then (local time; default: now), the screen times from\n"
    "                                     FILE alone, not this machine's settings\n"
    "       pagelark-tso playlog [FILE...]\n"
    "                                     per page of the play log, the times shown, the time\n"
    "                                     on show and the failures (default: the kiosk's log\n"
    "                                     and its rotated files in ~/.local/state/pagelark)\n"
    "       pagelark-tso --help | --version\n";

std::string Absolute(const std::string& path, const std::string& folder) {
    return IsAbsolutePath(path) || folder.empty() ? path : folder + path;
}

// Every message to standard error: the text of a file or an argument in it reaches a terminal,
// so its control characters are written out, never obeyed.
void Complain(std::string_view message) {
    std::string line = "pagelark-tso: ";
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            line += escaped;
        } else {
            line += c;
        }
    }
    std::cerr << line << "\n";
}

// Warnings (a managed line left out, a lock that could not be read) go to standard error.
class ErrorSink final : public LogSink {
  public:
    bool Enabled(LogArea) const override { return false; }
    void Write(LogArea, std::string_view) override {}
    void Warn(LogArea, std::string_view line) override { Complain(line); }
};

int Fail(const std::string& what, const std::string& path, const std::string& reason) {
    Complain("cannot " + what + " '" + path + "': " + reason);
    return kExitFailure;
}

// The screen's hours as FILE alone gives them, read as the kiosk reads them; the load warned
// of a bad one.
PageSchedule ScreenTimes(const SettingsFile& file) {
    MachineSettings fromFile;
    Presentation unused;
    for (const SettingRow& row : SettingTable()) {
        if (row.home == Home::Both)
            TakeSetting(row, file.Read(kOptionsSection, row.name), unused, fromFile, 0.0);
    }
    return ReadScreenHours(fromFile).schedule;
}

// Loads file as the kiosk does at start-up, then runs the command on it.
int Run(const std::string& command, const std::string& file, const std::string& out,
        std::time_t at = 0) {
    const std::string startupFolder = WithTrailingSeparator(CurrentFolder());
    const std::string path = Absolute(file, startupFolder);
    const PresentationSource source = ReadPresentation(path);
    if (source.status != ReadStatus::Ok) return Fail("read", file, source.error);

    const bool show = command == "show";
    Presentation presentation;
    Document document;
    // The tool reads the machine's settings but never changes them, not even by a save.
    DocumentSession session(RegistryAccess::ReadOnly);
    Settings& settings = session.settings;
    MachineSettings machine;
    ToolbarButtons buttons;
    const HelpDocumentList help{};  // the tool shows no help pages
    DocumentContext context{settings, session.files, machine, buttons, help, startupFolder};

    // Over everything else, as the kiosk takes them at start-up.
    ManagedSettings managed = LoadManagedFolder(ManagedFolderFromEnvironment());
    settings.SetManaged(managed);
    const double now = SystemClock().Now();
    LoadMachineSettings(settings, source.file, now, machine, buttons);
    LoadPresentation(presentation, document, context, source);
    TakeManaged(settings, std::move(managed), source.file, presentation, machine, now);

    if (command == "next") {
        const Result<std::string> day = NextDayText(presentation, ScreenTimes(source.file), at);
        if (!day) {
            Complain("cannot tell the day ahead: " + day.Error());
            return kExitFailure;
        }
        std::cout << day.Value();
        std::cout.flush();
        return std::cout ? kExitOk : Fail("write", "standard output", "output error");
    }
    if (show) {
        std::cout << PresentationJson(presentation, machine, buttons, startupFolder,
                                      settings.Managed());
        std::cout.flush();
        return std::cout ? kExitOk : Fail("write", "standard output", "output error");
    }
    if (const Result<> saved =
            SavePresentation(presentation, document, context, Absolute(out, startupFolder));
        !saved)
        return Fail("write", out, saved.Error());
    return kExitOk;
}

// The play log's files, named or the kiosk's own, summed up.
int SumUpPlayLog(std::vector<std::string> files) {
    if (files.empty()) {
        const std::string folder = PlayLogFolder();
        files = PlayLogFiles(folder);
        if (files.empty()) return Fail("read", folder + "/playlog.jsonl", "no play log there");
    }
    std::vector<PlayLogText> texts;
    for (const std::string& file : files) {
        ReadResult read = ReadWholeFile(file);
        if (read.status != ReadStatus::Ok)
            return Fail("read", file, read.error.empty() ? "not a file" : read.error);
        texts.push_back({file, std::move(read.data)});
    }
    std::vector<std::string> notes;
    const Result<std::string> summary = SummarisePlayLog(texts, notes);
    if (!summary) {
        Complain(summary.Error());
        return kExitFailure;
    }
    for (const std::string& note : notes)
        Complain(note);
    std::cout << summary.Value();
    std::cout.flush();
    return std::cout ? kExitOk : Fail("write", "standard output", "output error");
}

}  // namespace
}  // namespace pagelark

int main(int argc, char** argv) {
    using namespace pagelark;
    static ErrorSink errors;
    SetLogSink(&errors);
    BinaryStandardStreams();
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "pagelark-tso " << PAGELARK_VERSION << "\n";
        return kExitOk;
    }
    if (!args.empty() && args[0] == "playlog")
        return SumUpPlayLog(std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() == 2 && args[0] == "show") return Run(args[0], args[1], "");
    if (args.size() == 3 && args[0] == "save") return Run(args[0], args[1], args[2]);
    if ((args.size() == 2 || (args.size() == 4 && args[2] == "--at")) && args[0] == "next") {
        const auto at =
            args.size() == 4 ? ParseLocalMoment(args[3]) : Result<std::time_t>(std::time(nullptr));
        if (!at) {
            Complain("--at \"" + args[3] + "\": " + at.Error());
            return kExitUsage;
        }
        return Run(args[0], args[1], "", at.Value());
    }
    std::cerr << kUsage;
    return kExitUsage;
}
