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
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home + "/Documents");
    desktop.temp.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n");
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home + "/Papers");
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

TEST(DesktopTest, DefaultHtmlHandlerIsTheDesktopsUnlessHidden) {
    TempDesktop desktop;
    TempFolder& temp = desktop.temp;
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
    const std::string entry = "[Desktop Entry]\nType=Application\nName=A\n";
    temp.Write("share/applications/sys.desktop", entry + "Exec=sh\\s%U\n");
    temp.Write("share/applications/hidden.desktop", entry + "Exec=ls %u\nHidden=true\n");
    temp.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=sys.desktop;\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "sh \"%1\"");
    // An entry the user hid is none.
    temp.Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=hidden.desktop\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
}

}  // namespace
}  // namespace pagelark::testing
