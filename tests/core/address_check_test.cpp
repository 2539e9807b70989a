#include "core/address_check.h"

#include <gtest/gtest.h>

#include "document/presentation.h"
#include "document/settings.h"

namespace pagelark {
namespace {

constexpr std::string_view kHelp = "/run/user/1000/Pagelark";

bool Blocked(const Presentation& p, std::string_view address) {
    return NavigationBlocked(p, address, kHelp);
}

TEST(PrefixTest, IgnoresCaseButNothingElse) {
    EXPECT_TRUE(PrefixMatches("http://shop.example", "HTTP://Shop.Example/cart"));
    EXPECT_FALSE(PrefixMatches("http://shop.example/cart/", "http://shop.example/cart"));
    EXPECT_FALSE(PrefixMatches("shop.example", "http://shop.example/"));
    EXPECT_FALSE(PrefixMatches("", "http://shop.example/"));
}

TEST(NavigationBlockedTest, NothingIsRefusedWhileRestrictionsAreOff) {
    Presentation p;
    p.AllowRestrictions = false;
    p.Include = {"http://allowed/"};
    p.Exclude = {"http://evil/"};
    EXPECT_FALSE(Blocked(p, "http://evil/x"));
    EXPECT_FALSE(Blocked(p, "http://elsewhere/"));
}

TEST(NavigationBlockedTest, IncludeListAdmitsOnlyItsPrefixes) {
    Presentation p;
    p.Include = {"http://a.example/", "http://b.example/shop"};
    EXPECT_FALSE(Blocked(p, "HTTP://A.EXAMPLE/index.html"));
    EXPECT_FALSE(Blocked(p, "http://b.example/shop/item"));
    EXPECT_TRUE(Blocked(p, "http://b.example/"));
    EXPECT_TRUE(Blocked(p, "https://a.example/"));
}

TEST(NavigationBlockedTest, EmptyIncludeListAdmitsAllButTheExcluded) {
    Presentation p;
    p.Exclude = {"http://evil.example"};
    EXPECT_FALSE(Blocked(p, "http://anything.example/"));
    EXPECT_TRUE(Blocked(p, "http://EVIL.example/page"));
}

TEST(NavigationBlockedTest, ExclusionWinsOverInclusionAndTheHelpFolder) {
    Presentation p;
    p.Include = {"http://a.example/"};
    p.Exclude = {"http://a.example/admin", "file:///run/user/1000/Pagelark/link"};
    EXPECT_TRUE(Blocked(p, "http://a.example/admin/users"));
    EXPECT_FALSE(Blocked(p, "/run/user/1000/Pagelark/index.html"));
    EXPECT_FALSE(Blocked(p, "file:///run/user/1000/pagelark/documentation.html"));
    EXPECT_TRUE(Blocked(p, "file:///run/user/1000/Pagelark/link.html"));
    EXPECT_TRUE(Blocked(p, "file:///run/user/1000/other.html"));
}

TEST(NavigationBlockedTest, NoHelpFolderLetsNoFileThrough) {
    Presentation p;
    p.Include = {"http://a.example/"};
    EXPECT_TRUE(NavigationBlocked(p, "file:///etc/passwd", ""));
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
