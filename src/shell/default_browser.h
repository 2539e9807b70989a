#pragma once
// Hands an address to the system's default web browser, a separate program in a normal
// window: the desktop's default application for HTML files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// A program to start with the shell's "open" verb.
struct ShellCommand {
    std::string program;  // without its quotes
    // The browser's own options, each without its quotes, in the order they are passed.
    std::vector<std::string> options;
    std::string document;   // passed last, exactly as given
    std::string directory;  // the program's folder, "" when the path names none
};

// Starts programs as the shell's "open" verb does, in a normal window.
class Shell {
  public:
    virtual ~Shell() = default;
    // true when the program was started.
    virtual bool Open(const ShellCommand& command) = 0;
};

// The command that opens document with commandLine, a browser's command with "%1" for the
// file; nullopt when commandLine is empty. Options after the tenth field are lost.
std::optional<ShellCommand> DefaultBrowserCommand(std::string_view commandLine,
                                                  std::string_view document);

// false when the desktop names no browser or the shell could not start it. Shows no message.
bool OpenInDefaultBrowser(Shell& shell, std::string_view document);

}  // namespace pagelark
