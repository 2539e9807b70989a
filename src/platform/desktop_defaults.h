#pragma once
// What the user's desktop says: where documents go and which program opens HTML files.
// Both are read once per process, as the desktop libraries cache them.

#include <string>

namespace pagelark {

// The desktop's documents folder, else the home folder's Documents when it exists, else the
// home folder; never with a trailing slash.
std::string DocumentsFolder();

// The user's home folder ($HOME, else the password database's; the profile folder on Windows),
// read afresh each time; "" when there is none.
std::string HomeFolder();

// The command line of the default application for HTML files, with the file given as "%1";
// "" when there is none.
std::string DefaultHtmlCommand();

}  // namespace pagelark
