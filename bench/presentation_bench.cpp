// Load and save of a large presentation. Prints the median of several runs.
// Targets on a 2-core machine: load of 10 000 pages under 100 ms, save under 300 ms.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"
#include "storage/document.h"
#include "storage/document_session.h"
#include "storage/presentation_file.h"

using namespace pagelark;
using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string MakeFile(int pages) {
    std::string text = "[Tessaro]\r\nHomeURL=http://home.example/\r\nDefaultTime=10\r\n";
    for (int i = 1; i <= pages; ++i) {
        text += "[Page" + std::to_string(i) + "]\r\nURL=http://pages.example/show/" +
                std::to_string(i) + ".html\r\n";
        if (i % 3 == 0) text += "DefaultTime=False\r\nTime=" + std::to_string(i % 50 + 1) + "\r\n";
    }
    for (int i = 1; i <= 50; ++i)
        text += "[Include" + std::to_string(i) + "]\r\nURL=http://pages.example/" +
                std::to_string(i) + "/\r\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    char pattern[] = "/tmp/pagelark-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string source = folder + "/source.tso";
    const std::string target = folder + "/saved.tso";
    std::ofstream(source, std::ios::binary) << MakeFile(pages);

    Presentation presentation;
    Document document;
    DocumentSession session(folder + "/registry", RegistryAccess::ReadWrite);
    Settings& settings = session.settings;
    MachineSettings machine;
    ToolbarButtons buttons;
    const std::string startupFolder = folder + "/";
    const HelpDocumentList help{};
    DocumentContext context{settings, session.files, machine, buttons, help, startupFolder};
    ReadToolbarButtons(settings, ReadSettingsFile(document.CurrentFile), buttons);

    std::vector<double> loads, saves;
    for (int run = 0; run < runs; ++run) {
        document.CurrentFile = source;
        auto start = Clock::now();
        LoadPresentation(presentation, document, context, source);
        loads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (PageCount(presentation) != pages) {
            std::fprintf(stderr, "loaded %d pages, expected %d\n", PageCount(presentation), pages);
            return 1;
        }
        start = Clock::now();
        if (const Result<> saved = SavePresentation(presentation, document, context, target);
            !saved) {
            std::fprintf(stderr, "save failed: %s\n", saved.Error().c_str());
            return 1;
        }
        saves.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("presentation of %d pages, median of %d runs\n", pages, runs);
    std::printf("  load: %8.2f ms  (target < 100 ms)\n", Median(loads));
    std::printf("  save: %8.2f ms  (target < 300 ms)\n", Median(saves));
    std::printf("  file: %8.1f KiB\n",
                static_cast<double>(std::filesystem::file_size(target)) / 1024.0);
    std::filesystem::remove_all(folder);
    return 0;
}
