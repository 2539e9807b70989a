#pragma once
// The browser engine's switches: what the kiosk adds to the flags it hands the engine, and what
// it takes out of them and out of the command line.

#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// Removes the browser engine's remote debugging switches ("--remote-debugging-port=9222"):
// they would open every page, and the machine with it, to whoever reaches the port. True
// when one was removed.
bool DropRemoteDebugging(std::vector<std::string>& arguments);
// The same for the engine's flags variable (blank-separated); true when one was removed.
bool DropRemoteDebugging(std::string& flags);

// The engine's flags with what a kiosk's pages must never do by touch added: a pinch zooms
// nothing and an overscroll does not go back through the history.
std::string KioskEngineFlags(std::string flags);

// Whether Qt draws the pages on the CPU itself instead of through GL. Without a graphics
// device GL is emulated on the CPU, which costs far more memory (a compiler for shaders, a
// frame buffer per page) for the same pixels; with the engine's GPU use switched off its
// frames are drawn on the CPU anyway. A choice of drawing made in the environment stands.
bool DrawInSoftware(bool environmentChose, bool graphicsDevice, std::string_view engineFlags);
// The flags with "--disable-gpu" added when the pages are drawn on the CPU.
std::string DrawingEngineFlags(std::string flags, bool software);

// The flags with the engine's own low-memory mode added when the kiosk saves memory: the
// engine's low-end device mode, and script heaps that favour size (unless the flags set them).
std::string MemoryEngineFlags(std::string flags, bool low);

// Whether the engine will refuse to start: as root it runs only with its sandbox switched off
// (in the environment, its flags or the command line), and otherwise ends the program without
// a word.
bool EngineRefusesUser(bool root, bool sandboxOffInEnvironment, std::string_view engineFlags,
                       const std::vector<std::string>& arguments);

// The engine's flags with its console logging off, unless the logging rules (as in
// QT_LOGGING_RULES) ask for the engine's output or the flags set a log level themselves.
std::string QuietEngineFlags(std::string flags, std::string_view loggingRules);

}  // namespace pagelark
