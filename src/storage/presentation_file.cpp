#include "storage/presentation_file.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <span>

#include "ini/ini_document.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/address_scheme.h"
#include "model/page_schedule.h"
#include "model/page_scroll.h"
#include "model/presentation.h"
#include "model/product.h"
#include "model/toolbar_buttons.h"
#include "platform/file_io.h"
#include "platform/log.h"
#include "settings/settings.h"
#include "storage/document.h"
#include "storage/file_utils.h"

namespace pagelark {
namespace {

constexpr std::string_view kSectionSeparator = ",";

// Only a file with nothing in it receives the starter: anything a person wrote is theirs,
// even when it is no presentation the program can read.
bool HoldsNothing(std::string_view bytes) {
    return DecodeIni(bytes).text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A file with any section the program reads is a presentation; one without is somebody's
// other text.
bool HoldsPresentationSections(const std::string& sections) {
    ItemWalker walker(sections, kSectionSeparator);
    std::string section;
    while (walker.Next(section)) {
        for (std::string_view prefix :
             {kOptionsSection, std::string_view("PAGE"), std::string_view("INCLUDE"),
              std::string_view("EXCLUDE"), kToolRunPrefix, kToolNavPrefix}) {
            if (StartsWithNoCase(section, prefix)) return true;
        }
    }
    return false;
}

// The project has no web site: the header points to what is installed with the program.
std::vector<std::string> CommentLines() {
    return {";This is a " + std::string(kProductName) + " file",
            ";Use this file to create a Web kiosk, read how in the installed documentation:",
            ";    man pagelark, /usr/share/doc/pagelark/README.md"};
}

// A header either version wrote stays as the file held it, so that a file comes back byte for
// byte; any other file gets ours.
std::vector<std::string> HeaderLines(const std::optional<std::string>& diskBytes) {
    std::vector<std::string> ours = CommentLines();
    if (!diskBytes) return ours;
    std::vector<std::string> held;
    ForEachLine(DecodeIni(*diskBytes).text, [&held, &ours](std::string_view line) {
        if (held.size() < ours.size()) held.emplace_back(line);
    });
    const bool isHeader =
        held.size() == ours.size() && held[0] == ours[0] &&
        std::ranges::all_of(held, [](const std::string& line) { return line.starts_with(';'); });
    return isHeader ? held : ours;
}

void WriteButtons(IniStore& iniFiles, const std::string& file, std::span<const ToolbarButton> list,
                  std::string_view prefix, const std::string& startupFolder) {
    for (const ToolbarButton& button : list) {
        const std::string section = std::string(prefix) + button.Name;
        iniFiles.WriteString(section, "HelpTip", button.HelpTip, file);
        // Pictures beside the program travel with it.
        iniFiles.WriteString(section, "Icon", StoredIconPath(button.Icon, startupFolder), file);
        iniFiles.WriteString(section, "Visible", BoolWord(button.Visible), file);
    }
}

// Times are stored as whole seconds that fit a Long; anything else reads as the default.
std::chrono::seconds ParseSeconds(std::string_view text, std::chrono::seconds defaultValue) {
    return std::chrono::seconds{ParseLong(text, static_cast<std::int32_t>(defaultValue.count()))};
}

void WriteUrlSections(IniStore& iniFiles, const std::string& file, std::string_view prefix,
                      const std::vector<std::string>& urls) {
    for (std::size_t i = 0; i < urls.size(); ++i)
        iniFiles.WriteString(std::string(prefix) + std::to_string(i + 1), "URL", urls[i], file);
}

}  // namespace

PresentationSource ReadPresentation(const std::string& path) {
    ReadResult read = ReadWholeFile(path);
    PresentationSource source;
    source.status = read.status;
    source.error = std::move(read.error);
    source.file = SettingsFile(path, std::move(read.data));
    return source;
}

namespace {

// The presentation of the file's text, its pages, include and exclude lists from the sections
// given.
Presentation ParseSections(const SettingsFile& file, const MachineSettings& machine,
                           const std::string& sections) {
    Presentation presentation;
    auto read = [&](std::string_view section, std::string_view key) {
        return std::string(TrimBlanks(file.Read(section, key)));
    };
    MachineSettings follows = machine;
    for (const bool following : {false, true}) {
        for (const SettingRow& row : SettingTable()) {
            if (row.home == Home::Options && row.follows.empty() != following)
                TakeSetting(row, read(kOptionsSection, row.name), presentation, follows, 0.0);
        }
    }
    ItemWalker walker(sections, kSectionSeparator);
    std::string section;
    while (walker.Next(section)) {
        if (section.empty()) continue;
        if (StartsWithNoCase(section, "PAGE")) {
            std::string url = read(section, "URL");
            if (url.empty()) continue;
            PresentationPage page;
            page.URL = std::move(url);
            page.UseDefaultTime = ParseBool(read(section, "DefaultTime"), true);
            page.Time = ParseSeconds(read(section, "Time"), presentation.DefaultTime);
            for (const SettingRow& row : SettingTable()) {
                if (row.home == Home::Page)
                    row.pageSet(ParseSetting(row, read(section, row.name)), page);
            }
            presentation.Pages.push_back(std::move(page));
        } else if (StartsWithNoCase(section, "INCLUDE") || StartsWithNoCase(section, "EXCLUDE")) {
            std::string url = read(section, "URL");
            if (url.empty()) continue;
            auto& list =
                StartsWithNoCase(section, "INCLUDE") ? presentation.Include : presentation.Exclude;
            list.push_back(std::move(url));
        }
    }
    return presentation;
}

}  // namespace

Presentation ParsePresentation(const SettingsFile& file, const MachineSettings& machine,
                               bool pages) {
    return ParseSections(file, machine, pages ? SectionNames(file.Bytes(), kSectionSeparator) : "");
}

bool GiveStarter(Document& document, DocumentContext& context, PresentationSource& source) {
    const std::string& path = source.file.Path();
    if (source.status != ReadStatus::Ok || !HoldsNothing(source.file.Bytes()) ||
        ToUpper(GetExtension(path)) != kPresentationExtension)
        return false;
    if (!WriteTemplatePresentation(document, context, path)) return false;
    source.file = SettingsFile(path, document.StarterBytes);
    source.starter = true;
    return true;
}

void LoadPresentation(Presentation& presentation, Document& document, DocumentContext& context,
                      const std::string& path) {
    LoadPresentation(presentation, document, context, ReadPresentation(path));
}

void LoadPresentation(Presentation& presentation, Document& document, DocumentContext& context,
                      const PresentationSource& source) {
    const std::string& path = source.file.Path();
    // A failed write is the save's to report.
    (void)context.settings.IniFiles().FlushIniCache(path);
    document.IsDefaultFile = path == context.settings.DefaultFilePath(source.file);

    const std::string& bytes = source.file.Bytes();
    // The starter's pages show only from the next load on.
    const std::string sections = source.starter ? "" : SectionNames(bytes, kSectionSeparator);
    document.LoadProblem.clear();
    document.LoadProblemIsNote = false;
    document.DiskBytes.reset();
    document.Untitled = false;
    if (source.status == ReadStatus::Ok) {
        if (!source.starter && !HoldsPresentationSections(sections) && !HoldsNothing(bytes))
            document.LoadProblem = "holds no presentation sections";
        document.DiskBytes = bytes;
    } else if (source.status == ReadStatus::Unreadable || source.status == ReadStatus::TooLarge) {
        document.LoadProblem = "cannot be read: " + source.error;
    }
    if (!document.LoadProblem.empty()) Log(LogArea::Document, path, " ", document.LoadProblem);

    presentation = ParseSections(source.file, context.machine, sections);
    for (std::size_t i = 0; i < presentation.Pages.size(); ++i) {
        const PresentationPage& page = presentation.Pages[i];
        const std::string problem = ScheduleOf(page).problem;
        if (!problem.empty()) Warn(LogArea::Document, path, " page ", i + 1, ": ", problem);
        if (!ParseScroll(page.Scroll))
            Warn(LogArea::Document, path, " page ", i + 1, ": Scroll cannot be \"", page.Scroll,
                 "\", the page does not scroll");
        if (!page.Zoom.empty() && !ParseZoom(page.Zoom))
            Warn(LogArea::Document, path, " page ", i + 1, ": Zoom cannot be \"", page.Zoom,
                 "\", taken as the presentation's (", presentation.Zoom, " %)");
    }
    if (const std::string why = WhyNotLoaded(presentation.IdlePage); !why.empty())
        Warn(LogArea::Document, path, ": IdlePage \"", presentation.IdlePage,
             "\" cannot be shown (", why, "); a black page stands in");
    if (const std::string why = WhyNotLoaded(presentation.OfflinePage); !why.empty())
        Warn(LogArea::Document, path, ": OfflinePage \"", presentation.OfflinePage,
             "\" cannot be shown (", why, "); the program's own offline page stands in");
    // A key of ours the kiosk cannot read is named and taken at its default; the screen's hours
    // read as a page's do: a bad one is every day, or the whole day.
    for (const SettingRow& row : SettingTable()) {
        if (row.windowsKnows || (row.home != Home::Options && row.home != Home::Both)) continue;
        const std::string text(
            TrimBlanks(source.file.Read(kOptionsSection, std::string(row.name))));
        if (text.empty() || Acceptable(row, text)) continue;
        Warn(LogArea::Document, path, ": ", row.name, " cannot be \"", text, "\", taken as ",
             row.kind == Kind::Days         ? std::string_view("every day")
             : row.kind == Kind::HourMinute ? std::string_view("the whole day")
                                            : row.defaultText);
    }
    Log(LogArea::Document, "loaded ", path, ": ", presentation.Pages.size(), " pages");
    document.EditorLoaded = false;
    document.Modified = false;
}

Result<> SavePresentation(const Presentation& presentation, Document& document,
                          DocumentContext& context, const std::string& path) {
    IniStore& iniFiles = context.settings.IniFiles();
    const MachineSettings& machine = context.machine;

    // The new file is built whole in the INI cache and written by the final flush.
    const std::string previousFile = document.CurrentFile;
    document.CurrentFile = path;

    // The [Tessaro] keys the file held, as it held them.
    std::optional<IniDocument> before;
    std::vector<IniKeyLine> held;
    if (document.DiskBytes) held = before.emplace(*document.DiskBytes).KeyLines(kOptionsSection);
    // Lines end as in the file read (LF lines stay LF); a new presentation's as Windows writes.
    iniFiles.ReplaceIniFile(path, HeaderLines(document.DiskBytes),
                            before ? before->LineEnd() : kIniLineEnd);
    const auto heldText = [&held](std::string_view key) -> std::optional<std::string> {
        for (const IniKeyLine& line : held) {
            if (EqualsNoCase(line.key, key)) return std::string(TrimBlanksAndTabs(line.value));
        }
        return std::nullopt;
    };
    // A managed value is never written: the file keeps its own, or none when it had none.
    const ManagedSettings& managed = context.settings.Managed();
    const auto option = [&](std::string_view key, const std::string& value) {
        if (managed.Find(key) == nullptr) {
            iniFiles.WriteString(kOptionsSection, key, value, path);
        } else if (const auto own = heldText(key)) {
            iniFiles.WriteString(kOptionsSection, key, *own, path);
        }
    };
    for (const SettingRow& row : SettingTable()) {
        if (row.save == SaveRule::Always) option(row.name, StoredText(row, presentation, machine));
    }

    // Any other setting the file held goes back as it stood, unless the operator changed it.
    const auto edited = EditedTexts(machine);
    const auto inForce = context.inForce != nullptr ? EditedTexts(*context.inForce) : edited;
    for (const IniKeyLine& line : held) {
        const SettingRow* row = FindSetting(line.key);
        if (row != nullptr && row->save != SaveRule::Held) continue;
        std::string text(TrimBlanksAndTabs(line.value));
        // A presentation's own option goes back as the model holds it now; one of ours as the
        // file held it while it reads the same (a bad one too, named at every load).
        if (row != nullptr && row->home == Home::Options && managed.Find(line.key) == nullptr &&
            (row->windowsKnows || ParseSetting(*row, text) != row->get(presentation, machine)))
            text = StoredText(*row, presentation, machine);
        for (std::size_t i = 0; i < edited.size() && managed.Find(line.key) == nullptr; ++i) {
            if (EqualsNoCase(edited[i].first, line.key) && edited[i].second != inForce[i].second)
                text = edited[i].second;
        }
        iniFiles.WriteString(kOptionsSection, line.key, text, path);
    }
    // Settings the Windows version does not know: a file that did not hold them gets them
    // only when they are not the defaults.
    for (const SettingRow& row : SettingTable()) {
        if (row.windowsKnows || (row.home != Home::Both && row.home != Home::Options) ||
            heldText(row.name))
            continue;
        const SettingValue value = row.get(presentation, machine);
        if (value != DefaultValue(row)) option(row.name, StoredText(row, value));
    }

    // A page's own time is left out when it is the default time the file keeps, which a
    // managed one is not.
    const std::chrono::seconds fileDefault =
        managed.Find("DefaultTime") == nullptr
            ? presentation.DefaultTime
            : std::chrono::seconds{std::get<std::int64_t>(
                  ParseSetting(*FindSetting("DefaultTime"), heldText("DefaultTime").value_or("")))};
    for (std::size_t i = 0; i < presentation.Pages.size(); ++i) {
        const PresentationPage& page = presentation.Pages[i];
        const std::string section = "Page" + std::to_string(i + 1);
        iniFiles.WriteString(section, "URL", page.URL, path);
        if (!page.UseDefaultTime) {
            iniFiles.WriteString(section, "DefaultTime", "False", path);
            if (page.Time != fileDefault)
                iniFiles.WriteString(section, "Time", std::to_string(page.Time.count()), path);
        }
        // Unknown to the Windows version: only what the page has, which is what its file held.
        for (const SettingRow& row : SettingTable()) {
            if (row.home != Home::Page) continue;
            const SettingValue value = row.pageGet(page);
            if (value != DefaultValue(row))
                iniFiles.WriteString(section, row.name, StoredText(row, value), path);
        }
    }
    WriteUrlSections(iniFiles, path, "Include", presentation.Include);
    WriteUrlSections(iniFiles, path, "Exclude", presentation.Exclude);
    WriteButtons(iniFiles, path, context.buttons.ToolRunButtons, kToolRunPrefix,
                 context.startupFolder);
    WriteButtons(iniFiles, path, context.buttons.ToolNavButtons, kToolNavPrefix,
                 context.startupFolder);
    iniFiles.WriteString(kToolNavUrlSection, "Visible", BoolWord(context.buttons.ToolNavUrlVisible),
                         path);

    if (Result<> flushed = iniFiles.FlushIniCache(path); !flushed) {
        document.CurrentFile = previousFile;
        Log(LogArea::Document, "save of ", path, " failed: ", flushed.Error());
        return flushed;
    }
    Log(LogArea::Document, "saved ", path);
    ReadResult written = ReadWholeFile(path);
    document.DiskBytes.reset();
    if (written.status == ReadStatus::Ok) document.DiskBytes = std::move(written.data);
    document.LoadProblem.clear();
    document.LoadProblemIsNote = false;
    document.Untitled = false;
    document.Modified = false;
    return Done();
}

bool WriteTemplatePresentation(Document& document, DocumentContext& context,
                               const std::string& file) {
    const HelpDocumentList& help = context.helpDocuments;
    std::vector<std::string> lines = {"[" + std::string(kOptionsSection) + "]",
                                      "HomeURL=" + help[0]};
    for (std::size_t k = 1; k < help.size(); ++k) {
        lines.push_back("[Page" + std::to_string(k) + "]");
        // The tour opens at the guide to setting up a kiosk, not at the top of a long page.
        lines.push_back("URL=" + help[k] + (k == 1 ? "#setup" : ""));
    }
    if (!context.files.WriteLines(file, lines)) return false;
    const ReadResult written = ReadWholeFile(file);
    if (written.status != ReadStatus::Ok) return false;
    document.StarterFile = file;
    document.StarterBytes = written.data;
    return true;
}

}  // namespace pagelark
