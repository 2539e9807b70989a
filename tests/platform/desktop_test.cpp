// The desktop's answers, each from a fresh process under a desktop made for the test.

#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/xdg.h"
#include "support/temp_desktop.h"

namespace pagelark::testing {
namespace {

TEST(DesktopTest, DocumentsFolderFollowsUserDirsThenFallsBack) {
    TempDesktop desktop;
    const std::string home = desktop.temp.File("home");
    std::filesystem::create_directories(home);
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home);
    std::filesystem::create_directories(home + "/Documents");
    const std::pair<std::string_view, std::string> rows[] = {
        {"", home + "/Documents"},
        {"XDG_DOCUMENTS_DIR=\"/first\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n",
         home + "/Papers"},                                     // the last valid line wins
        {"XDG_DOCUMENTS_DIR=\"Docs\"\n", home + "/Documents"},  // not a folder the file may name
    };
    for (const auto& [text, expected] : rows) {
        desktop.temp.Write("home/.config/user-dirs.dirs", text);
        EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), expected) << text;
    }
}

TEST(DesktopTest, ExecLineBecomesACommandWithPercentOne) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"app %u %F --x", "app \"%1\" \"%1\" --x"},
        {"app \"%u\"", "app \"%1\""},  // already quoted
        {"app --icon %i %c %k 100%%", "app --icon 100%"},
    };
    for (const auto& [exec, command] : rows)
        EXPECT_EQ(ExecToCommand(exec), command) << exec;
}

TEST(DesktopTest, DefaultHtmlHandlerFollowsTheLookupOrder) {
    TempDesktop desktop;
    TempFolder& temp = desktop.temp;
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
    const std::string entry = "[Desktop Entry]\nType=Application\nName=A\n";
    temp.Write("share/applications/sys.desktop", entry + "Exec=sh\\s%U\n");
    temp.Write("share/applications/other.desktop", entry + "Exec=cat %u\n");
    temp.Write("share/applications/hidden.desktop", entry + "Exec=ls %u\nHidden=true\n");
    temp.Write("etc/mimeapps.list",
               "[Default Applications]\ntext/html = missing.desktop;sys.desktop;\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "sh \"%1\"");
    // The user's configuration comes before the system's; an entry the user hid is none.
    temp.Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=other.desktop\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "cat \"%1\"");
    temp.Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=hidden.desktop\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
}

}  // namespace
}  // namespace pagelark::testing
