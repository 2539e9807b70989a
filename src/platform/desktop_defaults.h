#pragma once
// What the user's desktop says: where documents go and which program opens HTML files (both
// read once per process, as the desktop libraries cache them), and the system's folders.

#include <string>

namespace pagelark {

// The desktop's documents folder, else the home folder's Documents when it exists, else the
// home folder; never with a trailing slash.
std::string DocumentsFolder();

// An environment variable's value as UTF-8 (on Windows getenv gives the ANSI code page's
// bytes); "" when it is not set.
std::string EnvironmentValue(const char* name);

// The user's home folder ($HOME, else the password database's; the profile folder on Windows),
// read afresh each time; "" when there is none.
std::string HomeFolder();

// Where the program keeps state of its own, such as the play log: $XDG_STATE_HOME/pagelark when
// that is absolute, else $HOME/.local/state/pagelark; on Windows Pagelark in the local
// application data folder. "" when there is none.
std::string StateFolder();

// The folder the system keeps managed settings in when none is named: /etc/pagelark/managed.d;
// none on Windows, where \etc on the current drive is a folder any user, or a stick, may bring.
std::string SystemManagedFolder();

// The command line of the default application for HTML files, with the file given as "%1";
// "" when there is none.
std::string DefaultHtmlCommand();

}  // namespace pagelark
