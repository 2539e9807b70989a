#include "storage/presentation_file.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <span>

#include "ini/ini_document.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
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
bool HoldsNothing(const std::string& path) {
    const ReadResult read = ReadWholeFile(path);
    return read.status == ReadStatus::Ok &&
           DecodeIni(read.data).text.find_first_not_of(" \t\r\n") == std::string::npos;
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

std::vector<std::string> CommentLines() {
    return {";This is a " + std::string(kProductName) + " file",
            ";Use this file to create a Web kiosk, get the software at:",
            ";    " + std::string(kProductWebAddress)};
}

// The [Tessaro] keys every save writes, as the Windows version does, in its order.
constexpr std::string_view kWrittenKeys[] = {"HomeURL",     "AutoHome",         "AutoLoop",
                                             "DefaultTime", "ScreenSaveActive", "ScreenSaveTimeOut",
                                             "OnMouseMove"};
// Set only by hand, and left out by a save so that they fall back to their defaults.
constexpr std::string_view kHandOnlyKeys[] = {"WaitComplete", "MaxTime", "AllowRestrictions",
                                              "FirstPage"};

bool OneOf(std::string_view key, std::span<const std::string_view> keys) {
    return std::ranges::any_of(keys, [key](std::string_view k) { return EqualsNoCase(k, key); });
}

// The settings the window edits that a presentation may carry, as stored.
std::vector<std::pair<std::string_view, std::string>> EditedTexts(const MachineSettings& machine) {
    auto texts = EditedStoreTexts(machine);
    texts.emplace_back("ClearVisitorData", BoolWord(machine.ClearVisitorData));
    texts.emplace_back("OnScreenKeyboard", BoolWord(machine.OnScreenKeyboard));
    return texts;
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

void LoadPresentation(Presentation& presentation, Document& document, DocumentContext& context,
                      const std::string& path, LoadOptions options) {
    Settings& settings = context.settings;
    IniStore& iniFiles = settings.IniFiles();
    (void)iniFiles.FlushIniCache(path);  // a failed write is the save's to report
    document.IsDefaultFile = path == settings.DefaultFilePath(path);

    std::string sections;
    document.LoadProblem.clear();
    document.DiskBytes.reset();
    document.Untitled = false;
    if (FileExists(path)) {
        sections = ReadSectionNames(path, kSectionSeparator);
        bool starter = false;
        if (sections.empty() && options.writeStarter &&
            ToUpper(GetExtension(path)) == kPresentationExtension && HoldsNothing(path)) {
            // The sections read above stay the ones used: the starter's pages show only
            // from the next load on.
            starter = WriteTemplatePresentation(document, context, path);
        }
        ReadResult read = ReadWholeFile(path);
        if (read.status != ReadStatus::Ok) {
            document.LoadProblem = "cannot be read: " + read.error;
        } else {
            if (!starter && !HoldsPresentationSections(sections) && !HoldsNothing(path))
                document.LoadProblem = "holds no presentation sections";
            document.DiskBytes = std::move(read.data);
        }
    } else if (const ReadResult read = ReadWholeFile(path); read.status == ReadStatus::Unreadable) {
        document.LoadProblem = "cannot be read: " + read.error;  // there, but not for us
    }
    if (!document.LoadProblem.empty()) Log(LogArea::Document, path, " ", document.LoadProblem);

    auto read = [&](std::string_view section, std::string_view key) {
        return std::string(TrimBlanks(iniFiles.ReadString(section, key, path)));
    };
    presentation.HomeURL = read(kOptionsSection, "HomeURL");
    if (presentation.HomeURL.empty()) presentation.HomeURL = "about:blank";
    presentation.AutoHome = ParseBool(read(kOptionsSection, "AutoHome"), false);
    presentation.AutoLoop = ParseBool(read(kOptionsSection, "AutoLoop"), true);
    presentation.DefaultTime =
        ParseSeconds(read(kOptionsSection, "DefaultTime"), std::chrono::seconds{10});
    presentation.WaitComplete = ParseBool(read(kOptionsSection, "WaitComplete"), true);
    presentation.MaxTime =
        ParseSeconds(read(kOptionsSection, "MaxTime"), context.machine.ScreenSaveTimeOut);
    presentation.AllowRestrictions = ParseBool(read(kOptionsSection, "AllowRestrictions"), true);

    presentation.Pages.clear();
    presentation.Include.clear();
    presentation.Exclude.clear();
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
            presentation.Pages.push_back(std::move(page));
        } else if (StartsWithNoCase(section, "INCLUDE") || StartsWithNoCase(section, "EXCLUDE")) {
            std::string url = read(section, "URL");
            if (url.empty()) continue;
            auto& list =
                StartsWithNoCase(section, "INCLUDE") ? presentation.Include : presentation.Exclude;
            list.push_back(std::move(url));
        }
    }

    presentation.FirstPage = ParseLong(read(kOptionsSection, "FirstPage"), 1);
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
    iniFiles.ReplaceIniFile(path, CommentLines(), before ? before->LineEnd() : kIniLineEnd);
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
    option("HomeURL", presentation.HomeURL);
    option("AutoHome", BoolWord(presentation.AutoHome));
    option("AutoLoop", BoolWord(presentation.AutoLoop));
    option("DefaultTime", std::to_string(presentation.DefaultTime.count()));
    option("ScreenSaveActive", BoolWord(machine.ScreenSaveActive));
    option("ScreenSaveTimeOut", std::to_string(machine.ScreenSaveTimeOut.count()));
    option("OnMouseMove", std::to_string(static_cast<int>(machine.OnMouseMove)));

    // Any other setting the file held goes back as it stood, unless the operator changed it.
    const auto edited = EditedTexts(machine);
    const auto inForce = context.inForce != nullptr ? EditedTexts(*context.inForce) : edited;
    for (const IniKeyLine& line : held) {
        if (OneOf(line.key, kWrittenKeys) || OneOf(line.key, kHandOnlyKeys)) continue;
        std::string text(TrimBlanksAndTabs(line.value));
        for (std::size_t i = 0; i < edited.size() && managed.Find(line.key) == nullptr; ++i) {
            if (EqualsNoCase(edited[i].first, line.key) && edited[i].second != inForce[i].second)
                text = edited[i].second;
        }
        iniFiles.WriteString(kOptionsSection, line.key, text, path);
    }
    // The Windows version knows neither: a file that did not hold them gets them only when
    // they are not the defaults.
    if (!heldText("ClearVisitorData") && !machine.ClearVisitorData)
        option("ClearVisitorData", BoolWord(machine.ClearVisitorData));
    if (!heldText("OnScreenKeyboard") && machine.OnScreenKeyboard)
        option("OnScreenKeyboard", BoolWord(machine.OnScreenKeyboard));

    // A page's own time is left out when it is the default time the file keeps, which a
    // managed one is not.
    const std::chrono::seconds fileDefault =
        managed.Find("DefaultTime") == nullptr
            ? presentation.DefaultTime
            : ParseSeconds(heldText("DefaultTime").value_or(""), std::chrono::seconds{10});
    for (std::size_t i = 0; i < presentation.Pages.size(); ++i) {
        const PresentationPage& page = presentation.Pages[i];
        const std::string section = "Page" + std::to_string(i + 1);
        iniFiles.WriteString(section, "URL", page.URL, path);
        if (!page.UseDefaultTime) {
            iniFiles.WriteString(section, "DefaultTime", "False", path);
            if (page.Time != fileDefault)
                iniFiles.WriteString(section, "Time", std::to_string(page.Time.count()), path);
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

    if (Result<> written = iniFiles.FlushIniCache(path); !written) {
        document.CurrentFile = previousFile;
        Log(LogArea::Document, "save of ", path, " failed: ", written.Error());
        return written;
    }
    Log(LogArea::Document, "saved ", path);
    ReadResult written = ReadWholeFile(path);
    document.DiskBytes.reset();
    if (written.status == ReadStatus::Ok) document.DiskBytes = std::move(written.data);
    document.LoadProblem.clear();
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
        lines.push_back("URL=" + help[k]);
    }
    if (!context.files.WriteLines(file, lines)) return false;
    const ReadResult written = ReadWholeFile(file);
    if (written.status != ReadStatus::Ok) return false;
    document.StarterFile = file;
    document.StarterBytes = written.data;
    return true;
}

}  // namespace pagelark
