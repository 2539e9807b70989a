// The default browser's command line, and the browser really started as the desktop names it.

#include "shell/default_browser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#ifdef PAGELARK_QT_SHELL
#include "app/shell_open.h"
#include "support/temp_desktop.h"
#endif

namespace pagelark::testing {
namespace {

TEST(DefaultBrowserTest, CommandLineFieldsBecomeProgramFolderAndParameters) {
    const struct {
        const char* command;
        const char* program;  // "": nothing is started
        const char* directory;
        const char* options;  // the parameters before the address
    } cases[] = {
        {"\"/opt/web browser/web\" -nohome", "/opt/web browser/web", "/opt/web browser/",
         "-nohome "},
        {"/usr/bin/web \"%1\"", "/usr/bin/web", "/usr/bin/", ""},
        {"web -a -b %1", "web", "", "-b -a "},
        {"web \"--x=a b\" \"%1\"", "web", "", "--x=a b "},
        // Two blanks end the options; fields past the tenth are lost.
        {"web -a  -b", "web", "", "-a "},
        {"web 2 3 4 5 6 7 8 9 10 11", "web", "", "10 9 8 7 6 5 4 3 2 "},
        {"", "", "", ""},
    };
    const std::string address = "http://host/a b?x=1";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const auto command = DefaultBrowserCommand(c.command, address);
        EXPECT_EQ(command.has_value(), *c.program != '\0');
        if (!command) continue;
        EXPECT_EQ(command->program, c.program);
        EXPECT_EQ(command->directory, c.directory);
        // The options and the document joined by single blanks: the shell's parameter text.
        std::string parameters;
        for (const std::string& option : command->options)
            parameters += option + " ";
        EXPECT_EQ(parameters + command->document, c.options + address);
    }
}

#ifdef PAGELARK_QT_SHELL
TEST(DefaultBrowserTest, StartsTheDesktopsBrowserInItsFolderWithTheAddressAsGiven) {
    TempDesktop desktop;  // nothing else in this process asks the desktop
    TempFolder& temp = desktop.temp;
    const std::string script = temp.Write(
        "bin dir/browser",
        "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > ../seen.tmp; mv ../seen.tmp ../seen\n");
    ::chmod(script.c_str(), 0755);
    temp.Write(
        "share/applications/fake.desktop",
        "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script + "\" --new-window %u\n");
    temp.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=fake.desktop\n");

    const std::string address = "https://example.org/a b?q=\"x\"&r=%41";
    QtShell shell;
    ASSERT_TRUE(OpenInDefaultBrowser(shell, address));
    for (int i = 0; i < 300 && !std::filesystem::exists(temp.File("seen")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(TempFolder::Read(temp.File("seen")),
              temp.File("bin dir") + "\n--new-window\n" + address + "\n");
}
#endif

}  // namespace
}  // namespace pagelark::testing
