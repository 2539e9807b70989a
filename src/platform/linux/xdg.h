#pragma once
// Freedesktop lookups behind the read-only registry values: the user's documents folder and
// the default handler for HTML files.

#include <string>
#include <string_view>

namespace pagelark {

// The variables the lookups depend on, as set (empty = unset; the defaults of the base
// directory rules apply then). Relative paths in them are ignored, as those rules ask.
struct XdgEnvironment {
    std::string Home;
    std::string ConfigHome;      // XDG_CONFIG_HOME, default Home/.config
    std::string ConfigDirs;      // XDG_CONFIG_DIRS, default /etc/xdg
    std::string DataHome;        // XDG_DATA_HOME, default Home/.local/share
    std::string DataDirs;        // XDG_DATA_DIRS, default /usr/local/share:/usr/share
    std::string CurrentDesktop;  // XDG_CURRENT_DESKTOP, for the desktop's own mimeapps.list

    // HOME falls back to the password database when unset.
    static XdgEnvironment FromProcessEnvironment();
};

// XDG_DOCUMENTS_DIR from user-dirs.dirs, else Home/Documents when that folder exists, else
// Home; never with a trailing slash. "" when there is no home.
std::string DocumentsFolder(const XdgEnvironment& env);

// The command line of the default application for text/html, with the file given as "%1";
// "" when none is set or its desktop file is not installed.
std::string DefaultHtmlCommand(const XdgEnvironment& env);

// An Exec= value (already taken out of its desktop file) as a command with "%1" for the file:
// %u %U %f %F become "%1", %% becomes %, every other field code is dropped.
std::string ExecToCommand(std::string_view exec);

}  // namespace pagelark
