#pragma once
// The command line: empty (the default presentation), a presentation path, a request for
// configuration ("CONFIG", or the switch /C or -C), --help or --version; and --config FILE.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// The raw command line the rules below expect, rebuilt from the arguments the shell split:
// joined by single blanks, an argument holding a blank wrapped in double quotes (unless it is
// already, as Windows passes a quoted path).
std::string JoinArguments(const std::vector<std::string>& arguments);

// The presentation the command line names; defaultFilePath for an empty line or a request
// for configuration.
// An unquoted path with blanks is taken whole; a quoted one is the text between the quotes,
// and may be followed by other arguments, which are ignored.
std::string ParseCommandLine(std::string_view raw, std::string_view defaultFilePath);

// Whether a path names a file or folder (relative paths from the current folder).
using PathExists = std::function<bool(const std::string&)>;

enum class CommandRequest { Play, Config, Help, Version, Usage };
// Config for CONFIG in any case, or the switch /C or -C alone, with ":" and a value
// (/c:1234), or written out (/config); a first word is compared without the blanks around it.
// Usage for any other option (a first word beginning with "-"); for a word after CONFIG, a
// switch, --help or --version; and for unquoted words that together name nothing (exists)
// when a later word begins with "-" or the first alone names something: the usage is
// printed. Play for the rest, which names a presentation.
CommandRequest ReadCommandLine(std::string_view raw, const PathExists& exists = {});
bool IsConfigCommandLine(std::string_view raw);

// --config FILE, taken out of the arguments before Qt reads them, so that a FILE looking like
// one of Qt's options stays a file: FILE, "" when none follows, or none without --config. Any
// argument left beside it makes the line one the program cannot take.
std::optional<std::string> TakeConfigFile(std::vector<std::string>& arguments);

// "--" ends the options: the word after it is a path, one beginning with "-" too (it is taken
// out and that word quoted, as a quoted path is taken whole).
void TakeEndOfOptions(std::vector<std::string>& arguments);
// The word a command line the program cannot take stumbles on, for the line before the usage:
// "unknown option --bogus", "unexpected word lobby.tso", or "".
std::string UnexpectedWord(const std::vector<std::string>& arguments);

// What the program answers to --help, and to a command line it cannot take.
extern const char kUsage[];

// One of the options Qt takes for itself (-platform xcb, --style=fusion, -reverse): the
// program reads the command line only once Qt has taken them.
bool IsQtOption(std::string_view argument);

// Whether a window can really be opened, asked of the machine before Qt, which aborts where
// it cannot; a probe left empty is not asked.
struct DisplayProbes {
    std::function<bool(const std::string& display)> x11Opens;       // an X server answers there
    std::function<bool(const std::string& socket)> waylandAnswers;  // a compositor listens
    std::function<std::vector<std::string>()> platforms;  // Qt's platform plugins; {}: unknown
};
// Why no window can be opened, or "": the platforms asked for (-platform's value, else
// QT_QPA_PLATFORM, a list split at ';'; else X11 or Wayland) all need a display and none is
// named (DISPLAY or -display, WAYLAND_DISPLAY, or Wayland's usual socket in XDG_RUNTIME_DIR),
// none named answers, or no plugin has the platform's name.
using Environment = std::function<std::string(const char*)>;
std::string WhyNoDisplay(const std::vector<std::string>& arguments, const Environment& variable,
                         const PathExists& exists, const DisplayProbes& probes = {});

}  // namespace pagelark
