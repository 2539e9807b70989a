#pragma once
// The address check run before every navigation of the stage's browsers, and the rule that
// decides whether a navigation counts as user activity. Pure functions of their arguments.

#include <string_view>

namespace pagelark {

struct Presentation;

// entry is a prefix of address, ignoring letter case; an empty entry matches nothing.
// No wildcards and no parsing: "example.org" never matches "http://example.org/".
bool PrefixMatches(std::string_view entry, std::string_view address);

// The address lies in the help folder, given as a path (no trailing separator) or as the
// file URL the browser engine reports for it; whole path components are compared.
bool InHelpFolder(std::string_view address, std::string_view helpFolder);

// An address with a user name or password before its host ("http://a.example@b.example/").
bool HasUserInfo(std::string_view address);
// The engine's own inner pages: page source, its settings pages, developer tools.
bool IsEnginePage(std::string_view address);

// True when the presentation's include and exclude lists refuse the address. Nothing is
// refused while AllowRestrictions is off. The help folder passes the include list (the
// start page and the help must stay reachable) but not the exclude list: exclusion wins.
// While the include list applies, an address with a user name or password is refused; the
// engine's inner pages are refused unless the include list names them.
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
