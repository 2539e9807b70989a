#include "core/address_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/presentation.h"
#include "document/settings.h"

namespace pagelark {
namespace {

constexpr std::string_view kHelp = "/run/user/1000/Pagelark";

TEST(NavigationBlockedTest, IncludeExcludeAndTheHelpFolder) {
    const std::vector<std::string> none, in{"http://a/", "http://b/shop"},
        out{"http://a/admin", "file:///run/user/1000/Pagelark/link"};
    const struct {
        std::vector<std::string> include, exclude;
        const char* address;
        bool blocked;
    } cases[] = {{in, none, "HTTP://A/index.html", false},
                 {in, none, "http://b/", true},
                 {in, none, "https://a/", true},
                 {none, out, "http://elsewhere/", false},
                 {none, {""}, "http://a/", false},  // a blank entry excludes nothing
                 // The help folder is admitted as if included, yet exclusion wins over both.
                 {in, out, "http://a/admin/users", true},
                 {in, out, "/run/user/1000/Pagelark/index.html", false},
                 {in, out, "file:///run/user/1000/pagelark/documentation.html", false},
                 {in, out, "file:///run/user/1000/Pagelark/link.html", true},
                 {in, out, "file:///run/user/1000/other.html", true},
                 // Whole path components only: neither a sibling nor a climb out is inside.
                 {in, none, "file:///run/user/1000/PagelarkEvil/page.html", true},
                 {in, none, "/run/user/1000/Pagelark/../secret.html", true},
                 // A user name before the host goes elsewhere than it looks.
                 {in, none, "http://a/@elsewhere/", false},
                 {in, none, "http://a@elsewhere/", true},
                 {in, none, "http://a:pw@a/", true},
                 {none, none, "http://a@elsewhere/", false},
                 // The engine's inner pages only when listed.
                 {none, none, "view-source:http://a/", true},
                 {none, none, "chrome://gpu", true},
                 {{"devtools://"}, none, "DevTools://devtools/inspector.html", false}};
    Presentation p;
    for (const auto& c : cases) {
        p.Include = c.include;
        p.Exclude = c.exclude;
        EXPECT_EQ(NavigationBlocked(p, c.address, kHelp), c.blocked) << c.address;
    }
    EXPECT_TRUE(NavigationBlocked(p, "file:///etc/passwd", ""));  // no help folder, no files
    p.AllowRestrictions = false;
    EXPECT_FALSE(NavigationBlocked(p, "http://a/admin", kHelp));
    EXPECT_FALSE(NavigationBlocked(p, "http://elsewhere/", kHelp));
}

TEST(ActivityTest, SpecialAndSentAddressesAreNotActivity) {
    const std::string special(kDefaultSpecialURL);
    EXPECT_TRUE(CountsAsActivity(true, "http://new/", "http://sent/", special));
    EXPECT_FALSE(CountsAsActivity(true, "ABOUT:navigationcanceled", "http://sent/", special));
    EXPECT_FALSE(CountsAsActivity(true, "HTTP://SENT/", "http://sent/", special));
    EXPECT_FALSE(CountsAsActivity(false, "http://new/", "http://sent/", special));
    // Whole items only, and a list without its final comma still has its last item.
    EXPECT_TRUE(CountsAsActivity(true, "about:Navigation", "", special));
    EXPECT_FALSE(CountsAsActivity(true, "about:blank", "", "about:x,about:blank"));
}

}  // namespace
}  // namespace pagelark
