// The help site in the kiosk itself: a starter written by one run plays in the next.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

const std::string kReports = "QT_LOGGING_RULES=pagelark.stage.debug=true";

// The stage's report of a loaded page ("page ADDRESS: {...}"), or empty when none came yet.
std::string Report(const std::string& output, const std::string& address) {
    const auto at = output.find("page " + address + ": ");
    return at == std::string::npos ? "" : output.substr(at, output.find('\n', at) - at);
}

TEST_F(KioskTest, AStarterWrittenUnderOneTemporaryFolderPlaysUnderAnother) {
    const std::string first = folders_.File("first"), second = folders_.File("second run");
    for (const auto& folder : {first, second})
        std::filesystem::create_directories(folder);
    std::filesystem::permissions(first, std::filesystem::perms::owner_all);
    std::filesystem::permissions(second, std::filesystem::perms::owner_all);
    Kiosk& killed = Run({}, {"TMPDIR=" + first, kReports});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !Report(killed.Output(), "file://" + first + "/Pagelark/pagelark.html").empty();
        },
        kStartUp));
    // Gone without its orderly end, and its temporary folder with it, as after a power cut.
    ::kill(-killed.Pid(), SIGKILL);
    killed.WaitForExit(kPatience);
    std::filesystem::remove_all(first + "/Pagelark");

    Kiosk& next = Run({}, {"TMPDIR=" + second, kReports});
    for (const char* page : {"pagelark.html", "link.html", "documentation.html"})
        EXPECT_TRUE(WaitUntil(
            [&] {
                return !Report(next.Output(), "file://" + second + "/Pagelark/" + page).empty();
            },
            kStartUp))
            << page << " did not play from the second run's help folder";
}

}  // namespace
}  // namespace pagelark::e2e
