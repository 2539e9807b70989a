// The help site in the kiosk itself: every page shows all its pictures and links only to help
// pages or the product site, and a starter written by one run plays in the next.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>

#include "e2e/support/kiosk_fixture.h"
#include "help/help_files.h"
#include "model/product.h"

namespace pagelark::e2e {
namespace {

const std::string kReports = "QT_LOGGING_RULES=pagelark.stage.debug=true";

// The stage's report of a loaded page ("page ADDRESS: {...}"), or empty when none came yet.
std::string Report(const std::string& output, const std::string& address) {
    const auto at = output.find("page " + address + ": ");
    return at == std::string::npos ? "" : output.substr(at, output.find('\n', at) - at);
}

std::vector<std::string> HelpPages() {
    std::vector<std::string> names;
    for (const HelpFile& file : BuildHelpFileTable()) {
        if (file.type != kHtmlResource) continue;
        names.push_back(file.path.substr(file.path.rfind('/') + 1, std::string::npos));
        names.back().pop_back();  // the closing quote
    }
    return names;
}

TEST_F(KioskTest, EveryHelpPageShowsAllItsPicturesAndLinksOnlyToHelpPagesOrTheProductSite) {
    const std::string folder = folders_.TempDir() + "/Pagelark/";
    std::string show = "[Tessaro]\nDefaultTime=1\nAutoLoop=No\n";
    const auto pages = HelpPages();
    for (std::size_t k = 0; k < pages.size(); ++k)
        show += "[Page" + std::to_string(k + 1) + "]\nURL=" + folder + pages[k] + "\n";
    Kiosk& kiosk = Start(show, {kReports});
    for (const std::string& page : pages) {
        std::string report;
        ASSERT_TRUE(WaitUntil(
            [&] { return !(report = Report(kiosk.Output(), "file://" + folder + page)).empty(); },
            kStartUp))
            << page << " never loaded";
        EXPECT_NE(report.find("\"broken\":[]"), std::string::npos) << report;
        const auto links = report.find("\"links\":[");
        ASSERT_NE(links, std::string::npos) << report;
        for (auto at = report.find('"', links + 9);
             at != std::string::npos && at < report.rfind(']');
             at = report.find('"', report.find('"', at + 1) + 1)) {
            const std::string link = report.substr(at + 1, report.find('"', at + 1) - at - 1);
            EXPECT_TRUE(link.starts_with("file://" + folder) ||
                        link.starts_with(kProductWebAddress))
                << page << " links to " << link;
        }
    }
}

TEST_F(KioskTest, AStarterWrittenUnderOneTemporaryFolderPlaysUnderAnother) {
    const std::string first = folders_.File("first"), second = folders_.File("second run");
    for (const auto& folder : {first, second})
        std::filesystem::create_directories(folder);
    std::filesystem::permissions(first, std::filesystem::perms::owner_all);
    std::filesystem::permissions(second, std::filesystem::perms::owner_all);
    kiosks_.push_back(std::make_unique<Kiosk>(xvfb_, folders_, std::vector<std::string>{},
                                              std::vector{"TMPDIR=" + first, kReports}));
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !Report(kiosks_[0]->Output(), "file://" + first + "/Pagelark/pagelark.html")
                        .empty();
        },
        kStartUp));
    // Gone without its orderly end, and its temporary folder with it, as after a power cut.
    ::kill(-kiosks_[0]->Pid(), SIGKILL);
    kiosks_[0]->WaitForExit(kPatience);
    std::filesystem::remove_all(first + "/Pagelark");

    kiosks_.push_back(std::make_unique<Kiosk>(xvfb_, folders_, std::vector<std::string>{},
                                              std::vector{"TMPDIR=" + second, kReports}));
    for (const char* page : {"pagelark.html", "link.html", "documentation.html"})
        EXPECT_TRUE(WaitUntil(
            [&] {
                return !Report(kiosks_[1]->Output(), "file://" + second + "/Pagelark/" + page)
                            .empty();
            },
            kStartUp))
            << page << " did not play from the second run's help folder";
}

}  // namespace
}  // namespace pagelark::e2e
