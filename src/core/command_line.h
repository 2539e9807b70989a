#pragma once
// The command line: empty (the default presentation), a presentation path, or a request
// for configuration ("CONFIG", or a switch beginning "/C" or "-C").

#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// The raw command line the rules below expect, rebuilt from the arguments the shell split:
// joined by single blanks, an argument holding a blank wrapped in double quotes.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The presentation the command line names; defaultFilePath for an empty line or a request
// for configuration.
// An unquoted path with blanks is taken whole; a quoted one may be followed by other
// arguments, which are ignored.
std::string ParseCommandLine(std::string_view raw, std::string_view defaultFilePath);

bool IsConfigCommandLine(std::string_view raw);

// Removes the browser engine's remote debugging switches ("--remote-debugging-port=9222"):
// they would open every page, and the machine with it, to whoever reaches the port. True
// when one was removed.
bool DropRemoteDebugging(std::vector<std::string>& arguments);
// The same for the engine's flags variable (blank-separated); true when one was removed.
bool DropRemoteDebugging(std::string& flags);

// The engine's flags with what a kiosk's pages must never do by touch added: a pinch zooms
// nothing and an overscroll does not go back through the history.
std::string KioskEngineFlags(std::string flags);

// The engine's flags with its console logging off, unless the logging rules (as in
// QT_LOGGING_RULES) ask for the engine's output or the flags set a log level themselves.
std::string QuietEngineFlags(std::string flags, std::string_view loggingRules);

}  // namespace pagelark
