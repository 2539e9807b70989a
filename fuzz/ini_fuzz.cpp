// Feeds arbitrary bytes to the INI reader and writer as the content of a INI file, and to the
// presentation parse with the pages' schedules.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/page_schedule.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/presentation.h"
#include "settings/settings.h"
#include "storage/presentation_file.h"

namespace {

using namespace pagelark;

// One private folder per fuzzing process, removed when it ends.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/pagelark-ini-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Folder(), ignored);
        });
        return true;
    }();
    (void)cleanup;
    return folder;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = Folder() + "/input.ini";
    const std::string output = Folder() + "/output.ini";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WriteFile(input, bytes);

    const std::string separator = "\x01";
    const std::string names = ReadSectionNames(input, separator);
    std::vector<std::string> sections;
    ItemWalker walker(names, separator);
    for (std::string name; walker.Next(name);) {
        if (sections.size() < 4) sections.push_back(name);
    }

    // Any key a hand may write reads as a value or its default, a schedule as a window and a zoom
    // as one the engine can lay a page out at.
    const PresentationSource source = ReadPresentation(input);
    const Presentation presentation = ParsePresentation(source.file, MachineSettings{});
    const auto zoomable = [](std::int32_t zoom) { return zoom >= kLeastZoom && zoom <= kMostZoom; };
    Check(zoomable(presentation.Zoom));
    for (const PresentationPage& page : presentation.Pages) {
        Check(zoomable(ZoomOf(page, presentation)));
        const ScheduleRead read = ReadSchedule(page.Days, page.From, page.To);
        Check(read.schedule.from >= 0 && read.schedule.from < kMinutesPerDay);
        Check(read.schedule.to >= 0 && read.schedule.to < kMinutesPerDay);
        for (const double reading : {0.0, 46000.25, 46000.999})
            static_cast<void>(IsDue(read.schedule, reading));
    }

    {
        IniStore store;
        std::vector<std::string> tried = sections;
        tried.insert(tried.end(), {"a", "A", ""});
        for (const auto& section : tried) {
            for (const char* key : {"a", "key", "#k", "", "k"}) {
                const std::string value = store.ReadString(section, key, input);
                // Read whole; a byte decodes to at most three of UTF-8.
                Check(value.size() <= 3 * bytes.size());
                Check(value.find('\0') == std::string::npos);
            }
        }
        Check(store.FlushIniCache(input).Ok());  // nothing was written
    }

    // A write and a flush into a copy; the value must survive the trip through the disk.
    WriteFile(output, bytes);
    const std::string section = sections.empty() ? std::string("Fuzz") : sections.front();
    const bool usable = !TrimBlanksAndTabs(CutAtNul(section)).empty();
    const std::string expected = usable ? "fuzz value" : "";
    {
        IniStore store;
        store.WriteString(section, "fuzzkey", "fuzz value", output);
        Check(store.ReadString(section, "fuzzkey", output) == expected);
        Check(store.FlushIniCache(output).Ok());
    }
    {
        IniStore store;
        Check(store.ReadString(section, "FUZZKEY", output) == expected);
        if (sections.size() > 1) {
            store.DeleteIniSection(sections[1], output);
            Check(store.FlushIniCache(output).Ok());
        }
    }
    return 0;
}
