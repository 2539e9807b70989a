#pragma once
// The address check run before every navigation of the stage's browsers, and the rule that
// decides whether a navigation counts as user activity. Pure functions of their arguments.

#include <string>
#include <string_view>

namespace pagelark {

struct Presentation;

// entry is a prefix of address, ignoring letter case; an empty entry matches nothing.
// No wildcards and no parsing: "example.org" never matches "http://example.org/".
bool PrefixMatches(std::string_view entry, std::string_view address);

// The address as a web server or the file system resolves it, for comparing with list
// entries: repeated slashes and "." and ".." segments of its path resolved, escaped letters,
// digits and "-._~" unescaped, a scheme's default port dropped. Query and fragment are kept;
// an address without "//" after its scheme is kept as it is.
std::string NormalizeAddress(std::string_view address);

// The address lies in the help folder, given as a path (no trailing separator) or as the
// file URL the browser engine reports for it; whole path components are compared. The folder
// itself and a path ending in "/" are not in it: the engine would list their files.
bool InHelpFolder(std::string_view address, std::string_view helpFolder);

// What a page loads of the machine's files, beside its own top-level document.
enum class LocalLoad {
    ScriptRead,  // a request whose answer a script reads (XMLHttpRequest, fetch)
    Document,    // a frame or embedded object, whose content a script of the page can read
    Display,     // pictures, styles, fonts, media and scripts, which a page only shows or runs
};
// Whether a page at pagePath (a local path; empty for a web page) may load the local file at
// filePath: scripts never read a file; frames and objects only from the page's own folder
// and below; what is displayed from anywhere, so a page's "../pictures" keep working.
bool LocalLoadAllowed(LocalLoad kind, std::string_view pagePath, std::string_view filePath);

// An address with a user name or password before its host ("http://a.example@b.example/").
bool HasUserInfo(std::string_view address);
// The engine's own inner pages: page source, its settings pages, developer tools.
bool IsEnginePage(std::string_view address);

// True when the presentation's include and exclude lists refuse the address, or it is a listing
// of the help folder or a folder in it. Nothing else is refused while AllowRestrictions is off.
// Address and entries are compared normalized, so "http://a//private" meets the entry
// "http://a/private". The help folder passes the include list (the start page and the help must
// stay reachable) but not the exclude list: exclusion wins. While the include list applies, an
// address with a user name or password is refused; the engine's inner pages are refused unless the
// include list names them.
bool NavigationBlocked(const Presentation& presentation, std::string_view address,
                       std::string_view helpFolder);

// address is one of the comma-separated addresses of specialURL, ignoring letter case.
bool IsSpecialURL(std::string_view specialURL, std::string_view address);

// A navigation counts as activity only in navigation mode, and not when it goes to the
// address the program itself sent that browser or to one of the special addresses (the
// page a cancelled navigation shows).
bool CountsAsActivity(bool navigationMode, std::string_view address, std::string_view sentAddress,
                      std::string_view specialURL);

}  // namespace pagelark
